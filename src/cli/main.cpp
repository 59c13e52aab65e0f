// quillmark-cli: the engine from a terminal.

#include <unistd.h>

#include <QString>
#include <QtGlobal>
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "cli/commands.h"
#include "cli/output_streams.h"
#include "cli/terminal_prompter.h"
#include "core/formula/engine.h"
#include "platform/program_dir.h"

namespace qm::cli {
namespace {

constexpr std::string_view kGlobalHelp =
    "Usage: quillmark-cli COMMAND [OPTIONS] ARGS...\n"
    "\n"
    "Global options:\n"
    "  --program-dir DIR   the program folder (templates, PlugTypes.ini, ...);\n"
    "                      also QUILLMARK_PROGRAM_DIR\n"
    "  --help              this text, or a command's help after the command\n"
    "  --version           the program version\n"
    "\n"
    "Commands:\n";

// Options every command accepts; any other option must be one of the command's own.
const std::vector<std::string_view> kCommonValued = {"program-dir"};
const std::vector<std::string_view> kCommonFlags = {"help"};

bool contains(const std::vector<std::string_view>& list, std::string_view name) {
  return std::find(list.begin(), list.end(), name) != list.end();
}

void printCommandHelp(const CliCommand& command, std::ostream& out) {
  out << "Usage: quillmark-cli " << command.synopsis << "\n\n" << command.help;
}

bool isOptionOfAnyCommand(const std::vector<CliCommand>& commands, std::string_view name) {
  return std::any_of(commands.begin(), commands.end(), [&](const CliCommand& c) {
    return contains(c.valuedOptions, name) || contains(c.flags, name);
  });
}

// Fills args from argv[first..]; returns an error text on a usage error.
std::optional<std::string> parseArgs(const std::vector<CliCommand>& commands,
                                     const CliCommand& command, int argc, char** argv, int first,
                                     Args& args) {
  bool optionsEnded = false;
  for (int i = first; i < argc; ++i) {
    std::string word = argv[i];
    if (!optionsEnded && word == "--") {
      optionsEnded = true;
      continue;
    }
    if (!optionsEnded && word == "-h") word = "--help";
    // "-" alone stays an argument (standard input by custom); "-x" is no option of ours.
    if (!optionsEnded && word.size() > 1 && word[0] == '-' && word.rfind("--", 0) != 0)
      return "unknown option " + word;
    if (optionsEnded || word.rfind("--", 0) != 0) {
      args.positional.push_back(word);
      if (args.positional.size() > command.maxArguments)
        return "unexpected argument '" + word + "'";
      continue;
    }
    std::string name = word.substr(2);
    std::optional<std::string> inlineValue;
    if (auto eq = name.find('='); eq != std::string::npos) {
      inlineValue = name.substr(eq + 1);
      name.resize(eq);
    }
    if (contains(command.valuedOptions, name) || contains(kCommonValued, name)) {
      if (args.value(name) && !contains(command.repeatable, name) && !contains(kCommonValued, name))
        return "--" + name + " is given more than once";
      if (inlineValue) {
        args.addValue(name, *inlineValue);
      } else if (i + 1 < argc) {
        args.addValue(name, argv[++i]);
      } else {
        return "option --" + name + " needs a value";
      }
    } else if (contains(command.flags, name) || contains(kCommonFlags, name)) {
      if (inlineValue) return "option --" + name + " takes no value";
      args.addFlag(name);
    } else if (isOptionOfAnyCommand(commands, name)) {
      return "--" + name + " is not an option of " + std::string(command.name);
    } else {
      return "unknown option --" + name;
    }
  }
  return std::nullopt;
}

// Without --overwrite a person at the terminal is asked; a script gets "none".
std::optional<OverwritePolicy> overwritePolicy(const Args& args, bool interactive) {
  auto v = args.value("overwrite").value_or(interactive ? "ask" : "none");
  if (v == "ask") return OverwritePolicy::Ask;
  if (v == "all") return OverwritePolicy::All;
  if (v == "none") return OverwritePolicy::None;
  return std::nullopt;
}

int runCommand(int argc, char** argv) {
  const auto commands = allCommands();
  auto listCommands = [&](std::ostream& out) {
    out << kGlobalHelp;
    for (const auto& c : commands) out << "  " << c.synopsis << '\n';
  };

  // Global options may stand before the command.
  int i = 1;
  std::optional<std::string> programDirOption;
  for (; i < argc; ++i) {
    std::string_view word = argv[i];
    if (word == "--version") {
      std::cout << "quillmark-cli " << QM_VERSION << '\n';
      return kOk;
    }
    if (word == "--help" || word == "-h") {
      listCommands(std::cout);
      return kOk;
    }
    if (word == "--program-dir" && i + 1 < argc) {
      programDirOption = argv[++i];
      continue;
    }
    if (word.rfind("--program-dir=", 0) == 0) {
      programDirOption = std::string(word.substr(14));
      continue;
    }
    break;
  }
  if (i >= argc) {
    listCommands(std::cerr);
    return kUsage;
  }
  std::string_view name = argv[i];
  auto command = std::find_if(commands.begin(), commands.end(),
                              [&](const CliCommand& c) { return c.name == name; });
  if (command == commands.end()) {
    std::cerr << "quillmark-cli: unknown command '" << name << "'\n";
    listCommands(std::cerr);
    return kUsage;
  }

  Args args;
  if (auto problem = parseArgs(commands, *command, argc, argv, i + 1, args)) {
    std::cerr << "quillmark-cli " << command->name << ": " << *problem << '\n';
    printCommandHelp(*command, std::cerr);
    return kUsage;
  }
  if (args.flag("help")) {
    printCommandHelp(*command, std::cout);
    return kOk;
  }
  // A misspelt engine would otherwise quietly run the default one.
  if (const char* engine = std::getenv("QUILLMARK_ENGINE");
      engine != nullptr && *engine != '\0' && !formula::parseEngine(engine)) {
    std::cerr << "quillmark-cli " << command->name
              << ": QUILLMARK_ENGINE takes reference, block, compiled or auto, not '" << engine
              << "'\n";
    return kUsage;
  }
  if (auto v = args.value("program-dir")) programDirOption = v;
  const bool interactive = isatty(STDIN_FILENO) != 0;
  auto policy = overwritePolicy(args, interactive);
  if (!policy) {
    std::cerr << "quillmark-cli " << command->name << ": --overwrite takes ask, all or none\n";
    return kUsage;
  }
  if (*policy == OverwritePolicy::Ask && !interactive) {
    std::cerr << "quillmark-cli " << command->name
              << ": --overwrite ask needs a terminal on standard input; use all or none\n";
    return kUsage;
  }

  TerminalAnswers answers;
  answers.overwrite = *policy;
  if (auto dest = args.value("dest")) answers.destination = *dest;
  answers.createSubFolders = args.flag("subfolders");
  TerminalPrompter prompter(answers, std::cin, std::cerr, interactive);
  InterruptProgress progress;

  auto programDir = platform::resolveProgramDir(programDirOption);
  Context context{std::move(args), programDir, prompter, progress, std::cout, std::cerr};
  return command->run(context);
}

bool asksForJson(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view word = argv[i];
    if (word == "--") break;
    if (word == "--json") return true;
  }
  return false;
}

// Every run ends here: a --json run that failed without its document gets the error object,
// and output that never reached stdout makes the run a failure.
int run(int argc, char** argv) {
  // Qt's image plugins talk on stderr about pictures they cannot read; the command says it.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << text.toStdString() << '\n';
  });
  // A closed pipe is reported like any failed write instead of ending the program unsaid.
  std::signal(SIGPIPE, SIG_IGN);
  CheckedStdout out;
  RecordingStderr err;
  int code = runCommand(argc, argv);
  if (code != kOk && out.bytesGiven() == 0 && asksForJson(argc, argv))
    std::cout << jsonError(code, err.firstLine()) << '\n';
  if (int error = out.finish()) {
    std::cerr << "stdout: " << std::strerror(error) << '\n';
    if (code == kOk) code = kSomeFailed;
  }
  return code;
}

}  // namespace
}  // namespace qm::cli

int main(int argc, char** argv) {
  return qm::cli::run(argc, argv);
}
