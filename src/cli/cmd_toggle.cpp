// toggle FILE...: Enable/Disable by renaming, by the File View's rules.

#include <filesystem>
#include <ostream>

#include "cli/plugin_types_cli.h"
#include "core/common/unicode_text.h"
#include "core/plugins/enable_disable.h"

namespace qm::cli {
namespace {

constexpr std::string_view kHelp =
    "Enables disabled plugins and disables enabled ones by renaming them (name.8bf <->\n"
    "name._bf, name.prm <-> name_prm, name.aex <-> name_aex, table types name.ext <->\n"
    "name_ext). Prints old -> new per renamed file; an existing target is never overwritten.\n";

int run(Context& context) {
  if (context.args.positional.empty()) {
    context.err << "quillmark-cli toggle: give one or more files\n";
    return kUsage;
  }
  std::vector<std::filesystem::path> files(context.args.positional.begin(),
                                           context.args.positional.end());
  const auto table = typeTableOf(context);
  // The File View passes over what it cannot toggle; a file named on the command line was
  // meant, so it is named back.
  bool passedOver = false;
  for (const auto& file : files) {
    std::error_code ec;
    if (std::filesystem::exists(file, ec) &&
        (std::filesystem::is_directory(file, ec) ||
         !plugins::toggledName(file.filename().native(), table, false))) {
      context.err << escapedField(displayPath(file))
                  << ": not a plugin that can be enabled or disabled\n";
      passedOver = true;
    }
  }
  // One file at a time, so a failed rename leaves only that file as it was (its message
  // names it) and the rest are still done.
  bool failed = false;
  for (const auto& file : files) {
    auto outcome = plugins::cmd_EnableDisable(plugins::PaneView::File, std::span(&file, 1), {},
                                              nullptr, table, context.prompter);
    for (const auto& r : outcome.renamed)
      context.out << escapedField(displayPath(r.from)) << " -> " << escapedField(displayPath(r.to))
                  << '\n';
    failed = failed || outcome.failed;
  }
  return failed || passedOver ? kSomeFailed : kOk;
}

}  // namespace

CliCommand makeToggleCommand() {
  return {"toggle", "toggle FILE...", kHelp, {}, {}, run};
}

}  // namespace qm::cli
