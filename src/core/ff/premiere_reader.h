#pragma once
// Premiere Filter Factory (Readprm) and Transition Factory (ReadTF) plugins.

#include <filesystem>
#include <string_view>

#include "core/common/byte_view.h"
#include "core/ff/options.h"
#include "core/ff/record.h"

namespace qm::ff {

bool Readprm(const std::filesystem::path& file, FFRecord& rec, bool namesOnly, bool optimize,
             const FFOptions& options);
bool ReadTF(const std::filesystem::path& file, FFRecord& rec, bool namesOnly);
bool ReadprmBytes(ByteView bytes, std::string_view fileName, FFRecord& rec, bool namesOnly,
                  bool optimize, const FFOptions& options);
bool ReadTFBytes(ByteView bytes, std::string_view fileName, FFRecord& rec, bool namesOnly);

}  // namespace qm::ff
