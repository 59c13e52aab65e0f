#include "core/editor/save_filter.h"

#include "core/batch/overwrite_check.h"
#include "core/common/safe_name.h"
#include "core/ff/file_names.h"
#include "core/ff/formula_check.h"
#include "core/ff/plugin_architecture.h"
#include "core/ff/plugin_writer.h"
#include "core/ff/target_writer.h"

namespace qm::editor {
namespace {

int targetOf(SaveFormat format) {
  switch (format) {
    case SaveFormat::PhotoshopPlugin:
      return ff::kTargetPlugin;
    case SaveFormat::Afs:
      return ff::kTargetAfs;
    case SaveFormat::Pff:
      return ff::kTargetPff;
    case SaveFormat::Text:
      return ff::kTargetText;
  }
  return ff::kTargetPlugin;
}

}  // namespace

std::string formulaErrorQuestion(std::string_view firstError) {
  return "The formulas hold errors (the first: " + std::string(firstError) +
         ").\r\nThe saved filter will not run until they are mended. Save it anyway?";
}

std::optional<std::filesystem::path> saveFilter(const SaveRequest& request, Prompter& prompter) {
  auto name = saveFileName(request.record.fileName, request.format);
  if (!name) {
    prompter.warn(kFileNameMissing, "Error");
    return std::nullopt;
  }
  // A plugin with such a formula is refused by its writer; a source may be saved to be
  // finished later, but not without the user knowing.
  if (request.format != SaveFormat::PhotoshopPlugin) {
    const std::string first = ff::firstFormulaError(request.record.formulas);
    if (!first.empty() && prompter.ask(formulaErrorQuestion(first), kSaveTitle,
                                       Buttons::YesNoDefaultNo, Icon::Exclamation) != Button::Yes)
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
  std::optional<std::filesystem::path> first;
  for (const ff::FFOptions& options : runs) {
    const std::filesystem::path target = ff::withPluginNameSuffix(path, options);
    const auto decision = overwriteCheck({}, target);
    if (decision == batch::OverwriteDecision::Cancel) return first;
    if (decision != batch::OverwriteDecision::Write) continue;
    ff::FFRecord rec = request.record;
    rec.fileName = plainFileName(*name);
    auto result = ff::WriteForTarget(target, targetOf(request.format), rec, options);
    if (result.written.empty()) {
      prompter.error(result.error, "Error");
      return first;
    }
    if (!first) first = result.written;
  }
  return first;
}

}  // namespace qm::editor
