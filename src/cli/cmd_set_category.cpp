// set-category CATEGORY FILE...: Change Category on Filter Factory plugins and sources.

#include <filesystem>
#include <ostream>

#include "cli/ff_option_flags.h"
#include "cli/plugin_types_cli.h"
#include "core/common/cp1252.h"
#include "core/plugins/change_category.h"
#include "core/plugins/scan_file.h"

namespace qm::cli {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kHelp =
    "Moves the FILEs into menu category CATEGORY by rewriting the category stored in them.\n"
    "Works on Filter Factory plugins made from the known templates (at most 34 letters)\n"
    "and on .afs, .pff and .txt sources, whose other bytes stay as they are; other files\n"
    "are refused and left unchanged. Each file that could not be changed is named with the\n"
    "reason (exit 1).\n";

int run(Context& context) {
  if (context.args.positional.size() < 2) {
    context.err << "quillmark-cli set-category: give a category and one or more files\n";
    return kUsage;
  }
  auto ffOptions = ffOptionsFromArgs(context);
  if (!ffOptions) {
    context.err << "quillmark-cli set-category: " << ffOptions.error() << '\n';
    return kUsage;
  }
  // Refused before the conversion, which would turn such characters into '?'.
  if (auto refusal = plugins::unstorableCategoryText(context.args.positional[0])) {
    context.prompter.warn(*refusal, plugins::kChangeCategoryTitle);
    return kSomeFailed;
  }
  const std::string category = utf8ToCp1252(context.args.positional[0]);
  auto table = typeTableOf(context);
  // The rows the Plugin View would show for these files, as if all were selected.
  plugins::Catalogue catalogue;
  plugins::ChangeCategoryRequest request;
  request.dropTarget = category;
  plugins::ScanOptions options;
  options.includeSources = true;
  for (std::size_t i = 1; i < context.args.positional.size(); ++i) {
    fs::path file = context.args.positional[i];
    auto rows = plugins::scanFile(file, options, table, *ffOptions);
    if (rows.empty()) rows.push_back({file, "", "", 0, 0, std::nullopt});
    // A file with several filters is one file: its first row stands for it.
    catalogue.appendRow(rows.front());
    request.selectedRows.push_back(catalogue.rowCount());
  }
  auto outcome = plugins::cmd_ChangeCategory(request, catalogue, context.prompter, *ffOptions);
  for (std::size_t r : outcome.changedRows) context.out << catalogue.row(r).path.string() << '\n';
  if (outcome.newCategory.empty() || outcome.failures > 0) return kSomeFailed;
  return kOk;
}

}  // namespace

CliCommand makeSetCategoryCommand() {
  return {"set-category", "set-category CATEGORY FILE...", kHelp, kFFValuedOptions, kFFFlags, run};
}

}  // namespace qm::cli
