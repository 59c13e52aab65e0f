// Rename... (one file, or the extension of several), Rename Folder... and Create Folder ...

#include <algorithm>
#include <array>
#include <cctype>

#include "core/common/unicode_text.h"
#include "core/shell/command_helpers.h"
#include "core/shell/file_commands.h"
#include "core/shell/messages.h"

namespace qm::shell {
namespace {

namespace stdfs = std::filesystem;

constexpr std::string_view kRenameTitle = "Rename";
constexpr std::string_view kRenameFolderTitle = "Rename Folder";
constexpr std::string_view kCreateFolderTitle = "Create Folder";
constexpr std::string_view kNotAName = "a name cannot be empty, \".\", \"..\" or hold \"/\"";
constexpr std::string_view kNameTaken = "there is already a file or folder named";

// Endings of enabled and disabled plugins: a name that gets one changes the catalogue.
constexpr std::array<std::string_view, 9> kPluginEndings = {".8bf", ".prm", "._bf", "._rm", ".aex",
                                                            "._ex", "_8bf", "_prm", "_aex"};

bool endsInPluginName(std::string name) {
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return std::any_of(kPluginEndings.begin(), kPluginEndings.end(),
                     [&](std::string_view ending) { return name.ends_with(ending); });
}

// Renames within the folder. Never over an existing entry: a rename that would replace a
// file is a failure, as the desktop's own rename refuses it. The reason why not, or empty.
std::string renameWithin(Fs& fs, const stdfs::path& from, const std::string& newName) {
  // A name with bytes that are no UTF-8 is offered as shown; taken back unchanged, it keeps
  // its real bytes.
  if (newName == displayName(from)) return {};
  if (!isPlainName(newName)) return std::string(kNotAName);
  auto to = from.parent_path() / pathFromText(newName);
  if (to == from) return {};
  if (fs.exists(to)) return std::string(kNameTaken) + ": " + newName;
  auto renamed = fs.rename(from, to);
  return renamed ? std::string() : renamed.error().message();
}

void record(CommandOutcome& outcome, const stdfs::path& path, std::string reason) {
  if (reason.empty())
    outcome.done.push_back(path);
  else
    addFailure(outcome, path, std::move(reason));
}

// Decision: a name without "." keeps its name and gets "." and the new extension, instead
// of being replaced by the extension alone.
std::string withExtension(const std::string& name, const std::string& extension) {
  auto dot = name.find('.');
  return (dot == std::string::npos ? name + "." : name.substr(0, dot + 1)) + extension;
}

std::string afterFirstDot(const std::string& name) {
  auto dot = name.find('.');
  return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

void renameSeveral(ShellPorts& ports, const std::vector<stdfs::path>& files,
                   CommandOutcome& outcome) {
  auto extension =
      ports.prompter.askText("Rename File Extension", afterFirstDot(displayName(files.front())));
  if (!extension) return;
  for (const auto& file : files) {
    auto newName = withExtension(pathText(file.filename()), *extension);
    auto reason = renameWithin(ports.fs, file, newName);
    outcome.selectAfter.push_back(reason.empty() ? file.parent_path() / pathFromText(newName)
                                                 : file);
    record(outcome, file, std::move(reason));
    if (endsInPluginName(newName)) outcome.active.catalogueStale = true;
  }
}

void renameOne(ShellPorts& ports, const stdfs::path& file, CommandOutcome& outcome) {
  auto newName = ports.prompter.askText("Rename File", displayName(file));
  if (!newName || newName->empty()) return;
  auto reason = renameWithin(ports.fs, file, *newName);
  outcome.selectAfter.push_back(reason.empty() ? file.parent_path() / pathFromText(*newName)
                                               : file);
  record(outcome, file, std::move(reason));
  if (endsInPluginName(*newName)) outcome.active.catalogueStale = true;
}

}  // namespace

CommandOutcome cmd_RenameFiles(ShellPorts& ports, const ShellRequest& request) {
  CommandOutcome outcome;
  if (request.active.view != PaneView::File) {
    ports.prompter.warn("Rename only works in File View.", kRenameTitle);
    return outcome;
  }
  auto files = uniqueFiles(request.selectedFiles);
  if (files.empty()) {
    if (!request.selectedFolders.empty()) return cmd_RenameFolder(ports, request);
    return outcome;
  }
  if (files.size() > 1)
    renameSeveral(ports, files, outcome);
  else
    renameOne(ports, files.front(), outcome);
  outcome.active.refresh = true;
  reportFailures(ports, "renamed", kRenameTitle, outcome);
  return outcome;
}

CommandOutcome cmd_RenameFolder(ShellPorts& ports, const ShellRequest& request) {
  CommandOutcome outcome;
  if (request.active.view != PaneView::File) {
    ports.prompter.warn("Rename Folder only works in File View!", kRenameFolderTitle);
    return outcome;
  }
  if (request.selectedFolders.empty()) {
    ports.prompter.warn("Please select a folder!", kRenameFolderTitle);
    return outcome;
  }
  auto folder = withoutTrailingSeparator(request.selectedFolders.front());
  auto newName = ports.prompter.askText("Rename folder", displayName(folder));
  if (!newName || newName->empty()) return outcome;
  if (auto reason = renameWithin(ports.fs, folder, *newName); !reason.empty()) {
    addFailure(outcome, folder, std::move(reason));
  } else {
    outcome.done.push_back(folder);
    auto renamed = folder.parent_path() / pathFromText(*newName);
    followMovedFolder(outcome.active, request.active, folder, renamed, true);
    followMovedFolder(outcome.passive, request.passive, folder, renamed, true);
  }
  outcome.active.refresh = true;
  reportFailures(ports, "renamed", kRenameFolderTitle, outcome);
  return outcome;
}

CommandOutcome cmd_MakeDir(ShellPorts& ports, const ShellRequest& request) {
  CommandOutcome outcome;
  if (request.active.view != PaneView::File) {
    ports.prompter.warn("Create Folder only works in File View.", kCreateFolderTitle);
    return outcome;
  }
  auto name = ports.prompter.askText("Enter name for new folder", "");
  if (!name || name->empty()) return outcome;
  // The path join puts exactly one separator after the folder, also after a root.
  auto folder = request.active.folder / pathFromText(*name);
  std::string reason;
  if (!isPlainName(*name)) {
    reason = kNotAName;
  } else if (ports.fs.exists(folder)) {
    reason = std::string(kNameTaken) + ": " + *name;
  } else if (auto created = ports.fs.createFolder(folder); !created) {
    reason = created.error().message();
  }
  record(outcome, folder, std::move(reason));
  outcome.active.refresh = true;
  reportFailures(ports, "created", kCreateFolderTitle, outcome);
  return outcome;
}

}  // namespace qm::shell
