#pragma once
// The fast tier: runs each instruction over a block of up to kBlockSize pixels of one row
// before moving to the next instruction. The lane loops are written so the compiler can
// vectorise them. Only for programs whose pixels are independent (see makeBlockProgram).

#include <cstdint>
#include <vector>

#include "core/formula/block_program.h"
#include "core/formula/image_view.h"
#include "core/formula/program.h"
#include "core/formula/tables.h"

namespace qm::formula {

inline constexpr int kBlockSize = 128;

class BlockInterpreter {
 public:
  BlockInterpreter(const BlockProgram& code, const Program& program, const ImageView& input);
  // Pixels x0 .. x0+count-1 of row y (count <= kBlockSize).
  void runBlock(int x0, int y, int count, const MutableImageView& out);
  void runRow(int y, const MutableImageView& out);

 private:
  std::int32_t* reg(int r) { return regs_.data() + static_cast<std::size_t>(r) * kBlockSize; }
  void loadInputs(int x0, int y, int n);
  void execute(const BlockInstruction& ins, int x0, int y, int n, const MutableImageView& out);

  const BlockProgram& code_;
  const Program& program_;
  ImageView in_;
  const Tables& tables_ = tables();
  std::vector<std::int32_t> regs_;
};

}  // namespace qm::formula
