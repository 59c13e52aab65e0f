#include "core/formula/pure_ops.h"

#include "core/formula/ops.h"
#include "core/formula/tables.h"

namespace qm::formula {

bool isPure(Op op) {
  switch (op) {
    case Op::Src:
    case Op::Cnv:
    case Op::Get:
    case Op::Put:
    case Op::Rnd:
    case Op::Rst:
    case Op::Store:
      return false;
    default:
      return true;
  }
}

bool isCommutative(Op op) {
  switch (op) {
    case Op::Add:
    case Op::Mul:
    case Op::BitAnd:
    case Op::BitOr:
    case Op::BitXor:
    case Op::Eq:
    case Op::Ne:
    case Op::Min:
    case Op::Max:
    case Op::LogAnd:
    case Op::LogOr:
      return true;
    default:
      return false;
  }
}

std::int32_t evalPure(Op op, const std::int32_t* a, const Program& p) {
  using namespace ops;
  const std::uint8_t* sliders = p.sliders.data();
  switch (op) {
    case Op::Neg:
      return neg(a[0]);
    case Op::Not:
      return truth(a[0] == 0);
    case Op::BitNot:
      return ~a[0];
    case Op::Abs:
      return abs(a[0]);
    case Op::Sqr:
      return sqr(a[0]);
    case Op::Cos:
      return cosine(a[0]);
    case Op::Sin:
      return sine(a[0]);
    case Op::Tan:
      return tangent(a[0]);
    case Op::Ctl:
      return ctl(sliders, a[0]);
    case Op::Add:
      return add(a[0], a[1]);
    case Op::Sub:
      return sub(a[0], a[1]);
    case Op::Mul:
      return mul(a[0], a[1]);
    case Op::Div:
      return div(a[0], a[1]);
    case Op::Mod:
      return mod(a[0], a[1]);
    case Op::Shl:
      return shl(a[0], a[1]);
    case Op::Shr:
      return shrLogical(a[0], a[1]);
    case Op::ShrA:
      return shrArithmetic(a[0], a[1]);
    case Op::Lt:
      return truth(a[0] < a[1]);
    case Op::Le:
      return truth(a[0] <= a[1]);
    case Op::Eq:
      return truth(a[0] == a[1]);
    case Op::Ne:
      return truth(a[0] != a[1]);
    case Op::BitAnd:
      return a[0] & a[1];
    case Op::BitXor:
      return a[0] ^ a[1];
    case Op::BitOr:
      return a[0] | a[1];
    case Op::LogAnd:
      return truth(a[0] != 0 && a[1] != 0);
    case Op::LogOr:
      return truth(a[0] != 0 || a[1] != 0);
    case Op::Min:
      return min(a[0], a[1]);
    case Op::Max:
      return max(a[0], a[1]);
    case Op::Dif:
      return dif(a[0], a[1]);
    case Op::R2x:
      return radial(a[0], a[1]);
    case Op::R2y:
      return radial(sub(a[0], 256), a[1]);
    case Op::C2d:
      return angle(a[0], a[1]);
    case Op::C2m:
      return magnitude(a[0], a[1]);
    case Op::Map:
      return map(sliders, a[0], a[1]);
    case Op::Select:
      return a[0] != 0 ? a[1] : a[2];
    case Op::AddCap:
      return addCapped(a[0], a[1], a[2]);
    case Op::SubFloor:
      return subFloored(a[0], a[1], a[2]);
    case Op::Val:
      return val(sliders, a[0], a[1], a[2]);
    case Op::Mix:
      return mix(a[0], a[1], a[2], a[3]);
    case Op::Scl:
      return scl(a[0], a[1], a[2], a[3], a[4]);
    default:
      return 0;
  }
}

}  // namespace qm::formula
