#pragma once
// Change Category for Filter Factory sources: the category is replaced where it stands, so
// every other byte of the file stays as it was.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/byte_view.h"
#include "core/common/outcome.h"
#include "core/ff/load_file.h"
#include "core/ff/options.h"

namespace qm::ff {

inline constexpr std::string_view kCategoryNotStorable =
    "this category cannot be stored in the file as it is";
inline constexpr std::string_view kLfOnlyLines =
    "its lines end in LF alone; a category is stored only in a file with CR line ends";

// The bytes of an .afs, .pff or .txt source (kind) named fileName (Windows-1252, as the
// readers record it) with category (Windows-1252) in place of its own; a source without a category
// gets one added. The result reads back to the same record but for the category, else the error
// says why (kNotFilterFactory for bytes that do not read, kLfOnlyLines for an .afs or .pff
// without CR line ends, kCategoryNotStorable for a category the format would change).
Outcome<std::vector<std::uint8_t>, std::string> withSourceCategory(ByteView bytes, InputKind kind,
                                                                   std::string_view fileName,
                                                                   std::string_view category,
                                                                   const FFOptions& options);

}  // namespace qm::ff
