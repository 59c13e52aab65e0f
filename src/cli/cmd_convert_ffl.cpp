// convert --to ffl --output LIB.ffl [--append] FILE...: one library of every FILE's filters.

#include "cli/cmd_convert_ffl.h"

#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/ff_option_flags.h"
#include "core/batch/overwrite_check.h"
#include "core/common/unicode_text.h"
#include "core/ff/ffl_create.h"

namespace qm::cli {
namespace {

nlohmann::json problems(const std::vector<ff::ConvertProblem>& list, std::string_view key) {
  auto out = nlohmann::json::array();
  for (const auto& p : list) out.push_back({{"path", p.path.string()}, {key, p.text}});
  return out;
}

nlohmann::json paths(const std::vector<std::filesystem::path>& list) {
  auto out = nlohmann::json::array();
  for (const auto& p : list) out.push_back(p.string());
  return out;
}

}  // namespace

int runConvertToLibrary(Context& context) {
  const Args& args = context.args;
  // What only plugins or a folder of outputs mean has no sense for one library.
  for (std::string_view pointless : {"dest", "arch"})
    if (args.value(pointless)) {
      context.err << "quillmark-cli convert: --" << pointless << " does not go with --to ffl\n";
      return kUsage;
    }
  for (std::string_view pointless : {"subfolders", "no-dialog", "all-modes", "stdin"})
    if (args.flag(pointless)) {
      context.err << "quillmark-cli convert: --" << pointless << " does not go with --to ffl\n";
      return kUsage;
    }
  const auto output = args.value("output");
  if (!output || output->empty()) {
    context.err << "quillmark-cli convert: --to ffl needs --output LIB.ffl\n";
    return kUsage;
  }
  if (args.positional.empty()) {
    context.err << "quillmark-cli convert: give FILE...\n";
    return kUsage;
  }
  auto ffOptions = ffOptionsFromArgs(context);
  if (!ffOptions) {
    context.err << "quillmark-cli convert: " << ffOptions.error() << '\n';
    return kUsage;
  }

  ff::LibraryRequest request;
  request.inputs = args.positional;
  request.library = *output;
  request.append = args.flag("append");
  request.ff = *ffOptions;
  batch::OverwriteCheck overwrite(context.prompter);
  auto report = ff::writeFilterLibrary(request, overwrite, context.progress);

  for (const auto& unread : report.unreadable)
    context.err << ff::problemLines({unread}).front() << '\n';
  for (const auto& line : ff::problemLines(report.failed)) context.err << line << '\n';
  for (const auto& line : ff::problemLines(report.warnings)) context.err << line << '\n';
  if (args.flag("json")) {
    nlohmann::json json = {{"written", paths(report.written)},
                           {"skipped", paths(report.skipped)},
                           {"unreadable", problems(report.unreadable, "reason")},
                           {"failed", problems(report.failed, "reason")},
                           {"warnings", problems(report.warnings, "message")},
                           {"entries", report.entries}};
    context.out << json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  } else {
    for (const auto& written : report.written)
      context.out << displayPath(written) << " (" << report.entries << " entries)\n";
    context.out << report.written.size() << " written, " << report.skipped.size() << " skipped, "
                << report.unreadable.size() << " unreadable, " << report.failed.size()
                << " failed\n";
  }
  if (report.cancelled) return kCancelled;
  if (!report.unreadable.empty() || !report.failed.empty()) return kSomeFailed;
  return kOk;
}

}  // namespace qm::cli
