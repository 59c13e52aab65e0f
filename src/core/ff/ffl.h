#pragma once
// Filter Factory libraries (.ffl): a header line "FFL1.0" or "FFL1.1", an entry count line,
// then entries of 29 lines each. Texts stay Windows-1252 bytes.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/byte_view.h"
#include "core/ff/record.h"
#include "core/ff/text_primitives.h"

namespace qm::ff {

inline constexpr std::size_t kFFLEntryLines = 29;

// A library read as text: CR LF, a lone CR and a lone LF each end a line; a last line
// without an ending still counts.
class FFLTextReader {
 public:
  explicit FFLTextReader(ByteView bytes) : bytes_(bytes) {}
  bool atEnd() const { return position_ >= bytes_.size(); }
  // True when nothing but CR and LF bytes remain: blank lines after the last entry.
  bool onlyLineEndsLeft() const;
  // The next line; empty at the end of the bytes.
  std::string nextLine();

 private:
  ByteView bytes_;
  std::size_t position_ = 0;
};

// A number line: blanks and line feeds in front skipped, digits up to the first other byte,
// no sign, empty reads 0; clamped to limit.
unsigned long long lenientNumber(std::string_view text, unsigned long long limit);

bool isFFLHeader(std::string_view line);
// True for a placeholder entry (a deleted one): its file name begins with "//".
bool isFFLPlaceholder(std::string_view fileName);
// The dialect an entry's name implies: Premiere for a name ending in ".prm" (any case).
bool photoshopDialectForName(std::string_view fileName);

// Reads the next 29 lines into rec; lines past the end of the bytes read empty.
// photoshopDialect is left as it is. False when the bytes end before the entry's last line:
// a library cut short.
bool ReadFFLEntry(FFLTextReader& library, FFRecord& rec);
// Reads the entry that starts at the cursor: each line runs to a CR, and the byte after the
// CR is skipped. Sets photoshopDialect from the entry's file name.
void ReadFFLEntryII(ByteCursor& library, FFRecord& rec);

// What the FFL View lists: every 29-line block after the two header lines, placeholders
// included, with the byte position of its first line (by ReadFFLEntryII's line rule).
struct FFLIndexEntry {
  std::size_t position = 0;
  std::string fileName;
  std::string category;
  std::string title;
  std::string author;
  bool placeholder = false;
};

struct FFLIndex {
  std::string header;                  // "FFL1.0" or "FFL1.1"
  std::string declaredCount;           // line 2 as it stands
  std::vector<FFLIndexEntry> entries;  // whole entries only
  bool cutShort = false;               // the bytes end inside the entry after the last one
};

// nullopt when the first line is not an FFL header.
std::optional<FFLIndex> IndexFFL(ByteView library);

// Entry number (1-based, placeholders counted) of a library loaded as the FFL View loads it:
// no optimisation, no translation. nullopt for a wrong header or a number out of range (an
// entry the bytes end inside is out of range).
std::optional<FFRecord> LoadFFLEntry(ByteView library, std::size_t number);

}  // namespace qm::ff
