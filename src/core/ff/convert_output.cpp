#include "core/ff/convert_output.h"

#include <algorithm>
#include <iterator>

#include "core/common/same_file.h"
#include "core/common/unicode_text.h"
#include "core/ff/file_names.h"
#include "core/ff/plugin_architecture.h"
#include "core/ff/plugin_writer.h"
#include "core/ff/target_writer.h"

namespace qm::ff {

std::vector<std::string> problemLines(const std::vector<ConvertProblem>& problems) {
  std::vector<std::string> lines;
  for (const auto& p : problems)
    lines.push_back((p.path.empty() ? std::string("-") : displayPath(p.path)) + ": " + p.text);
  return lines;
}

void ConvertTally::add(ConvertTally&& other) {
  for (auto& path : other.written)
    if (std::find(written.begin(), written.end(), path) == written.end())
      written.push_back(std::move(path));
  auto append = [](auto& to, auto& from) {
    to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
  };
  append(skipped, other.skipped);
  append(failed, other.failed);
  append(warnings, other.warnings);
}

bool convertOutput(const OutputRequest& request, FFRecord& rec, const FFOptions& options,
                   batch::OverwriteCheck& overwrite, ConvertTally& tally) {
  if (request.target == kTargetPremiereFF || request.target == kTargetPremiereTF) {
    tally.skipped.push_back(request.input);  // no Premiere plugin is ever written
    return true;
  }
  // A plugin is written once per architecture; each writer gets the record as it was read.
  const std::vector<FFOptions> runs = request.target == kTargetPlugin
                                          ? architectureRuns(options, options.architecture)
                                          : std::vector<FFOptions>{options};
  const FFRecord read = runs.size() > 1 ? rec : FFRecord{};
  for (std::size_t k = 0; k < runs.size(); ++k) {
    if (k > 0) rec = read;
    const std::filesystem::path output = request.target == kTargetPlugin
                                             ? withPluginNameSuffix(request.output, runs[k])
                                             : request.output;
    if (replacesOwnInput(output, request.ownInputs) || isSameFile(output, request.source)) {
      tally.failed.push_back({output, std::string(kOwnInputReason)});
      continue;
    }
    // A name written earlier in the run is on the disk by now, so it counts as existing and
    // the overwrite mode decides about it too.
    switch (overwrite(request.source, output)) {
      case batch::OverwriteDecision::Cancel:
        return false;
      case batch::OverwriteDecision::Skip:
        tally.skipped.push_back(request.input);
        continue;
      case batch::OverwriteDecision::Write:
        break;
    }
    auto write = WriteForTarget(output, request.target, rec, runs[k]);
    for (auto& warning : write.warnings) tally.warnings.push_back({request.input, warning});
    if (!write.error.empty()) {
      tally.failed.push_back({request.input, write.error});
    } else if (std::find(tally.written.begin(), tally.written.end(), write.written) ==
               tally.written.end()) {
      tally.written.push_back(write.written);
    }
  }
  return true;
}

}  // namespace qm::ff
