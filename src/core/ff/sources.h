#pragma once
// Filter Factory source files: .afs, .pff, .txt (read and written) and .ffx (read).
// Each reader calls IniVars, sets fileName from the file's own name and returns true when it
// filled the record; a missing or unreadable file gives false. The *Bytes forms read from
// memory (fileName is the name to record) and are what the fuzzers drive.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/byte_view.h"
#include "core/common/outcome.h"
#include "core/common/ports.h"
#include "core/ff/options.h"
#include "core/ff/record.h"
#include "core/ff/write_result.h"

namespace qm::ff {

// Text sources are a few kilobytes; a bigger file is refused before it is read whole.
inline constexpr std::uint64_t kLargestSource = 4 * 1024 * 1024;
inline constexpr std::string_view kSourceTooLarge = "too large for a Filter Factory source";

// The bytes of a source file, or why there are none (the system's reason or kSourceTooLarge).
Outcome<std::vector<std::uint8_t>, std::string> readSourceFile(const std::filesystem::path& file);

// The FF Editor's preset slots, filled by "set" lines of a .txt and written by WriteTXT.
class EditorPresets {
 public:
  virtual ~EditorPresets() = default;
  virtual bool slotInUse(int slot) const = 0;
  virtual std::array<int, 8> slotValues(int slot) const = 0;
  virtual void setSlot(int slot, const std::array<int, 8>& values) = 0;
};

bool ReadAFS(const std::filesystem::path& file, FFRecord& rec, const FFOptions& options);
bool ReadPFF(const std::filesystem::path& file, FFRecord& rec, const FFOptions& options);
// presets receives the "set" lines (ignored when null). prompter shows the plugin-information
// dialect's "Format Violation" message (none when null). The companion .afs beside a
// plugin-information text supplies its slider values.
bool ReadTXT(const std::filesystem::path& file, FFRecord& rec, const FFOptions& options,
             EditorPresets* presets = nullptr, Prompter* prompter = nullptr);
bool ReadFFX(const std::filesystem::path& file, FFRecord& rec);
// ReadTXT over bytes already read from file; a companion .afs is looked up beside file.
bool ReadTXTFrom(const std::filesystem::path& file, ByteView bytes, FFRecord& rec,
                 const FFOptions& options, EditorPresets* presets = nullptr,
                 Prompter* prompter = nullptr);

bool ReadAFSBytes(ByteView bytes, std::string_view fileName, FFRecord& rec,
                  const FFOptions& options);
bool ReadPFFBytes(ByteView bytes, std::string_view fileName, FFRecord& rec,
                  const FFOptions& options);
// companionAfs: the bytes of the .afs beside a plugin-information text, when one exists.
bool ReadTXTBytes(ByteView bytes, std::string_view fileName, FFRecord& rec,
                  const FFOptions& options, EditorPresets* presets = nullptr,
                  Prompter* prompter = nullptr,
                  std::optional<ByteView> companionAfs = std::nullopt);
bool ReadFFXBytes(ByteView bytes, std::string_view fileName, FFRecord& rec);

// True for an .afs or .pff whose lines end in CR LF; the readers take each CR LF as a CR.
bool afsPffHasCrLfLines(ByteView bytes);
// Where the optional trailer of an .afs (or .pff) begins; the size of bytes when it has none.
std::size_t afsPffTrailerOffset(ByteView bytes, bool pff);

// kind 0 writes .afs, kind 1 writes .pff, into folder under the name derived from fileName.
// Returns the path written, or an empty path when the write failed.
std::filesystem::path Writeafspff(const std::filesystem::path& folder, int kind, FFRecord& rec);
std::filesystem::path WriteTXT(const std::filesystem::path& folder, FFRecord& rec,
                               const EditorPresets* presets = nullptr);
// The same into path, whatever the record's fileName says, with the reason for a failure.
// A .pff is refused when the record's Photoshop formulas would read differently as Premiere
// formulas.
WriteResult WriteafspffTo(const std::filesystem::path& path, int kind, FFRecord& rec);
WriteResult WriteTXTTo(const std::filesystem::path& path, FFRecord& rec,
                       const EditorPresets* presets = nullptr);
// The text WriteTXTTo writes, for a record already in the Photoshop dialect (lines end in
// CR LF); the editor copies it to the clipboard.
std::string textSourceText(const FFRecord& rec, const EditorPresets* presets = nullptr);

}  // namespace qm::ff
