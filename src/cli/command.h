#pragma once
// What every quillmark-cli command receives, and the exit codes scripts rely on.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/ports.h"

namespace qm::cli {

enum ExitCode : int { kOk = 0, kSomeFailed = 1, kUsage = 2, kCancelled = 3 };

// Parsed command line of one command: positional arguments and --options.
class Args {
 public:
  std::vector<std::string> positional;
  bool flag(std::string_view name) const { return flags_.contains(std::string(name)); }
  // Last value of a valued option, if given.
  std::optional<std::string> value(std::string_view name) const;
  // Every value of a repeatable option, in order.
  std::vector<std::string> values(std::string_view name) const;

  void addFlag(std::string name) { flags_[std::move(name)] = {}; }
  void addValue(std::string name, std::string v) {
    flags_[std::move(name)].push_back(std::move(v));
  }

 private:
  std::map<std::string, std::vector<std::string>, std::less<>> flags_;
};

struct Context {
  Args args;
  std::filesystem::path programDir;  // templates, PlugTypes.ini, ...
  Prompter& prompter;
  Progress& progress;
  std::ostream& out;
  std::ostream& err;
};

struct CliCommand {
  std::string_view name;
  std::string_view synopsis;                    // first line of --help
  std::string_view help;                        // the rest of --help
  std::vector<std::string_view> valuedOptions;  // options that take a value
  std::vector<std::string_view> flags;          // options without value
  std::function<int(Context&)> run;
  // More positional arguments than this are a usage error.
  std::size_t maxArguments = SIZE_MAX;
  // Valued options that may be given more than once; any other given twice is a usage error.
  std::vector<std::string_view> repeatable = {};
};

}  // namespace qm::cli
