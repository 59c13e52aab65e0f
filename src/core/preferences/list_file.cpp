#include "core/preferences/list_file.h"

#include <fstream>
#include <iterator>

#include "core/ff/plugin_file_io.h"

namespace qm::preferences {

std::optional<ItemList> readListFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  // A list file is a few kilobytes; anything far larger is not one of ours.
  constexpr std::size_t kMaxBytes = 4u << 20;
  std::string bytes;
  bytes.resize(kMaxBytes);
  in.read(bytes.data(), static_cast<std::streamsize>(kMaxBytes));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  ItemList items;
  std::string line;
  for (std::size_t i = 0; i <= bytes.size(); ++i) {
    if (i == bytes.size() || bytes[i] == '\r' || bytes[i] == '\n') {
      if (!line.empty()) items.push_back(std::move(line));
      line.clear();
      continue;
    }
    line.push_back(bytes[i]);
  }
  return items;
}

bool writeListFile(const std::filesystem::path& file, const ItemList& items) {
  std::vector<std::uint8_t> bytes;
  for (const auto& item : items) {
    bytes.insert(bytes.end(), item.begin(), item.end());
    bytes.insert(bytes.end(), {'\r', '\n'});
  }
  return ff::replaceFile(file, bytes).empty();
}

ItemList loadFolderList(const std::filesystem::path& programDir) {
  return readListFile(programDir / kFolderListFile).value_or(ItemList{});
}

bool saveFolderList(const std::filesystem::path& programDir, const ItemList& folders) {
  return writeListFile(programDir / kFolderListFile, folders);
}

}  // namespace qm::preferences
