#include "core/plugins/scan_cache.h"

#include <sys/stat.h>

#include <array>

#include "core/plugins/text_util.h"

namespace qm::plugins {

std::optional<FileStamp> stampOf(const OpenFolder* folder, const std::filesystem::path& file,
                                 const std::string& name) {
  struct stat facts {};
  const int result = folder ? ::fstatat(folder->descriptor(), name.c_str(), &facts, 0)
                            : ::stat(file.c_str(), &facts);
  if (result != 0 || !S_ISREG(facts.st_mode)) return std::nullopt;
  return FileStamp{static_cast<std::uint64_t>(facts.st_size),
                   std::int64_t{facts.st_mtim.tv_sec} * 1'000'000'000 + facts.st_mtim.tv_nsec};
}

bool isSourceFileName(std::string_view fileName) {
  constexpr std::array<std::string_view, 4> kSources = {".txt", ".afs", ".pff", ".ffx"};
  const std::string ext4 = lastLower(fileName, 4);
  for (auto s : kSources)
    if (ext4 == s) return true;
  return false;
}

std::string readerKey(const PlugTypeTable& table, bool sourceFile, bool includeSources) {
  std::string key;
  for (const auto& row : table.rows()) {
    key += row.label;
    key += '\x1f';
    key += row.extension;
    key += '\x1f';
    key += row.digit;
    key += '\x1e';
  }
  if (sourceFile) key += includeSources ? "sources" : "no sources";
  // Stored with every file, so kept short: FNV-1a of the facts.
  std::uint64_t hash = 0xcbf29ce484222325;
  for (unsigned char c : key) hash = (hash ^ c) * 0x100000001b3;
  constexpr std::string_view kDigits = "0123456789abcdef";
  std::string text(16, '0');
  for (int i = 15; i >= 0; --i, hash >>= 4) text[static_cast<std::size_t>(i)] = kDigits[hash & 15];
  return text;
}

}  // namespace qm::plugins
