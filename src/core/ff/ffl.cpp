#include "core/ff/ffl.h"

namespace qm::ff {
namespace {

constexpr unsigned char kCopyrightSign = 169;

bool endsWithNoCase(std::string_view text, std::string_view ending) {
  if (text.size() < ending.size()) return false;
  auto tail = text.substr(text.size() - ending.size());
  for (std::size_t i = 0; i < ending.size(); ++i) {
    char c = tail[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != ending[i]) return false;
  }
  return true;
}

// Fills rec from the 29 lines an entry reader hands out in order.
template <typename NextLine>
void readEntryLines(NextLine nextLine, FFRecord& rec) {
  rec.fileName = nextLine();
  rec.category = nextLine();
  rec.title = nextLine();
  rec.author = nextLine();
  rec.copyright = nextLine();
  if (!rec.copyright.empty() && static_cast<unsigned char>(rec.copyright[0]) == kCopyrightSign)
    rec.copyright.insert(0, "Copyright ");
  for (auto& name : rec.mapNames) name = nextLine();
  for (auto& name : rec.controlNames) name = nextLine();
  for (auto& value : rec.sliderValues)
    value = static_cast<std::uint8_t>(lenientNumber(nextLine(), 255));
  auto& f = rec.formulas;
  f[0] = nextLine();
  f[1] = nextLine();
  if (f[1] == "\"") f[1] = f[0];
  f[2] = nextLine();
  if (f[2] == "\"") f[2] = f[1];
  f[3] = nextLine();
}

bool onlyLineEnds(ByteView bytes, std::size_t from) {
  for (std::size_t i = from; i < bytes.size(); ++i) {
    auto b = *bytes.u8(i);
    if (b != '\r' && b != '\n') return false;
  }
  return true;
}

// A line of a library opened for byte access: up to a CR, and the byte after the CR skipped.
std::string byteLine(ByteCursor& cursor) {
  std::string line;
  while (auto b = cursor.next()) {
    if (*b == '\r') {
      cursor.next();
      break;
    }
    line += static_cast<char>(*b);
  }
  return line;
}

}  // namespace

unsigned long long lenientNumber(std::string_view text, unsigned long long limit) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\n')) ++i;
  unsigned long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + static_cast<unsigned long long>(text[i] - '0');
    if (value > limit) value = limit;
  }
  return value;
}

std::string FFLTextReader::nextLine() {
  std::string line;
  while (position_ < bytes_.size()) {
    auto b = *bytes_.u8(position_++);
    if (b == '\n') break;
    if (b == '\r') {
      if (bytes_.u8(position_) == std::uint8_t{'\n'}) ++position_;
      break;
    }
    line += static_cast<char>(b);
  }
  return line;
}

bool FFLTextReader::onlyLineEndsLeft() const {
  return onlyLineEnds(bytes_, position_);
}

bool isFFLHeader(std::string_view line) {
  return line == "FFL1.0" || line == "FFL1.1";
}

bool isFFLPlaceholder(std::string_view fileName) {
  return fileName.starts_with("//");
}

bool photoshopDialectForName(std::string_view fileName) {
  return !endsWithNoCase(fileName, ".prm");
}

bool ReadFFLEntry(FFLTextReader& library, FFRecord& rec) {
  bool whole = true;
  readEntryLines(
      [&] {
        if (library.atEnd()) whole = false;
        return library.nextLine();
      },
      rec);
  return whole;
}

void ReadFFLEntryII(ByteCursor& library, FFRecord& rec) {
  readEntryLines([&] { return byteLine(library); }, rec);
  rec.photoshopDialect = photoshopDialectForName(rec.fileName);
}

std::optional<FFLIndex> IndexFFL(ByteView library) {
  ByteCursor cursor(library);
  FFLIndex index;
  index.header = byteLine(cursor);
  if (!isFFLHeader(index.header)) return std::nullopt;
  index.declaredCount = byteLine(cursor);
  while (!cursor.atEnd() && !onlyLineEnds(library, cursor.position())) {
    FFLIndexEntry entry;
    entry.position = cursor.position();
    auto line = [&] {
      if (cursor.atEnd()) index.cutShort = true;
      return byteLine(cursor);
    };
    entry.fileName = line();
    entry.category = line();
    entry.title = line();
    entry.author = line();
    for (std::size_t n = 4; n < kFFLEntryLines; ++n) line();
    entry.placeholder = isFFLPlaceholder(entry.fileName);
    if (index.cutShort) break;
    index.entries.push_back(std::move(entry));
  }
  return index;
}

std::optional<FFRecord> LoadFFLEntry(ByteView library, std::size_t number) {
  auto index = IndexFFL(library);
  if (!index || number == 0 || number > index->entries.size()) return std::nullopt;
  ByteCursor cursor(library, index->entries[number - 1].position);
  FFRecord rec;
  ReadFFLEntryII(cursor, rec);
  return rec;
}

}  // namespace qm::ff
