#pragma once
// What the metadata readers learn about one filter of a plugin file.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qm::plugins {

// The readers give Windows-1252 bytes as read; Classification and PluginFacts hold the texts
// converted for showing (UTF-8).
struct FilterInfo {
  std::string category;
  std::string title;
  // 1-based byte position of the first category character; 0 = not rewritable in place;
  // -1 for table types.
  std::int32_t position = 0;
  // Characters the category may take when rewritten in place; 0 = unknown.
  std::uint32_t room = 0;
  // From the filter's PiPL, when it has one.
  std::optional<std::uint32_t> supportedModes = std::nullopt;  // ModeSet bits
  std::optional<std::string> enableInfo = std::nullopt;        // Windows-1252 bytes
  std::uint8_t entryPoints = 0;                                // EntryPoint bits
};

// The filters of one plugin file, in resource order. ok: filter 1 has category and title.
struct FilterTable {
  std::vector<FilterInfo> filters{FilterInfo{}};
  bool ok = false;
};

}  // namespace qm::plugins
