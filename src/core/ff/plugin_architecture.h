#pragma once
// Which architectures a conversion to plugins writes: the template of the Preferences, the
// 64-bit runtime, the 32-bit one (the chosen 32-bit template, else 3.0), or both, the 32-bit
// plugin then beside the 64-bit one as NAME.x86.8bf.

#include <filesystem>
#include <vector>

#include "core/common/ports.h"
#include "core/ff/convert.h"

namespace qm::ff {

enum class PluginArchitecture { Stored, X64, X86, Both };

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

// cmd_Convert once per architecture run; inputs that cannot be read are reported once.
ConvertReport convertForArchitectures(const std::vector<std::filesystem::path>& files,
                                      ConvertOptions options, PluginArchitecture arch,
                                      Prompter& prompter, Progress& progress);

}  // namespace qm::ff
