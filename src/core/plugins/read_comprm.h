#pragma once
// Category and title of a Premiere plugin, found by searching windows of the file for PIPL
// properties or Premiere 4.2 filter, audio and transition records.

#include <filesystem>

#include "core/common/byte_view.h"
#include "core/plugins/file_bytes.h"
#include "core/plugins/filter_info.h"

namespace qm::plugins {

struct PrmResult {
  FilterInfo filter;
  bool ok = false;  // category and title both non-empty
};

PrmResult ReadComprm(const std::filesystem::path& file);
PrmResult ReadComprmBytes(ByteView bytes);
PrmResult ReadComprmFrom(FileBytes& file);

// Byte ranges [start, end) searched in order; public for tests.
struct SearchWindow {
  std::uint64_t start = 0;
  std::uint64_t end = 0;
};
std::vector<SearchWindow> comprmWindows(std::uint64_t sectionPosition, std::uint64_t fileLength);

}  // namespace qm::plugins
