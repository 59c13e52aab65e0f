#pragma once
// Instruction sequences for the formula language's operations on eight 32-bit lanes (AVX2),
// bit-identical with the reference interpreter, and the pool of constants they read from the
// frame. ymm12..15 are their scratch registers; each routine says which it uses and which
// operands may share a register with its result.

#include <xbyak/xbyak.h>

#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "core/formula/compiled_kernel.h"
#include "core/formula/compiled_lowering.h"
#include "core/formula/tables.h"

namespace qm::formula::compiled {

using Pattern = std::array<std::int32_t, kLanes>;
inline constexpr int kSlotBytes = kLanes * 4;
inline constexpr int kRowStrideSlot = 0;  // the picture's row stride, in every lane

struct PictureShape {
  int width = 0;
  int height = 0;
  int channels = 3;
};

// The frame, addressed through r15, holds 32-byte slots; the constants take the slots from
// poolSlot on. The kernel keeps its arguments in rbp and the lane-0 x in ebx.
class VectorOps : public Xbyak::CodeGenerator {
 public:
  VectorOps(const PictureShape& shape, int poolSlot);
  const std::vector<Pattern>& pool() const { return pool_; }
  int poolSlot() const { return poolSlot_; }

 protected:
  using Address = Xbyak::Address;
  using Ymm = Xbyak::Ymm;

  Address slot(int s) { return ptr[r15 + s * kSlotBytes]; }
  int poolIndex(const Pattern& p);
  Address pattern(const Pattern& p) { return slot(poolIndex(p)); }
  Address k32(std::int32_t k);
  Address k64(std::int64_t k);
  Address kDouble(double d);

  void divide(const Ymm& d, const Ymm& a, const Ymm& b, bool modulo, bool exactInFloat = false);
  void divideByConstant(const Ymm& d, const Ymm& a, std::int32_t k, bool modulo,
                        const Value& bounds = {});
  void squareRoot(const Ymm& d, const Ymm& a);
  void gather(const Ymm& d, const Ymm& index, const std::int32_t* table);
  void cosine(const Ymm& d, const Ymm& a);
  void tangent(const Ymm& d, const Ymm& a);
  void radial(const Ymm& d, const Ymm& dir, const Ymm& mag);
  void angle(const Ymm& d, const Ymm& px, const Ymm& py, bool exactInFloat);
  void magnitude(const Ymm& d, const Ymm& a, const Ymm& b, bool exactInFloat);
  void pixelOffset(const Ymm& x, const Ymm& y, int dx, int dy);
  void gatherPixels(const Ymm& d);
  void channelOf(const Ymm& d, int z);
  void weighTap(const Ymm& d, const Ymm& tap, std::int32_t w);
  void rowAddress(int dy);

  PictureShape shape_;

 private:
  void smallQuotient(const Ymm& d, const Ymm& a, std::int32_t k, bool modulo);
  void quotientResult(const Ymm& d, const Ymm& a, const Ymm& q, const Ymm& scratch, std::int32_t k,
                      bool modulo);
  const Tables& tables_ = tables();
  std::vector<Pattern> pool_;
  std::map<Pattern, int> poolIndex_;
  int poolSlot_ = 0;
};

}  // namespace qm::formula::compiled
