#include "core/ff/convert_output.h"

#include <algorithm>
#include <iterator>

#include "core/common/unicode_text.h"
#include "core/ff/file_names.h"
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
  const std::filesystem::path output = request.target == kTargetPlugin
                                           ? withPluginNameSuffix(request.output, options)
                                           : request.output;
  // A name written earlier in the run is on the disk by now, so it counts as existing and
  // the overwrite mode decides about it too.
  switch (overwrite(request.source, output)) {
    case batch::OverwriteDecision::Cancel:
      return false;
    case batch::OverwriteDecision::Skip:
      tally.skipped.push_back(request.input);
      return true;
    case batch::OverwriteDecision::Write:
      break;
  }
  auto write = WriteForTarget(output, request.target, rec, options);
  for (auto& warning : write.warnings) tally.warnings.push_back({request.input, warning});
  if (!write.error.empty()) {
    tally.failed.push_back({request.input, write.error});
  } else if (std::find(tally.written.begin(), tally.written.end(), write.written) ==
             tally.written.end()) {
    tally.written.push_back(write.written);
  }
  return true;
}

}  // namespace qm::ff
