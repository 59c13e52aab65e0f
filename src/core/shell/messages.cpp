#include "core/shell/messages.h"

#include "core/common/unicode_text.h"

namespace qm::shell {
namespace {

constexpr std::size_t kNamesShown = 10;

std::string pathLines(const std::vector<std::filesystem::path>& paths) {
  std::string text;
  for (std::size_t i = 0; i < paths.size() && i < kNamesShown; ++i)
    text += "\r\n" + displayPath(paths[i]);
  if (paths.size() > kNamesShown) text += "\r\n...";
  return text;
}

}  // namespace

std::string pathText(const std::filesystem::path& p) {
  auto text = p.u8string();
  return {reinterpret_cast<const char*>(text.data()), text.size()};
}

std::filesystem::path pathFromText(std::string_view utf8) {
  return std::filesystem::path(
      std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

std::filesystem::path withoutTrailingSeparator(const std::filesystem::path& folder) {
  auto clean = folder;
  while (!clean.has_filename() && clean.has_relative_path()) clean = clean.parent_path();
  return clean;
}

// Decision: the program reports a failed item only in Kill Folder(s); every other command
// would go on silently. A person should learn that a file stayed where it was, so each
// command ends with one message naming what failed.
std::string failureText(std::string_view verb, const std::vector<std::filesystem::path>& failed,
                        const std::vector<std::string>& reasons) {
  std::string text = " " + std::to_string(failed.size()) + " file(s) or folder(s) couldn't be ";
  text += verb;
  text += ":";
  for (std::size_t i = 0; i < failed.size() && i < kNamesShown; ++i) {
    text += "\r\n" + displayPath(failed[i]);
    if (i < reasons.size() && !reasons[i].empty()) text += ": " + reasons[i];
  }
  if (failed.size() > kNamesShown) text += "\r\n...";
  return text;
}

std::string trashQuestion(const std::vector<std::filesystem::path>& files) {
  if (files.size() == 1) return "Move " + displayPath(files.front()) + " to the trash?";
  return "Move these " + std::to_string(files.size()) + " files to the trash?" + pathLines(files);
}

std::string killQuestion(const std::vector<std::filesystem::path>& files) {
  constexpr std::string_view kRest =
      " will be erased and won't be put in the trash can.\rProceed anyway?";
  if (files.size() == 1) return displayPath(files.front()) + std::string(kRest);
  return "These " + std::to_string(files.size()) + " files" + std::string(kRest) + pathLines(files);
}

std::string killFoldersQuestion(const std::vector<std::filesystem::path>& folders) {
  if (folders.size() == 1)
    return "Kill the folder " + displayPath(folders.front()) + " and the files it contains?";
  return "Kill these " + std::to_string(folders.size()) + " folders and the files they contain?" +
         pathLines(folders);
}

}  // namespace qm::shell
