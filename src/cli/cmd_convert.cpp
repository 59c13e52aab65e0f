// convert --to 8bf|afs|pff|txt FILE...: the batch conversion run.

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/cmd_convert_ffl.h"
#include "cli/command.h"
#include "cli/ff_option_flags.h"
#include "core/common/cp1252.h"
#include "core/common/unicode_text.h"
#include "core/ff/convert.h"
#include "core/ff/plugin_architecture.h"
#include "core/ff/sources.h"

namespace qm::cli {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kHelp =
    "Converts every FILE (libraries whole, one file per entry) into the target format in\n"
    "the destination folder, which is created when missing.\n"
    "\n"
    "  --to 8bf|afs|pff|txt|ffl the target format (required)\n"
    "  --dest DIR               the destination folder (default: the current folder)\n"
    "  --output LIB.ffl         with --to ffl: the library to write, one entry per filter\n"
    "                           (whole libraries given as FILE add all their entries)\n"
    "  --append                 with --to ffl: add the entries to the existing library\n"
    "                           (rewritten in one piece with its new entry count)\n"
    "  --names-from-titles      name the files after the filter titles\n"
    "  --subfolders             a sub folder per library\n"
    "  --overwrite ask|all|none what to do with existing files (default: ask on a\n"
    "                           terminal, else none; ask needs a terminal)\n"
    "  --stdin                  convert the text source read from standard input instead\n"
    "                           of FILEs\n"
    "  --json                   print {\"written\", \"skipped\", \"unreadable\", \"failed\",\n"
    "                           \"warnings\"} as JSON\n"
    "  --no-optimize, --template PATH, --ff-template 3.0|3.04\n"
    "                           Filter Factory options; the template makes .8bf files\n"
    "  --arch x64|x86|both      the plugin's architecture (default: that of the template\n"
    "                           named or chosen in the Preferences, else x64); both\n"
    "                           writes NAME.8bf (x64) and NAME.x86.8bf\n"
    "  --no-dialog              plugins run at once with their slider values\n"
    "  --all-modes              plugins also offer greyscale and CMYK\n"
    "\n"
    "Prints each written file and a summary line, N written, M skipped, K unreadable, F failed.\n"
    "A file that cannot be written (a formula too long for a plugin, a read-only file, a full\n"
    "disk) is reported with its reason and counts as failed (exit 1); a text cut to fit its\n"
    "field is reported as a warning. Ctrl-C stops between files (exit 3).\n";

std::optional<int> targetFor(std::string_view format) {
  if (format == "8bf") return ff::kTargetPlugin;
  if (format == "afs") return ff::kTargetAfs;
  if (format == "pff") return ff::kTargetPff;
  if (format == "txt") return ff::kTargetText;
  return std::nullopt;
}

// The clipboard source has no path; scripts see it as "-".
std::string shown(const fs::path& path) {
  return path.empty() ? "-" : path.string();
}

nlohmann::json pathList(const std::vector<fs::path>& paths) {
  auto list = nlohmann::json::array();
  for (const auto& p : paths) list.push_back(shown(p));
  return list;
}

nlohmann::json unreadablePaths(const std::vector<ff::ConvertProblem>& problems) {
  auto list = nlohmann::json::array();
  for (const auto& p : problems) list.push_back(shown(p.path));
  return list;
}

nlohmann::json problemList(const std::vector<ff::ConvertProblem>& problems,
                           std::string_view textKey) {
  auto list = nlohmann::json::array();
  for (const auto& p : problems) list.push_back({{"path", shown(p.path)}, {textKey, p.text}});
  return list;
}

// The architectures --arch asks for; nullopt for a bad value. Without --arch the template
// chosen by --ff-template or --template, else the one stored in the settings (x64 when none
// is) decides.
std::optional<ff::PluginArchitecture> architecture(const Args& args) {
  const auto arch = args.value("arch");
  if (!arch) return ff::PluginArchitecture::Stored;
  if (*arch == "x64") return ff::PluginArchitecture::X64;
  if (*arch == "x86") return ff::PluginArchitecture::X86;
  if (*arch == "both") return ff::PluginArchitecture::Both;
  return std::nullopt;
}

// Options that mean nothing with the rest of the command line, named.
std::optional<std::string> pointlessFlags(const Args& args, int target) {
  if (target != ff::kTargetPlugin) {
    std::string named;
    for (std::string_view name : {"arch", "no-dialog", "all-modes", "template", "ff-template"})
      if (args.flag(name)) named += (named.empty() ? "--" : ", --") + std::string(name);
    if (!named.empty()) return named + ": only with --to 8bf";
  }
  if (args.value("arch") && args.value("template"))
    return std::string(
        "--arch and --template cannot be used together: a user template has its own "
        "architecture");
  return std::nullopt;
}

void reportProblems(const ff::ConvertReport& report, std::ostream& err) {
  for (const auto& unread : report.unreadable)
    if (!unread.text.empty()) err << ff::problemLines({unread}).front() << '\n';
  for (const auto& line : ff::problemLines(report.failed)) err << line << '\n';
  for (const auto& line : ff::problemLines(report.warnings)) err << line << '\n';
}

int runConvert(Context& context) {
  const Args& args = context.args;
  auto format = args.value("to");
  if (format == "ffl") return runConvertToLibrary(context);
  if (args.value("output") || args.flag("append")) {
    context.err << "quillmark-cli convert: --output and --append go with --to ffl only\n";
    return kUsage;
  }
  auto target = format ? targetFor(*format) : std::nullopt;
  if (!target) {
    context.err << "quillmark-cli convert: --to takes 8bf, afs, pff, txt or ffl\n";
    return kUsage;
  }
  if (auto problem = pointlessFlags(args, *target)) {
    context.err << "quillmark-cli convert: " << *problem << '\n';
    return kUsage;
  }
  const bool fromStdin = args.flag("stdin");
  if (args.positional.empty() != fromStdin) {
    context.err << "quillmark-cli convert: give FILE... or --stdin\n";
    return kUsage;
  }
  auto ffOptions = ffOptionsFromArgs(context);
  if (!ffOptions) {
    context.err << "quillmark-cli convert: " << ffOptions.error() << '\n';
    return kUsage;
  }

  ffOptions->noDialog = args.flag("no-dialog");
  ffOptions->allModes = args.flag("all-modes");
  const auto arch = architecture(args);
  if (!arch) {
    context.err << "quillmark-cli convert: --arch takes x64, x86 or both\n";
    return kUsage;
  }

  ff::ConvertOptions options;
  options.target = *target;
  options.namesFromTitles = args.flag("names-from-titles");
  options.ff = *ffOptions;
  options.ff.architecture = *arch;
  if (fromStdin) {
    // Terminals and pipes carry UTF-8; bytes that are not UTF-8 stay Windows-1252 bytes, so
    // a source file piped in unchanged reads the same.
    // Never more than one byte past the limit is read, so an endless pipe ends too.
    std::string text(ff::kLargestSource + 1, '\0');
    std::cin.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(std::cin.gcount()));
    if (text.size() > ff::kLargestSource) {
      context.err << "stdin: " << ff::kSourceTooLarge << '\n';
      return kSomeFailed;
    }
    options.clipboardText = utf8ToCp1252(text);
  }
  std::vector<fs::path> files(args.positional.begin(), args.positional.end());

