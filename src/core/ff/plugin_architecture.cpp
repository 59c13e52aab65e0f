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

ConvertReport convertForArchitectures(const std::vector<std::filesystem::path>& files,
                                      ConvertOptions options, PluginArchitecture arch,
                                      Prompter& prompter, Progress& progress) {
  if (options.target != kTargetPlugin) return cmd_Convert(files, options, prompter, progress);
  const auto runs = architectureRuns(options.ff, arch);
  ConvertReport report;
  for (std::size_t k = 0; k < runs.size(); ++k) {
    options.ff = runs[k];
    auto part = cmd_Convert(files, options, prompter, progress);
    if (k == 0) {
      report = std::move(part);
    } else {
      report.cancelled = part.cancelled;
      report.add(ConvertTally{
          std::move(part.written), std::move(part.skipped), std::move(part.failed), {}});
    }
    if (report.cancelled || report.noDestination) break;
  }
  return report;
}

}  // namespace qm::ff
