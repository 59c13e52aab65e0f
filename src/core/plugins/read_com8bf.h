#pragma once
// Categories and titles of Photoshop-compatible and After Effects plugins, read from the
// PIPL, PIMI and _8BFM resources of the resource section (Mac .bin Filter Factory plugins
// through the Filter Factory reader).

#include <filesystem>
#include <string_view>

#include "core/common/byte_view.h"
#include "core/ff/options.h"
#include "core/plugins/file_bytes.h"
#include "core/plugins/filter_info.h"

namespace qm::plugins {

FilterTable ReadCom8bf(const std::filesystem::path& file, const ff::FFOptions& options);
// fileName (Windows-1252, without folder) decides the .bin branch.
FilterTable ReadCom8bfBytes(ByteView bytes, std::string_view fileName,
                            const ff::FFOptions& options);
FilterTable ReadCom8bfFrom(FileBytes& file, std::string_view fileName,
                           const ff::FFOptions& options);

// The resource walk alone (no .bin branch); what the fuzzer drives.
FilterTable readResourceFilters(FileBytes& file);

bool isMacFilterFactorySize(std::uint64_t size);

}  // namespace qm::plugins
