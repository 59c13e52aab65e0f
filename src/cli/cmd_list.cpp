// list FILE...: the plugin list, one sorted line per filter.

#include <filesystem>
#include <ostream>

#include "cli/ff_option_flags.h"
#include "cli/plugin_types_cli.h"
#include "core/batch/overwrite_check.h"
#include "core/common/cp1252.h"
#include "core/common/same_file.h"
#include "core/common/unreadable_reason.h"
#include "core/ff/load_file.h"
#include "core/ff/plugin_file_io.h"
#include "core/plugins/plugin_list.h"

namespace qm::cli {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kHelp =
    "The plugin list of the FILEs: one line per filter, sorted case-insensitively.\n"
    "\n"
    "  --csv              title;category;author;;freeware; lines\n"
    "  --fields LIST      parts of a text line, any of category,title,filename,author,\n"
    "                     copyright (default: category,title)\n"
    "  --output FILE      write the list into FILE (UTF-8, CR LF) instead of stdout\n"
    "  --overwrite ask|all|none\n"
    "                     what to do when FILE exists (default: ask on a terminal, else none)\n"
    "\n"
    "LIB.ffl#N lists entry N (1-based) of a library.\n";

std::optional<plugins::ListFields> fieldsOf(std::string_view list) {
  plugins::ListFields fields{false, false, false, false, false};
  while (!list.empty()) {
    auto comma = list.find(',');
    auto word = list.substr(0, comma);
    list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
    if (word == "category") {
      fields.category = true;
    } else if (word == "title") {
      fields.title = true;
    } else if (word == "filename") {
      fields.fileName = true;
    } else if (word == "author") {
      fields.author = true;
    } else if (word == "copyright") {
      fields.copyright = true;
    } else {
      return std::nullopt;
    }
  }
  return fields;
}

bool isSource(const std::string& argument) {
  switch (ff::inputKindOf(fs::path(argument).filename().string())) {
    case ff::InputKind::Text:
    case ff::InputKind::Afs:
    case ff::InputKind::Pff:
    case ff::InputKind::Ffx:
      return true;
    default:
      return false;
  }
}

int run(Context& context) {
  if (context.args.positional.empty()) {
    context.err << "quillmark-cli list: give one or more files\n";
    return kUsage;
  }
  auto ffOptions = ffOptionsFromArgs(context);
  if (!ffOptions) {
    context.err << "quillmark-cli list: " << ffOptions.error() << '\n';
    return kUsage;
  }
  plugins::ListFields fields;
  if (auto given = context.args.value("fields")) {
    auto parsed = fieldsOf(*given);
    if (!parsed) {
      context.err
          << "quillmark-cli list: --fields takes category,title,filename,author,copyright\n";
      return kUsage;
    }
    fields = *parsed;
  }
  int status = kOk;
  std::vector<plugins::ListItem> items;
  for (const auto& argument : context.args.positional) {
    if (context.progress.cancelled()) return kCancelled;
    // Library entries and sources are what the Filter Factory loader reads; it says why not.
    if (ff::libraryEntryName(argument) || isSource(argument)) {
      auto entry = ff::loadNamedFilter(argument, *ffOptions);
      if (entry) {
        items.push_back(isSource(argument) ? plugins::listItemOf(*entry, argument)
                                           : plugins::listItemOf(*entry));
      } else {
        context.err << entry.error() << '\n';
        status = kSomeFailed;
      }
      continue;
    }
    if (auto problem = unreadableReason(argument)) {
      context.err << argument << ": " << *problem << '\n';
      status = kSomeFailed;
      continue;
    }
    for (auto& item : plugins::listItemsOf(argument, *ffOptions)) items.push_back(std::move(item));
  }
  auto lines = plugins::pluginListLines(items, fields, context.args.flag("csv"));
  // A name holding a line break or a control character stays on its line, escaped as scan does.
  for (auto& line : lines) {
    const bool crlf = line.ends_with("\r\n");
    line = escapedField(std::string_view(line).substr(0, line.size() - (crlf ? 2 : 0))) +
           (crlf ? "\r\n" : "");
  }
  if (auto output = context.args.value("output")) {
    // Like the desktop program: a list file is written only when there is a line.
    if (lines.empty()) return status;
    std::vector<fs::path> inputs;
    for (const auto& argument : context.args.positional) {
      auto entry = ff::libraryEntryName(argument);
      inputs.push_back(entry ? entry->library : fs::path(argument));
    }
    if (replacesOwnInput(*output, inputs)) {
      context.err << ownInputMessage(*output) << '\n';
      return kSomeFailed;
    }
    batch::OverwriteCheck overwrite(context.prompter);
    switch (overwrite({}, *output)) {
      case batch::OverwriteDecision::Write:
        break;
      case batch::OverwriteDecision::Skip:
        context.err << *output << ": exists, not replaced (--overwrite all replaces it)\n";
        return status;
      case batch::OverwriteDecision::Cancel:
        return kCancelled;
    }
    std::vector<std::uint8_t> bytes;
    for (const auto& l : lines) bytes.insert(bytes.end(), l.begin(), l.end());
    if (auto problem = ff::replaceFile(*output, bytes); !problem.empty()) {
      context.err << *output << ": " << problem << '\n';
      return kSomeFailed;
    }
    return status;
  }
  for (const auto& l : lines) context.out << terminalLines(l);
  return status;
}

}  // namespace

CliCommand makeListCommand() {
  std::vector<std::string_view> valued = {"fields", "output", "overwrite"};
  valued.insert(valued.end(), kFFValuedOptions.begin(), kFFValuedOptions.end());
  std::vector<std::string_view> flags = {"csv"};
  flags.insert(flags.end(), kFFFlags.begin(), kFFFlags.end());
  return {"list",
          "list FILE... [--csv] [--fields category,title,filename,author,copyright] "
          "[--output FILE] [--overwrite ask|all|none]",
          kHelp,
          valued,
          flags,
          run};
}

}  // namespace qm::cli
