#pragma once
// STUB, to be replaced at merge by the Preferences' folder-list upkeep (Auto Add, Limit to,
// Auto Top). The main window calls it on every folder change of a pane; until the real one
// is in, the folder list does not change.

#include <string>

#include "core/settings/options.h"

namespace qm::outside {

inline void noteFolderVisited(settings::Options&, const std::string&) {}

}  // namespace qm::outside
