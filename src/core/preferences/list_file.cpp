#include "core/preferences/list_file.h"

#include <fstream>
#include <iterator>

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
  auto temp = file;
  temp += ".tmp";
  std::error_code ec;
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    for (const auto& item : items) out << item << "\r\n";
    out.flush();
    if (!out) {
      out.close();
      std::filesystem::remove(temp, ec);
      return false;
    }
  }
  std::filesystem::rename(temp, file, ec);
  if (ec) std::filesystem::remove(temp, ec);
  return !ec;
}

ItemList loadFolderList(const std::filesystem::path& programDir) {
  return readListFile(programDir / kFolderListFile).value_or(ItemList{});
}

bool saveFolderList(const std::filesystem::path& programDir, const ItemList& folders) {
  return writeListFile(programDir / kFolderListFile, folders);
}

}  // namespace qm::preferences
