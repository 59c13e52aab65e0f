#pragma once
// The architectures a plugin is written for, as the windows offer them, and the writer
// options of each.

#include <vector>

#include "core/ff/options.h"

namespace qm::ff {

// The choices the windows offer, in this order.
struct ArchitectureChoice {
  const char* caption;
  PluginArchitecture value;
};
inline constexpr ArchitectureChoice kArchitectureChoices[] = {
    {"As in the Preferences", PluginArchitecture::Stored},
    {"64-bit (x64)", PluginArchitecture::X64},
    {"32-bit (x86)", PluginArchitecture::X86},
    {"Both (NAME.8bf and NAME.x86.8bf)", PluginArchitecture::Both},
};

// One FFOptions per plugin to write for each input, in writing order.
std::vector<FFOptions> architectureRuns(const FFOptions& stored, PluginArchitecture arch);

}  // namespace qm::ff
