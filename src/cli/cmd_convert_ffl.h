#pragma once
// The library target of convert: --to ffl --output LIB.ffl [--append].

#include "cli/command.h"

namespace qm::cli {

int runConvertToLibrary(Context& context);

}  // namespace qm::cli