  auto report = ff::cmd_Convert(files, options, context.prompter, context.progress);
  reportProblems(report, context.err);
  if (args.flag("json")) {
    nlohmann::json json = {{"written", pathList(report.written)},
                           {"skipped", pathList(report.skipped)},
                           {"unreadable", unreadablePaths(report.unreadable)},
                           {"failed", problemList(report.failed, "reason")},
                           {"warnings", problemList(report.warnings, "message")}};
    // Names that are not valid UTF-8 show U+FFFD; the document stays valid.
    context.out << json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  } else {
    for (const auto& skipped : report.skipped)
      context.err << shown(skipped)
                  << ": not written, its target exists (--overwrite all replaces it)\n";
    for (const auto& written : report.written) context.out << displayPath(written) << '\n';
    context.out << report.written.size() << " written, " << report.skipped.size() << " skipped, "
                << report.unreadable.size() << " unreadable, " << report.failed.size()
                << " failed\n";
  }
  if (report.cancelled || report.noDestination) return kCancelled;
  if (!report.unreadable.empty() || !report.failed.empty()) return kSomeFailed;
  return kOk;
}

}  // namespace

CliCommand makeConvertCommand() {
  std::vector<std::string_view> valued = {"to", "dest", "overwrite", "arch", "output"};
  valued.insert(valued.end(), kFFValuedOptions.begin(), kFFValuedOptions.end());
  std::vector<std::string_view> flags = {"names-from-titles", "subfolders", "stdin", "json",
                                         "no-dialog",         "all-modes",  "append"};
  flags.insert(flags.end(), kFFFlags.begin(), kFFFlags.end());
  return {"convert",
          "convert --to 8bf|afs|pff|txt|ffl [--dest DIR | --output LIB.ffl [--append]] "
          "[--names-from-titles] [--subfolders] [--arch x64|x86|both] [--no-dialog] "
          "[--all-modes] [--overwrite ask|all|none] [--stdin] [--json] FILE...",
          kHelp,
          valued,
          flags,
          runConvert};
}

}  // namespace qm::cli
