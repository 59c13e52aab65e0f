#pragma once
// The formula engine's results are the engine-wide value-or-error type.

#include "core/common/outcome.h"

namespace qm::formula {

using qm::Failure;
using qm::Outcome;

}  // namespace qm::formula
