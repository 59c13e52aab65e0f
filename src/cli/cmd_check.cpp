// check FILTER...: the formulas of each Filter Factory file parsed as the editor parses them;
// every error printed with its channel and column, for linting a folder of sources.

#include <ostream>

#include "cli/command.h"
#include "cli/ff_option_flags.h"
#include "core/common/cp1252.h"
#include "core/common/unicode_text.h"
#include "core/editor/diagnostics.h"
#include "core/ff/load_file.h"

namespace qm::cli {
namespace {

constexpr std::string_view kHelp =
    "Loads each FILTER as dump does (LIB.ffl#N for a library entry) and parses its four\n"
    "formulas. Prints one line per error, \"FILE: CHANNEL:COLUMN: message\", the channel\n"
    "being R, G, B or A and the column counting from 1. Exits with 1 when any formula has an\n"
    "error or any file cannot be loaded, with 0 when every formula parses.\n"
    "\n"
    "  --no-optimize   check the formulas of plugins as stored, not optimised\n";

int runCheck(Context& context) {
  if (context.args.positional.empty()) {
    context.err << "quillmark-cli check: give at least one FILTER\n";
    return kUsage;
  }
  auto options = ffOptionsFromArgs(context);
  if (!options) {
    context.err << "quillmark-cli check: " << options.error() << '\n';
    return kUsage;
  }
  int exitCode = kOk;
  for (const std::string& argument : context.args.positional) {
    if (context.progress.cancelled()) return kCancelled;
    auto rec = ff::loadNamedFilter(argument, *options);
    if (!rec) {
      context.err << rec.error() << '\n';
      exitCode = kSomeFailed;
      continue;
    }
    for (const auto& diagnostic : editor::checkFormulas(rec->formulas)) {
      context.out << displayText(argument) << ": " << cp1252ToUtf8(editor::describe(diagnostic))
                  << '\n';
      exitCode = kSomeFailed;
    }
  }
  return exitCode;
}

}  // namespace

CliCommand makeCheckCommand() {
  return {"check", "check FILTER... [--no-optimize]", kHelp, {}, kFFFlags, runCheck};
}

}  // namespace qm::cli
