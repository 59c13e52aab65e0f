#pragma once
// Filter Factory plugins: Windows .8bf of every known size and Macintosh .bin.

#include <filesystem>
#include <string_view>

#include "core/common/byte_view.h"
#include "core/ff/options.h"
#include "core/ff/record.h"

namespace qm::ff {

// namesOnly: read only category and title. optimize: run OptimizeCode over a full read.
bool Read8bf(const std::filesystem::path& file, FFRecord& rec, bool namesOnly, bool optimize,
             const FFOptions& options);
bool Read8bfBytes(ByteView bytes, std::string_view fileName, FFRecord& rec, bool namesOnly,
                  bool optimize, const FFOptions& options);

}  // namespace qm::ff
