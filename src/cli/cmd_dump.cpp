// dump FILE [--json]: a Filter Factory file (or LIB.ffl#N, one library entry) loaded as the
// editor loads it.

#include <ostream>

#include "cli/command.h"
#include "cli/ff_option_flags.h"
#include "cli/record_json.h"
#include "core/ff/load_file.h"

namespace qm::cli {
namespace {

constexpr std::string_view kHelp =
    "Loads FILE into the Filter Factory record the way the editor loads a selected file:\n"
    "plugins and Premiere plugins in full and optimised, Premiere formulas translated to\n"
    "the Photoshop dialect. LIB.ffl#N loads entry N (1-based, deleted entries counted) of a\n"
    "library as the FFL View does.\n"
    "\n"
    "  --json          print the record as one JSON document\n"
    "  --no-optimize   keep formulas as read (No FF Code Optimization)\n";

int runDump(Context& context) {
  if (context.args.positional.size() != 1) {
    context.err << "quillmark-cli dump: give exactly one FILE\n";
    return kUsage;
  }
  auto options = ffOptionsFromArgs(context);
  if (!options) {
    context.err << "quillmark-cli dump: " << options.error() << '\n';
    return kUsage;
  }
  const std::string& argument = context.args.positional[0];
  auto rec = ff::loadNamedFilter(argument, *options);
  if (!rec) {
    context.err << rec.error() << '\n';
    return kSomeFailed;
  }
  // A library entry has no file of its own to name the record after.
  const std::filesystem::path ownFile =
      ff::libraryEntryName(argument) ? std::filesystem::path() : std::filesystem::path(argument);
  if (context.args.flag("json"))
    context.out << recordToJson(*rec, ownFile).dump(2) << '\n';
  else
    printRecord(*rec, context.out, ownFile);
  return kOk;
}

}  // namespace

CliCommand makeDumpCommand() {
  std::vector<std::string_view> flags = {"json"};
  flags.insert(flags.end(), kFFFlags.begin(), kFFFlags.end());
  return {"dump", "dump FILE|LIB.ffl#N [--json] [--no-optimize]", kHelp, {}, flags, runDump, 1};
}

}  // namespace qm::cli
