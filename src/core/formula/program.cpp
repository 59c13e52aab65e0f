#include "core/formula/program.h"

namespace qm::formula {

int argumentCount(Op op) {
  switch (op) {
    case Op::Neg:
    case Op::Not:
    case Op::BitNot:
    case Op::Abs:
    case Op::Sqr:
    case Op::Cos:
    case Op::Sin:
    case Op::Tan:
    case Op::Ctl:
    case Op::Get:
    case Op::Rst:
    case Op::Store:
      return 1;
    case Op::Select:
    case Op::AddCap:
    case Op::SubFloor:
    case Op::Val:
    case Op::Src:
      return 3;
    case Op::Mix:
      return 4;
    case Op::Scl:
      return 5;
    case Op::Cnv:
      return 10;
    default:
      return 2;
  }
}

bool touchesState(Op op) {
  return op == Op::Get || op == Op::Put || op == Op::Rnd || op == Op::Rst;
}

}  // namespace qm::formula
