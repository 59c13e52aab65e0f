#pragma once
// The closed instruction list every formula is compiled into. Registers hold 32-bit values;
// the first kInputCount are the pixel inputs, then come the constants, then temporaries.
// Each temporary is written by exactly one instruction per pixel. The scalar interpreter
// runs this list as the reference; the block interpreter runs a rewritten copy of it.

#include <array>
#include <cstdint>
#include <vector>

namespace qm::formula {

enum class Op : std::uint8_t {
  Neg,
  Not,
  BitNot,
  Abs,
  Sqr,
  Cos,
  Sin,
  Tan,
  Ctl,  // one argument
  Add,
  Sub,
  Mul,
  Div,
  Mod,
  Shl,
  Shr,
  ShrA,
  Lt,
  Le,
  Eq,
  Ne,  // two arguments
  BitAnd,
  BitXor,
  BitOr,
  LogAnd,
  LogOr,
  Min,
  Max,
  Dif,
  R2x,
  R2y,
  C2d,
  C2m,
  Map,
  Select,
  AddCap,
  SubFloor,
  Val,
  Src,  // three
  Mix,  // four
  Scl,  // five
  Cnv,  // ten; imm = channel
  Get,
  Put,
  Rnd,
  Rst,    // the run's shared state
  Store,  // dst = output channel
};

int argumentCount(Op op);
// Put, Rnd and Rst change the run's state; Get reads it.
bool touchesState(Op op);

enum Input : int { kInX, kInY, kInR, kInG, kInB, kInA, kInI, kInU, kInV, kInD, kInM, kInputCount };

struct Instruction {
  Op op = Op::Add;
  std::int32_t dst = -1;  // register written (Store: output channel)
  std::int32_t imm = 0;   // Cnv: the channel it reads
  std::array<std::int32_t, 10> arg{};
};

struct Program {
  int width = 0;
  int height = 0;
  int channels = 3;  // Z: 3 or 4
  std::array<std::uint8_t, 8> sliders{};
  bool logicalShift = true;

  std::vector<std::int32_t> constants;  // register kInputCount + k holds constants[k]
  int registerCount = kInputCount;
  std::vector<Instruction> code;
  std::uint32_t inputsUsed = 0;  // bit per Input
  // Cells or the random generator are used, so pixels must run one after another.
  bool usesState = false;

  bool isConstant(int reg) const {
    return reg >= kInputCount && reg < kInputCount + static_cast<int>(constants.size());
  }
  std::int32_t constantOf(int reg) const { return constants[reg - kInputCount]; }
};

}  // namespace qm::formula
