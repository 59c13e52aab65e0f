// dump FILE [--json]: a Filter Factory file (or LIB.ffl#N, one library entry) loaded as the
// editor loads it.

#include <filesystem>
#include <ostream>

#include "cli/command.h"
#include "cli/ff_option_flags.h"
#include "cli/record_json.h"
#include "core/ff/convert.h"
#include "core/ff/ffl.h"
#include "core/ff/plugin_file_io.h"

namespace qm::cli {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kHelp =
    "Loads FILE into the Filter Factory record the way the editor loads a selected file:\n"
    "plugins and Premiere plugins in full and optimised, Premiere formulas translated to\n"
    "the Photoshop dialect. LIB.ffl#N loads entry N (1-based, deleted entries counted) of a\n"
    "library as the FFL View does.\n"
    "\n"
    "  --json          print the record as one JSON document\n"
    "  --no-optimize   keep formulas as read (No FF Code Optimization)\n";

struct LibraryEntry {
  fs::path library;
  std::size_t number = 0;
};

bool endsWithFfl(std::string_view name) {
  if (name.size() < 4) return false;
  auto ending = name.substr(name.size() - 4);
  return ending[0] == '.' && (ending[1] | 0x20) == 'f' && (ending[2] | 0x20) == 'f' &&
         (ending[3] | 0x20) == 'l';
}

// "LIB.ffl#N" names an entry unless a file of that very name exists.
std::optional<LibraryEntry> libraryEntry(const std::string& argument) {
  std::error_code ec;
  if (fs::exists(argument, ec)) return std::nullopt;
  auto hash = argument.rfind('#');
  if (hash == std::string::npos || !endsWithFfl(std::string_view(argument).substr(0, hash)))
    return std::nullopt;
  auto digits = std::string_view(argument).substr(hash + 1);
  if (digits.empty() || digits.size() > 9 ||
      digits.find_first_not_of("0123456789") != std::string_view::npos)
    return std::nullopt;
  return LibraryEntry{argument.substr(0, hash), std::stoul(std::string(digits))};
}

std::optional<ff::FFRecord> loadEntry(const LibraryEntry& entry, std::ostream& err) {
  auto bytes = ff::readWholeFile(entry.library);
  if (!bytes) {
    err << entry.library.string() << ": cannot be read\n";
    return std::nullopt;
  }
  ByteView view(*bytes);
  auto index = ff::IndexFFL(view);
  if (!index) {
    err << entry.library.string() << " is not a Filter Factory Library File!\n";
    return std::nullopt;
  }
  auto rec = ff::LoadFFLEntry(view, entry.number);
  if (!rec)
    err << entry.library.string() << ": no entry " << entry.number << " (the library has "
        << index->entries.size() << ")\n";
  return rec;
}

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
  std::optional<ff::FFRecord> rec;
  fs::path ownFile;  // set when the record is a file of its own
  if (auto entry = libraryEntry(argument)) {
    rec = loadEntry(*entry, context.err);
  } else {
    ff::FFRecord loaded;
    if (ff::LoadFile(argument, loaded, *options)) {
      rec = std::move(loaded);
      ownFile = argument;
    } else if (ff::inputKindOf(fs::path(argument).filename().string()) == ff::InputKind::Library)
      context.err << argument << ": a library; dump one entry with " << argument << "#N\n";
    else
      context.err << argument << ": not a Filter Factory file\n";
  }
  if (!rec) return kSomeFailed;
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
  return {"dump", "dump FILE|LIB.ffl#N [--json] [--no-optimize]", kHelp, {}, flags, runDump};
}

}  // namespace qm::cli
