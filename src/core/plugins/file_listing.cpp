#include "core/plugins/file_listing.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <system_error>

#include "core/common/unicode_text.h"
#include "core/plugins/text_util.h"

namespace qm::plugins {
namespace {

// Glob match of one pattern item on case-folded characters, "*" any run, "?" one character.
bool globMatch(std::u32string_view name, std::u32string_view pattern) {
  std::size_t n = 0, p = 0, starP = std::u32string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == U'*') {
      starP = p++;
      starN = n;
    } else if (starP != std::u32string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == U'*') ++p;
  return p == pattern.size();
}

// Sorts names in the lists' order.
void sortNames(std::vector<std::string>& names) {
  std::vector<std::string> sorted;
  sorted.reserve(names.size());
  for (std::size_t i : textOrder({names.begin(), names.end()}))
    sorted.push_back(std::move(names[i]));
  names = std::move(sorted);
}

std::string fileNameOf(const std::filesystem::path& p) {
  return p.filename().string();
}

}  // namespace

int iconIndex(std::string_view fileName) {
  const std::string ext = lastLower(fileName, 4);
  if (ext == ".8bf") return kIcon8bf;
  if (ext == ".prm") return kIconPrm;
  if (ext == ".aex") return kIconAex;
  if (ext == ".ffl") return kIconFfl;
  if (ext == ".zip") return kIconZip;
  for (std::string_view e : {".jpg", ".gif", ".bmp", ".wmf", ".png", ".tga", ".pcx"})
    if (ext == e) return kIconPicture;
  for (std::string_view e :
       {".tub", ".psp", ".msk", ".pat", ".tex", ".jsl", ".jbr", ".pfr", ".jgd", ".sld"})
    if (ext == e) return kIconPaintResource;
  return kIconOther;
}

std::string sizeText(std::uintmax_t size, char separator) {
  if (size == 0) return {};
  std::string digits = std::to_string(size);
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out.push_back(separator);
    out.push_back(digits[i]);
  }
  return out;
}

std::string datePart(std::string_view timestampText) {
  auto blank = timestampText.find(' ');
  return std::string(blank == std::string_view::npos ? timestampText
                                                     : timestampText.substr(0, blank + 1));
}

std::string timestampText(std::filesystem::file_time_type time) {
  auto sys = std::chrono::file_clock::to_sys(time);
  std::time_t t = std::chrono::system_clock::to_time_t(
      std::chrono::time_point_cast<std::chrono::system_clock::duration>(sys));
  std::tm local{};
  localtime_r(&t, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

bool matchesPattern(std::string_view fileName, std::string_view pattern) {
  const std::u32string name = foldCase(fileName);
  while (!pattern.empty()) {
    auto semi = pattern.find(';');
    std::string_view item = pattern.substr(0, semi);
    pattern = semi == std::string_view::npos ? std::string_view{} : pattern.substr(semi + 1);
    if (item.empty()) continue;
    if (item == "*.*" || globMatch(name, foldCase(item))) return true;
  }
  return false;
}

std::vector<std::string> listFiles(const std::filesystem::path& folder, std::string_view pattern) {
  std::vector<std::string> names;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    std::error_code typeError;
    if (!it->is_regular_file(typeError)) continue;
    std::string name = fileNameOf(it->path());
    if (matchesPattern(name, pattern)) names.push_back(std::move(name));
  }
  sortNames(names);
  return names;
}

std::vector<std::string> listSubFolders(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    std::error_code typeError;
    // Linked folders are left out: a link back up the tree would make a recursive scan
    // endless.
    if (it->is_directory(typeError) && !it->is_symlink(typeError))
      names.push_back(fileNameOf(it->path()));
  }
  sortNames(names);
  return names;
}

std::vector<ListingItem> FillDirList(const std::filesystem::path& folder, std::string_view pattern,
                                     bool showFolders) {
  std::vector<ListingItem> items;
  if (showFolders) {
    if (folder.has_relative_path()) items.push_back({" ..", " ", " ", kIconFolder, true, true});
    for (auto& name : listSubFolders(folder))
      items.push_back({std::move(name), " ", " ", kIconFolder, true, false});
  }
  for (auto& name : listFiles(folder, pattern)) {
    ListingItem item;
    std::error_code ec;
    auto path = folder / name;
    auto size = std::filesystem::file_size(path, ec);
    item.sizeText = ec ? std::string() : sizeText(size);
    auto time = std::filesystem::last_write_time(path, ec);
    item.dateText = ec ? std::string() : datePart(timestampText(time));
    item.icon = iconIndex(name);
    item.name = std::move(name);
    items.push_back(std::move(item));
  }
  return items;
}

}  // namespace qm::plugins
