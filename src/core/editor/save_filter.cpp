#include "core/editor/save_filter.h"

#include "core/batch/overwrite_check.h"
#include "core/common/safe_name.h"
#include "core/ff/plugin_architecture.h"
#include "core/ff/plugin_writer.h"
#include "core/ff/sources.h"

namespace qm::editor {
namespace {

ff::WriteResult write(const std::filesystem::path& path, SaveFormat format, ff::FFRecord& rec,
                      const ff::FFOptions& options) {
  switch (format) {
    case SaveFormat::PhotoshopPlugin:
      return ff::Write8bfTo(path, rec, options);
    case SaveFormat::Afs:
      return ff::WriteafspffTo(path, 0, rec);
    case SaveFormat::Pff:
      return ff::WriteafspffTo(path, 1, rec);
    case SaveFormat::Text:
      return ff::WriteTXTTo(path, rec);
  }
  return {};
}

}  // namespace

std::optional<std::filesystem::path> saveFilter(const SaveRequest& request, Prompter& prompter) {
  auto name = saveFileName(request.record.fileName, request.format);
  if (!name) {
    prompter.warn(kFileNameMissing, "Error");
    return std::nullopt;
  }
  std::filesystem::path folder = request.passiveFolder;
  if (!request.usePassiveFolder) {
    auto choice = prompter.chooseFolder({});
    if (!choice) return std::nullopt;
    folder = choice->folder;
  }
  if (folder.empty()) return std::nullopt;
  const std::filesystem::path path = pathInFolder(folder, *name);
  // A plugin may be written once per architecture, the 32-bit one as NAME.x86.8bf beside it.
  std::vector<ff::FFOptions> runs{request.options};
  if (request.format == SaveFormat::PhotoshopPlugin)
    runs = ff::architectureRuns(request.options, request.architecture);
  batch::OverwriteCheck overwriteCheck(prompter);
  overwriteCheck.reset();
  std::optional<std::filesystem::path> first;
  for (const ff::FFOptions& options : runs) {
    std::filesystem::path target = path;
    if (!options.pluginNameSuffix.empty())
      target.replace_filename(path.stem().string() + options.pluginNameSuffix +
                              path.extension().string());
    if (overwriteCheck({}, target) != batch::OverwriteDecision::Write) continue;
    ff::FFRecord rec = request.record;
    rec.fileName = plainFileName(*name);
    auto result = write(target, request.format, rec, options);
    if (result.written.empty()) {
      prompter.error(result.error, "Error");
      return first;
    }
    if (!first) first = result.written;
  }
  return first;
}

}  // namespace qm::editor
