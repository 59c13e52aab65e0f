#include "core/shell/select_folder_rules.h"

#include "core/shell/messages.h"

namespace qm::shell {
namespace {

constexpr char kSeparator = static_cast<char>(std::filesystem::path::preferred_separator);

bool endsInSeparator(std::string_view text) {
  return !text.empty() && (text.back() == '/' || text.back() == kSeparator);
}

}  // namespace

std::string withTrailingSeparator(std::string_view folderText) {
  std::string text(folderText);
  if (!endsInSeparator(text)) text += kSeparator;
  return text;
}

std::string folderText(const std::filesystem::path& folder) {
  return withTrailingSeparator(pathText(folder));
}

std::vector<std::string> selectFolderEntries(
    const std::filesystem::path& preset, const std::filesystem::path& passiveFolder,
    const std::filesystem::path& activeFolder,
    const std::vector<std::filesystem::path>& preferences) {
  std::vector<std::string> entries;
  if (!preset.empty()) entries.push_back(folderText(preset));
  auto passive = folderText(passiveFolder);
  auto active = folderText(activeFolder);
  entries.push_back(passive);
  if (active != passive) entries.push_back(active);
  for (const auto& folder : preferences)
    if (!folder.empty()) entries.push_back(folderText(folder));
  return entries;
}

std::string cleanFolderText(std::string_view typed) {
  auto text = withTrailingSeparator(typed);
  auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

std::string createFolderQuestion(std::string_view folderText) {
  return std::string(folderText) + " doesn't exist!\r\nDo you want to create it?";
}

}  // namespace qm::shell
