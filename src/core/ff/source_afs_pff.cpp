// .afs and .pff readers: CR-ended lines, a formula block and an optional trailer with the
// texts and slider names.

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/ff/formula_cleanup.h"
#include "core/ff/plugin_file_io.h"
#include "core/ff/source_text.h"
#include "core/ff/sources.h"
#include "core/ff/text_primitives.h"

namespace qm::ff {

namespace {

enum class SourceKind { Afs, Pff };

// "name.afs" -> "name.8bf"; shorter names lose what they have.
std::string pluginNameFor(std::string_view fileName) {
  std::string name(fileName.substr(0, fileName.size() - std::min<std::size_t>(3, fileName.size())));
  return name + "8bf";
}

void readTrailer(ByteCursor& file, FFRecord& rec) {
  // An empty trailer line stays empty, the category included.
  rec.category = ReadtoDD(file);
  rec.title = ReadtoDD(file);
  rec.author = ReadtoDD(file);
  rec.copyright = ReadtoDD(file);
  for (auto& name : rec.controlNames) {
    std::string line = ReadtoDD(file);
    // "k: name"; a shorter line keeps the default name.
    if (line.size() > 3) name = line.substr(3);
  }
}

// Every .afs and .pff begins with this line; without it the bytes are no such source.
constexpr std::string_view kSourceHeader = "%RGB-1.0";

// Whether byte i is the LF of a CR LF pair, which a CR LF file's reading leaves out.
bool isPairedLf(ByteView bytes, std::size_t i) {
  return i > 0 && bytes.span()[i] == '\n' && bytes.span()[i - 1] == '\r';
}

std::vector<std::uint8_t> withoutPairedLfs(ByteView bytes) {
  std::vector<std::uint8_t> out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i)
    if (!isPairedLf(bytes, i)) out.push_back(bytes.span()[i]);
  return out;
}

// Where byte `kept` of withoutPairedLfs(bytes) stands in bytes.
std::size_t offsetAmongPairedLfs(ByteView bytes, std::size_t kept) {
  std::size_t i = 0;
  for (; i < bytes.size(); ++i) {
    if (isPairedLf(bytes, i)) continue;
    if (kept == 0) break;
    --kept;
  }
  return i;
}

// The header, the values and the formulas; the cursor stops where a trailer would begin.
void readRequiredPart(ByteCursor& file, FFRecord& rec, SourceKind kind) {
  if (kind == SourceKind::Afs) {
    ReadtoD(file);
    for (auto& value : rec.sliderValues) value = lenientSliderValue(ReadtoD(file));
  } else {
    // ReadtoDD swallows the separator bytes 2 and 1 that follow the CRs.
    ReadtoDD(file);
    for (std::size_t k = 0; k < 7; ++k) rec.sliderValues[k] = lenientSliderValue(ReadtoDD(file));
    rec.sliderValues[7] = lenientSliderValue(ReadtoD(file));
  }
  nameSlidersWithValues(rec.sliderValues, rec.controlNames);
  static constexpr std::array<std::size_t, 4> kAfsOrder = {0, 1, 2, 3};
  static constexpr std::array<std::size_t, 4> kPffOrder = {2, 1, 0, 3};  // B, G, R, A
  for (std::size_t channel : kind == SourceKind::Afs ? kAfsOrder : kPffOrder)
    rec.formulas[channel] = ReadtoDD(file);
}

// The bytes the byte rules read: a CR LF file's bytes with its CR LFs undone once (never
// again: of a run of LFs after a CR only the first is dropped, the rest read as they stand).
struct CrBytes {
  explicit CrBytes(ByteView bytes) : original(bytes) {
    if (afsPffHasCrLfLines(bytes)) undone = withoutPairedLfs(bytes);
  }
  ByteView view() const { return undone ? ByteView(*undone) : original; }

  ByteView original;
  std::optional<std::vector<std::uint8_t>> undone;
};

bool readSource(ByteView bytes, std::string_view fileName, FFRecord& rec, const FFOptions& options,
                SourceKind kind) {
  rec.IniVars();
  rec.fileName = std::string(fileName);
  if (!bytes.matches(0, kSourceHeader)) return false;
  const CrBytes read(bytes);
  rec.photoshopDialect = kind == SourceKind::Afs;
  ByteCursor file(read.view());
  readRequiredPart(file, rec, kind);
  rec.fileName = pluginNameFor(rec.fileName);
  rec.title = rec.fileName;
  rec.category = "Synthetic";
  if (!file.atEnd()) readTrailer(file, rec);
  OptimizeCode(rec, options.noOptimize);
  return true;
}

bool readSourceAt(const std::filesystem::path& file, FFRecord& rec, const FFOptions& options,
                  SourceKind kind) {
  auto bytes = readSourceFile(file);
  if (!bytes) return false;
  return readSource(ByteView(*bytes), recordFileName(file), rec, options, kind);
}

}  // namespace

// A source whose header line ends in CR LF has been through a text-mode copy that turned every
// CR into CR LF. Read by the byte rules as it stands, the LF after each value and formula would
// start the next field and every empty closing line would read as a formula of its own, so
// such a file is read with each CR LF taken back to the CR it was; a CR-only file, and an
// LF-only one (a single long first line), keep the byte rules exactly.
bool afsPffHasCrLfLines(ByteView bytes) {
  return bytes.matches(0, kSourceHeader) && bytes.matches(kSourceHeader.size(), "\r\n");
}

std::size_t afsPffTrailerOffset(ByteView bytes, bool pff) {
  const CrBytes read(bytes);
  FFRecord scratch;
  ByteCursor file(read.view());
  readRequiredPart(file, scratch, pff ? SourceKind::Pff : SourceKind::Afs);
  const std::size_t offset = std::min(file.position(), read.view().size());
  // Found in the bytes as read, then placed back among the LFs that reading dropped.
  return read.undone ? offsetAmongPairedLfs(bytes, offset) : offset;
}

bool ReadAFSBytes(ByteView bytes, std::string_view fileName, FFRecord& rec,
                  const FFOptions& options) {
  return readSource(bytes, fileName, rec, options, SourceKind::Afs);
}

bool ReadPFFBytes(ByteView bytes, std::string_view fileName, FFRecord& rec,
                  const FFOptions& options) {
  return readSource(bytes, fileName, rec, options, SourceKind::Pff);
}

bool ReadAFS(const std::filesystem::path& file, FFRecord& rec, const FFOptions& options) {
  return readSourceAt(file, rec, options, SourceKind::Afs);
}

bool ReadPFF(const std::filesystem::path& file, FFRecord& rec, const FFOptions& options) {
  return readSourceAt(file, rec, options, SourceKind::Pff);
}

}  // namespace qm::ff
