#pragma once
// apply with a Windows plugin that is not a Filter Factory filter: the plugin runs in our
// plugin host under Wine, with its default parameters (--dialog: its own dialog first).

#include <optional>
#include <string>

#include "cli/command.h"
#include "core/apply/picture_apply.h"

namespace qm::cli {

enum class ForeignChoice { NotForeign, Ready, Refused };

// When FILTER (PLUGIN.8bf or PLUGIN.8bf#N) names a Windows filter plugin, sets setup.foreign
// to run it and says Ready, or prints why it cannot run here and says Refused. NotForeign
// leaves the filter to the Filter Factory loader.
ForeignChoice prepareForeignApply(Context& context, apply::ApplySetup& setup);

}  // namespace qm::cli
