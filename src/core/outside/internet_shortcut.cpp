#include "core/outside/internet_shortcut.h"

#include <fstream>
#include <sstream>

#include "core/ff/plugin_file_io.h"

namespace qm::outside {

std::string internetShortcutText(std::string_view address) {
  return "[InternetShortcut]\r\nURL=" + std::string(address) + "\r\n";
}

std::string writeInternetShortcut(const std::filesystem::path& folder, std::string_view title,
                                  std::string_view address) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) return ec.message();
  const std::string text = internetShortcutText(address);
  return ff::replaceFile(folder / (std::string(title) + ".url"), {text.begin(), text.end()});
}

BookmarkResult addBookmark(const std::filesystem::path& bookmarksFile, std::string_view address,
                           std::string_view title) {
  std::string existing;
  if (const auto bytes = ff::readWholeFile(bookmarksFile))
    existing.assign(bytes->begin(), bytes->end());
  std::istringstream lines(existing);
  for (std::string line; std::getline(lines, line);) {
    std::string_view first = std::string_view(line).substr(0, line.find(' '));
    if (first == address) return BookmarkResult::AlreadyThere;
  }
  std::error_code ec;
  std::filesystem::create_directories(bookmarksFile.parent_path(), ec);
  std::ofstream out(bookmarksFile, std::ios::binary | std::ios::app);
  if (!existing.empty() && existing.back() != '\n') out << '\n';
  out << address << ' ' << title << '\n';
  return out.flush() ? BookmarkResult::Added : BookmarkResult::Failed;
}

}  // namespace qm::outside
