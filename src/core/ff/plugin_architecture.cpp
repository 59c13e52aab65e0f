#include "core/ff/plugin_architecture.h"

namespace qm::ff {

std::vector<FFOptions> architectureRuns(const FFOptions& stored, PluginArchitecture arch) {
  FFOptions x64 = stored;
  x64.usedFF = FFTemplate::FF64;
  FFOptions x86 = stored;
  if (x86.usedFF == FFTemplate::FF64) x86.usedFF = FFTemplate::FF30;
  switch (arch) {
    case PluginArchitecture::Stored:
      return {stored};
    case PluginArchitecture::X64:
      return {x64};
    case PluginArchitecture::X86:
      return {x86};
    case PluginArchitecture::Both:
      break;
  }
  x86.pluginNameSuffix = ".x86";
  return {x64, x86};
}

}  // namespace qm::ff
