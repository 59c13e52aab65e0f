#include "pe_builder.h"

#include <algorithm>

namespace qm::test {
namespace {

void put16(Bytes& b, std::size_t at, std::uint32_t v) {
  if (b.size() < at + 2) b.resize(at + 2);
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(Bytes& b, std::size_t at, std::uint32_t v) {
  put16(b, at, v & 0xFFFF);
  put16(b, at + 2, v >> 16);
}
void append(Bytes& b, std::string_view s) {
  b.insert(b.end(), s.begin(), s.end());
}
void append32(Bytes& b, std::uint32_t v) {
  put32(b, b.size(), v);
}
void align4(Bytes& b) {
  while (b.size() % 4) b.push_back(0);
}
// UTF-16LE with its terminating zero.
void appendUtf16z(Bytes& b, std::string_view s) {
  for (char c : s) b.insert(b.end(), {static_cast<std::uint8_t>(c), 0});
  b.insert(b.end(), {0, 0});
}

// A property of a PIPL: vendor, key, id, length, data padded to 4.
void property(Bytes& b, std::string_view keyReversed, const Bytes& data) {
  append(b, "MIB8");
  append(b, keyReversed);
  append32(b, 0);
  append32(b, static_cast<std::uint32_t>(data.size()));
  b.insert(b.end(), data.begin(), data.end());
  // Data is padded to a multiple of 4 on its own; the 10-byte header keeps properties at
  // offsets 2 mod 4.
  b.insert(b.end(), (4 - data.size() % 4) % 4, 0);
}

Bytes pascal(std::string_view text) {
  Bytes d{static_cast<std::uint8_t>(text.size())};
  append(d, text);
  return d;
}

// The resource section: the root directory, a directory per type, one per item for its
// language, the data entries, the type names, then the data.
Bytes resourceSection(const std::vector<ResourceType>& types, std::uint32_t virtualAddress,
                      std::vector<std::size_t>& dataInSection) {
  // Named types first, by name, then the id types.
  std::vector<const ResourceType*> order;
  for (const auto& t : types)
    if (!t.name.empty()) order.push_back(&t);
  std::sort(order.begin(), order.end(), [](auto* a, auto* b) { return a->name < b->name; });
  const std::size_t named = order.size();
  for (const auto& t : types)
    if (t.name.empty()) order.push_back(&t);

  std::size_t items = 0, langDirs = 16 + 8 * order.size();
  for (auto* t : order) langDirs += 16 + 8 * t->items.size(), items += t->items.size();
  const std::size_t dataEntries = langDirs + 24 * items;
  Bytes s(dataEntries + 16 * items, 0);
  put16(s, 12, named);
  put16(s, 14, order.size() - named);
  std::size_t item = 0, typeDir = 16 + 8 * order.size();
  for (std::size_t i = 0; i < order.size(); ++i) {
    const ResourceType& t = *order[i];
    if (t.name.empty()) {
      put32(s, 16 + 8 * i, t.id);
    } else {
      put32(s, 16 + 8 * i, 0x80000000u | s.size());
      put16(s, s.size(), t.name.size());
      for (char c : t.name) put16(s, s.size(), static_cast<std::uint8_t>(c));
    }
    put32(s, 16 + 8 * i + 4, 0x80000000u | typeDir);
    put16(s, typeDir + 14, t.items.size());
    for (std::size_t k = 0; k < t.items.size(); ++k, ++item) {
      const std::size_t lang = langDirs + 24 * item;
      put32(s, typeDir + 16 + 8 * k, k + 1);
      put32(s, typeDir + 16 + 8 * k + 4, 0x80000000u | lang);
      put16(s, lang + 14, 1);
      put32(s, lang + 16, 0x409);
      put32(s, lang + 20, dataEntries + 16 * item);
    }
    typeDir += 16 + 8 * t.items.size();
  }
  align4(s);
  item = 0;
  for (auto* t : order) {
    for (const auto& data : t->items) {
      dataInSection.push_back(s.size());
      put32(s, dataEntries + 16 * item, virtualAddress + s.size());
      put32(s, dataEntries + 16 * item++ + 4, data.size());
      s.insert(s.end(), data.begin(), data.end());
      align4(s);
    }
  }
  return s;
}

}  // namespace

BuiltPe buildPe(const PeImage& image) {
  BuiltPe built;
  Bytes& b = built.bytes;
  std::vector<std::size_t> dataInSection;
  Bytes rsrc = resourceSection(image.resources, image.rsrcVirtual, dataInSection);

  b.assign(image.rsrcFileOffset, 0);
  const std::size_t pe = image.peOffset;
  put16(b, 0, 'M' | 'Z' << 8);
  put32(b, 0x3C, image.peOffset);
  put16(b, pe, 'P' | 'E' << 8);
  put16(b, pe + 4, image.machine);
  put16(b, pe + 6, 1);  // one section
  const std::uint32_t optionalSize = image.pe64 ? 240 : 224;
  put16(b, pe + 20, optionalSize);
  put16(b, pe + 22, 0x2102);  // executable, DLL
  const std::size_t opt = pe + 24;
  put16(b, opt, image.pe64 ? 0x20B : 0x10B);
  put32(b, opt + 32, 0x1000);  // section alignment
  put32(b, opt + 36, 0x200);   // file alignment
  const std::size_t sections = opt + optionalSize;
  std::copy_n(".rsrc", 5, b.begin() + static_cast<std::ptrdiff_t>(sections));
  put32(b, sections + 8, static_cast<std::uint32_t>(rsrc.size()));
  put32(b, sections + 12, image.rsrcVirtual);
  put32(b, sections + 16, static_cast<std::uint32_t>(rsrc.size()));
  put32(b, sections + 20, image.rsrcFileOffset);
  put32(b, sections + 36, 0x40000040);  // initialised data, readable

  b.resize(image.rsrcFileOffset);
  b.insert(b.end(), rsrc.begin(), rsrc.end());
  if (b.size() < image.totalSize) b.resize(image.totalSize, 0);
  for (auto d : dataInSection) built.dataOffsets.push_back(image.rsrcFileOffset + d);
  return built;
}

Bytes piplData(const PiplFilter& command, const PiplExtras& extras) {
  Bytes b;
  put16(b, 0, 1);
  append32(b, 0);
  std::uint32_t count = 1 + (command.name ? 1 : 0) + (command.category ? 1 : 0) + 1 +
                        (extras.modes ? 1 : 0) + (extras.enableInfo ? 1 : 0) +
                        static_cast<std::uint32_t>(extras.entryPoints.size());
  append32(b, count);
  property(b, "dnik", Bytes{'M', 'F', 'B', '8'});
  auto nameProperty = [&] {
    if (command.name) property(b, "eman", pascal(*command.name));
  };
  auto catgProperty = [&] {
    if (!command.category) return;
    Bytes data = pascal(*command.category);
    std::size_t size = command.catgDataSize ? command.catgDataSize : (data.size() + 3) / 4 * 4;
    data.resize(std::max(size, data.size()), 0);
    property(b, "gtac", data);
  };
  command.categoryFirst ? (catgProperty(), nameProperty()) : (nameProperty(), catgProperty());
  property(b, "tsoh", Bytes{'M', 'I', 'B', '8'});
  auto padded = [](Bytes data) {
    data.resize((data.size() + 3) / 4 * 4, 0);
    return data;
  };
  if (extras.modes) property(b, "edom", padded(*extras.modes));
  if (extras.enableInfo) {
    Bytes text(extras.enableInfo->begin(), extras.enableInfo->end());
    text.push_back(0);
    property(b, "lbne", padded(text));
  }
  for (const auto& key : extras.entryPoints) property(b, key, padded(Bytes{'M', 'a', 'i', 'n', 0}));
  return b;
}

std::size_t piplCategoryTextOffset(const PiplFilter& command) {
  Bytes b = piplData(command);
  for (std::size_t r = 0; r + 8 <= b.size(); ++r)
    if (b[r + 4] == 'g' && b[r + 5] == 't' && b[r + 6] == 'a' && b[r + 7] == 'c') return r + 17;
  return 0;
}

Bytes pimiData(std::string_view category, std::size_t size) {
  Bytes b{0, 0};
  append(b, category);
  b.push_back(0);
  if (b.size() < size) b.resize(size, 0);
  return b;
}

Bytes bfmData(std::string_view title) {
  Bytes b{1, 0};
  append(b, title);
  b.push_back(0);
  return b;
}

Bytes versionData(const std::vector<VersionStrings>& languages) {
  // A VS_VERSIONINFO-shaped block: each String record is wLength, wValueLength, wType, key
  // (UTF-16, zero), padding to 4, value (UTF-16, zero), padding to 4.
  Bytes b(6, 0);
  appendUtf16z(b, "VS_VERSION_INFO");
  align4(b);
  for (const auto& strings : languages) {
    b.insert(b.end(), 6, 0);
    appendUtf16z(b, "040904E4");
    align4(b);
    for (const auto& [key, value] : strings) {
      const std::size_t start = b.size();
      b.insert(b.end(), 6, 0);
      put16(b, start + 2, static_cast<std::uint32_t>(value.size() + 1));
      put16(b, start + 4, 1);
      appendUtf16z(b, key);
      align4(b);
      appendUtf16z(b, value);
      put16(b, start, static_cast<std::uint32_t>(b.size() - start));
      align4(b);
    }
  }
  put16(b, 0, static_cast<std::uint32_t>(b.size()));
  return b;
}

std::string piplPlugin(const std::vector<std::pair<std::string, std::string>>& filters,
                       std::uint16_t machine) {
  PeImage image;
  image.machine = machine;
  ResourceType pipl{"PIPL", 0, {}};
  for (const auto& [category, title] : filters)
    pipl.items.push_back(piplData({title, category, false, 0}));
  image.resources.push_back(pipl);
  return asString(buildPe(image).bytes);
}

}  // namespace qm::test
