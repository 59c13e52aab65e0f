#pragma once
// Premiere Filter Factory (Readprm) and Transition Factory (ReadTF) plugins. Their formulas
// stay in the Premiere dialect (photoshopDialect false); the *Bytes forms read from memory
// (fileName is the name to record) and are what the fuzzers drive.

#include <filesystem>
#include <optional>
#include <string_view>

#include "core/common/byte_view.h"
#include "core/ff/options.h"
#include "core/ff/record.h"

namespace qm::ff {

// The variant offsets chosen by the marker bytes; nullopt when the bytes are not such a plugin.
std::optional<long> PremiereFFOffset(ByteView bytes);
std::optional<long> TransitionOffset(ByteView bytes);

bool Readprm(const std::filesystem::path& file, FFRecord& rec, bool namesOnly, bool optimize,
             const FFOptions& options);
// OptimizeCode always runs over a Transition Factory read, so it takes the options too.
bool ReadTF(const std::filesystem::path& file, FFRecord& rec, bool namesOnly,
            const FFOptions& options);
bool ReadprmBytes(ByteView bytes, std::string_view fileName, FFRecord& rec, bool namesOnly,
                  bool optimize, const FFOptions& options);
bool ReadTFBytes(ByteView bytes, std::string_view fileName, FFRecord& rec, bool namesOnly,
                 const FFOptions& options);

}  // namespace qm::ff
