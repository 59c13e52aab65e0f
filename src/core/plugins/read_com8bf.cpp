#include "core/plugins/read_com8bf.h"

#include <optional>

#include "core/ff/plugin_reader.h"
#include "core/ff/record.h"
#include "core/plugins/pe_header.h"
#include "core/plugins/pipl_properties.h"
#include "core/plugins/text_util.h"

namespace qm::plugins {
namespace {

// Any read outside the section ends the reader; this marks that.
struct OutOfSection {};

class Section {
 public:
  Section(std::vector<std::uint8_t> bytes, ResourceSection header)
      : bytes_(std::move(bytes)), header_(header) {}

  ByteView view() const { return ByteView(bytes_.data(), bytes_.size()); }
  const ResourceSection& header() const { return header_; }

  std::optional<std::uint8_t> u8(std::size_t offset) const { return view().u8(offset); }
  std::optional<std::uint32_t> low24(std::size_t offset) const {
    auto v = view().u32le(offset);
    if (!v) {
      // The top byte is never used, so only the three low bytes must exist.
      if (!view().has(offset, 3)) return std::nullopt;
      return static_cast<std::uint32_t>(bytes_[offset] | bytes_[offset + 1] << 8 |
                                        bytes_[offset + 2] << 16);
    }
    return *v & 0xFFFFFF;
  }
  // Zero-terminated text from offset (to the end of the section at most).
  std::string zeroText(std::size_t offset) const {
    std::string text;
    for (std::size_t i = offset; i < bytes_.size() && bytes_[i] != 0; ++i)
      text.push_back(static_cast<char>(bytes_[i]));
    return text;
  }
  // Length byte, then that many characters; nullopt when it runs out of the section.
  std::optional<std::string> pascalText(std::size_t offset) const {
    auto length = u8(offset);
    if (!length || !view().has(offset + 1, *length)) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(bytes_.data() + offset + 1), *length);
  }

