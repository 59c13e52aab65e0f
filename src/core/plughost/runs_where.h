#pragma once
// Which part of the program runs a plugin file: the formula engine (Filter Factory filters),
// our plugin host under Wine (other Windows filters), or nothing, with the reason.

#include <filesystem>
#include <optional>
#include <string>

#include "core/plughost/wine_setup.h"

namespace qm::plughost {

enum class Runner { Engine, Wine, No };

struct RunsWhere {
  Runner runner = Runner::No;
  std::string why;
  bool x86 = false;            // a 32-bit plugin
  bool windowsFilter = false;  // a Windows plugin with a filter description (any runner)
};

// "engine", "wine" or "no"
const char* runnerName(Runner runner);

// isFilterFactory: the Filter Factory loader accepts the file. wine: the Wine found here.
RunsWhere runsWhere(const std::filesystem::path& file, bool isFilterFactory,
                    const std::optional<WineTools>& wine);

// "PLUGIN.8bf#2" names filter 2 of PLUGIN.8bf when no file has the whole name; the file and
// the filter number (1 without "#N"). nullopt for a "#" part that is no number from 1.
struct FilterReference {
  std::filesystem::path file;
  int filter = 1;
};
std::optional<FilterReference> splitFilterReference(const std::string& argument);

}  // namespace qm::plughost
