#include "core/shell/messages.h"

#include "core/common/unicode_text.h"

namespace qm::shell {
namespace {

constexpr std::size_t kNamesShown = 10;

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
std::string failureText(std::string_view verb, const std::vector<std::filesystem::path>& failed) {
  std::string text = " " + std::to_string(failed.size()) + " file(s) or folder(s) couldn't be ";
  text += verb;
  text += ":";
  for (std::size_t i = 0; i < failed.size() && i < kNamesShown; ++i)
    text += "\r\n" + displayPath(failed[i]);
  if (failed.size() > kNamesShown) text += "\r\n...";
  return text;
}

}  // namespace qm::shell