 private:
  std::vector<std::uint8_t> bytes_;
  ResourceSection header_;
};

void cutAtNul(std::string& text) {
  if (auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
}

// Room: the text's length plus the zero bytes after it, when a non-zero byte ends them
// within 257 bytes; otherwise 0 (also when the bytes run out first).
std::uint32_t roomAfter(const Section& section, std::size_t textEnd, std::size_t length) {
  for (std::size_t k = 0; k < 257; ++k) {
    auto b = section.u8(textEnd + k);
    if (!b) return 0;
    if (*b != 0) return static_cast<std::uint32_t>(length + k);
  }
  return 0;
}

enum class TypeKind { Pimi, Pipl, Bfm };

// The resource's data offset within the section for entry i of a type directory.
std::optional<std::size_t> dataOf(const Section& s, std::size_t typeDir, std::size_t i,
                                  std::uint32_t& size) {
  auto languageDir = s.low24(typeDir + 16 + 8 * (i - 1) + 4);
  if (!languageDir) return std::nullopt;
  auto dataEntry = s.low24(*languageDir + 16 + 4);
  if (!dataEntry) return std::nullopt;
  auto rva = s.low24(*dataEntry);
  auto dataSize = s.low24(*dataEntry + 4);
  if (!rva || !dataSize) return std::nullopt;
  if (*rva < s.header().virtualAddress) return std::nullopt;
  std::size_t offset = *rva - s.header().virtualAddress;
  if (!s.view().has(offset)) return std::nullopt;
  size = *dataSize;
  return offset;
}

// Reads the PIPL properties of one filter; false when a read left the section.
bool readPipl(const Section& s, std::size_t data, std::uint32_t size, FilterInfo& filter) {
  for (std::size_t r = 0; r + 4 <= size; ++r) {
    std::size_t key = data + r + 4;
    if (!s.view().has(key, 4)) return false;
    // Most bytes start neither key; they are passed over on their first letter.
    const std::uint8_t first = s.view().data()[key];
    if (first != 'e' && first != 'g') continue;
    bool isName = s.view().matches(key, "eman");
    bool isCatg = !isName && s.view().matches(key, "gtac");
    if (isName) {
      if (filter.title.empty()) {
        auto text = s.pascalText(data + r + 16);
        if (!text) return false;
        filter.title = *text;
      }
      if (!filter.category.empty()) break;
    } else if (isCatg) {
      auto text = s.pascalText(data + r + 16);
      if (!text) return false;
      std::uint64_t firstChar = s.header().pointerToRawData + data + r + 17;
      filter.position = static_cast<std::int32_t>(firstChar + 1);
      filter.category = *text;
      filter.room = roomAfter(s, data + r + 17 + text->size(), text->size());
      if (!filter.title.empty()) break;
    }
  }
  return true;
}

// Walks the entries of one type; false when a read left the section.
bool readType(const Section& s, std::size_t typeDir, TypeKind kind, FilterTable& table) {
  if (kind != TypeKind::Bfm) {
    auto count = s.u8(typeDir + 14);
    if (!count) return false;
    table.filters.assign(*count, FilterInfo{});
  }
  for (std::size_t i = 1; i <= table.filters.size(); ++i) {
    FilterInfo& filter = table.filters[i - 1];
    std::uint32_t size = 0;
    auto data = dataOf(s, typeDir, i, size);
    if (!data) return false;
    switch (kind) {
      case TypeKind::Pimi:
        if (filter.category.empty()) filter.category = s.zeroText(*data + 2);
        if (size > 19) filter.room = size - 19;
        break;
      case TypeKind::Bfm:
        filter.title = s.zeroText(*data + 2);
        break;
      case TypeKind::Pipl: {
        if (!readPipl(s, *data, size, filter)) return false;
        PiplProperties more = readPiplProperties(s.view().sub(*data, size));
        filter.supportedModes = more.supportedModes;
        filter.enableInfo = std::move(more.enableInfo);
        filter.entryPoints = more.entryPoints;
        break;
      }
    }
    cutAtNul(filter.category);
    cutAtNul(filter.title);
  }
  return true;
}

// Low bytes of the length-prefixed UTF-16 name at offset equal text.
std::optional<bool> nameIs(const Section& s, std::size_t offset, std::string_view text) {
  auto length = s.view().u16le(offset);
  if (!length) return std::nullopt;
  if (*length != text.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto b = s.u8(offset + 2 + 2 * i);
    if (!b) return std::nullopt;
    if (*b != static_cast<std::uint8_t>(text[i])) return false;
  }
  return true;
}

void walkResources(const Section& s, FilterTable& table) {
  // With no named entries the ID count stands in as the bound, its bytes high first.
  std::size_t bound = s.u8(12).value_or(0) | s.u8(13).value_or(0) << 8;
  if (bound == 0) bound = s.u8(14).value_or(0) * 256u + s.u8(15).value_or(0);
  bool seenPimi = false, seenBfm = false, seenPipl = false;
  // Each further walk needs a type not seen before, so there are at most three.
  for (;;) {
    std::optional<std::pair<TypeKind, std::size_t>> found;
    for (std::size_t i = 1; i <= bound && !found; ++i) {
      std::size_t entry = 16 + 8 * (i - 1);
      auto nameOffset = s.low24(entry);
      auto dirOffset = s.low24(entry + 4);
      if (!nameOffset || !dirOffset) return;
      auto isPimi = nameIs(s, *nameOffset, "PIMI");
      auto isPipl = nameIs(s, *nameOffset, "PIPL");
      auto isBfm = nameIs(s, *nameOffset, "_8BFM");
      if (!isPimi || !isPipl || !isBfm) return;
      if (*isPimi && !seenPimi) {
        seenPimi = true;
        found = {TypeKind::Pimi, *dirOffset};
      } else if (*isPipl && !seenPipl) {
        seenPipl = true;
        found = {TypeKind::Pipl, *dirOffset};
      } else if (*isBfm && !seenBfm) {
        seenBfm = true;
        found = {TypeKind::Bfm, *dirOffset};
      }
    }
    if (!found) return;
    if (!readType(s, found->second, found->first, table)) return;
    if ((seenPimi && seenBfm) || seenPipl) return;
  }
}

bool firstFilterNamed(const FilterTable& table) {
  return !table.filters.empty() && !table.filters[0].category.empty() &&
         !table.filters[0].title.empty();
}

}  // namespace

bool isMacFilterFactorySize(std::uint64_t size) {
  return size == 99712 || size == 99840;
}

FilterTable readResourceFilters(FileBytes& file) {
  FilterTable table;
  auto header = findResourceSection(file);
  if (!header) return table;
  // SizeOfRawData + 1 bytes, clipped at the end of the file.
  Section section(file.read(header->pointerToRawData, std::size_t{header->sizeOfRawData} + 1),
                  *header);
  walkResources(section, table);
  table.ok = firstFilterNamed(table);
  return table;
}

FilterTable ReadCom8bfFrom(FileBytes& file, std::string_view fileName,
                           const ff::FFOptions& options) {
  if (endsWithLower(fileName, ".bin") && isMacFilterFactorySize(file.size())) {
    FilterTable table;
    auto bytes = file.read(0, static_cast<std::size_t>(file.size()));
    ff::FFRecord record;
    if (ff::Read8bfBytes(ByteView(bytes.data(), bytes.size()), fileName, record, true, false,
                         options)) {
      FilterInfo& filter = table.filters[0];
      filter.category = record.category;
      filter.title = record.title;
      filter.room = static_cast<std::uint32_t>(record.category.size());
    }
    table.ok = firstFilterNamed(table);
    return table;
  }
  return readResourceFilters(file);
}

FilterTable ReadCom8bf(const std::filesystem::path& file, const ff::FFOptions& options) {
  auto bytes = FileBytes::open(file);
  if (!bytes) return {};
  return ReadCom8bfFrom(*bytes, nameBytes(file), options);
}

FilterTable ReadCom8bfBytes(ByteView bytes, std::string_view fileName,
                            const ff::FFOptions& options) {
  auto file = FileBytes::fromMemory(bytes);
  return ReadCom8bfFrom(file, fileName, options);
}

}  // namespace qm::plugins
