#pragma once
// One step of an instruction that needs neither the image nor the run's state. The constant
// folder and the reference interpreter share it; the optimisers share the operators' algebra.

#include <cstdint>

#include "core/formula/program.h"

namespace qm::formula {

// False when op is not pure (image access, cells, random numbers, Store).
bool isPure(Op op);
std::int32_t evalPure(Op op, const std::int32_t* args, const Program& program);
// True when a op b == b op a, so an optimiser may put a constant operand second.
bool isCommutative(Op op);

}  // namespace qm::formula
