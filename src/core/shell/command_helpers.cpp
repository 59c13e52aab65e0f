#include "core/shell/command_helpers.h"

#include <algorithm>

#include "core/shell/messages.h"

namespace qm::shell {

namespace stdfs = std::filesystem;

std::vector<stdfs::path> uniqueFiles(const std::vector<stdfs::path>& files) {
  std::vector<stdfs::path> unique;
  for (const auto& file : files)
    if (!file.empty() && std::find(unique.begin(), unique.end(), file) == unique.end())
      unique.push_back(file);
  return unique;
}

std::optional<stdfs::path> chooseDestination(ShellPorts& ports, const ShellRequest& request,
                                             const FolderRequest& folderRequest) {
  if (request.passivePaneFolder) {
    if (request.passive.folder.empty()) return std::nullopt;
    return request.passive.folder;
  }
  auto choice = ports.prompter.chooseFolder(folderRequest);
  if (!choice || choice->folder.empty()) return std::nullopt;
  return choice->folder;
}

bool isWithin(const stdfs::path& path, const stdfs::path& folder) {
  auto inner = withoutTrailingSeparator(path.lexically_normal());
  auto outer = withoutTrailingSeparator(folder.lexically_normal());
  if (outer.empty()) return false;
  auto rest = inner.lexically_relative(outer);
  return !rest.empty() && *rest.begin() != "..";
}

bool isPlainName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

void reportFailures(ShellPorts& ports, std::string_view verb, std::string_view title,
                    const CommandOutcome& outcome) {
  if (!outcome.failed.empty())
    ports.prompter.warn(failureText(verb, outcome.failed, outcome.failedReasons), title);
}

void addFailure(CommandOutcome& outcome, const stdfs::path& path, std::string reason) {
  outcome.failedReasons.resize(outcome.failed.size());
  outcome.failed.push_back(path);
  outcome.failedReasons.push_back(std::move(reason));
}

void followMovedFolder(PaneEffects& effects, const PaneInfo& pane, const stdfs::path& moved,
                       const stdfs::path& replacement, bool keepRelative) {
  if (!isWithin(pane.folder, moved)) return;
  auto rest = withoutTrailingSeparator(pane.folder.lexically_normal())
                  .lexically_relative(withoutTrailingSeparator(moved.lexically_normal()));
  effects.showFolder = keepRelative && rest != "." ? replacement / rest : replacement;
  effects.refresh = true;
}

}  // namespace qm::shell
