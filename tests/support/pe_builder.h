#pragma once
// Builds small PE images (PE32 or PE32+) whose .rsrc section holds the resources the plugin
// readers look for: PIPL, PIMI, _8BFM and version resources. Every byte is made here.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qm::test {

using Bytes = std::vector<std::uint8_t>;

// One resource type: a name ("PIPL") or a numeric id, with one data item per id entry.
struct ResourceType {
  std::string name;      // empty: an id type
  std::uint16_t id = 0;  // for id types
  std::vector<Bytes> items;
};

struct PeImage {
  bool pe64 = false;
  std::uint16_t machine = 0x014C;
  std::uint32_t peOffset = 128;
  std::uint32_t rsrcFileOffset = 0x400;  // PointerToRawData
  std::uint32_t rsrcVirtual = 0x2000;    // VirtualAddress
  std::size_t totalSize = 0;             // pad the file to this size (0: as small as it gets)
  std::vector<ResourceType> resources;
};

// The image, and where each resource item's data landed (file offsets, in resource order).
struct BuiltPe {
  Bytes bytes;
  std::vector<std::size_t> dataOffsets;
};

BuiltPe buildPe(const PeImage& image);

// A PIPL resource with a kind, a name and a catg property (each optional, in that order
// unless categoryFirst). The catg data is the length-prefixed text padded with zeros to
// catgDataSize bytes (default: to the next multiple of 4), followed by a "host" property.
struct PiplFilter {
  std::optional<std::string> name;
  std::optional<std::string> category;
  bool categoryFirst = false;
  std::size_t catgDataSize = 0;
};
// Properties after the host property: a mode property with these flag bytes, an enable-info
// expression, and one entry point property per key ("68xw", "4668", "46aw").
struct PiplExtras {
  std::optional<Bytes> modes;
  std::optional<std::string> enableInfo;
  std::vector<std::string> entryPoints;
};
Bytes piplData(const PiplFilter& command, const PiplExtras& extras = {});
// Offset of the first category character within piplData(command).
std::size_t piplCategoryTextOffset(const PiplFilter& command);

// PIMI: two bytes, the zero-terminated category, padded to size bytes.
Bytes pimiData(std::string_view category, std::size_t size);
// _8BFM: two bytes, then the zero-terminated title.
Bytes bfmData(std::string_view title);

// A version resource: one StringTable per language, each holding the given key/value pairs,
// in UTF-16LE records aligned as a resource compiler aligns them.
using VersionStrings = std::vector<std::pair<std::string, std::string>>;
Bytes versionData(const std::vector<VersionStrings>& languages);

// A PE32 file of the machine with one PIPL resource per (category, title) filter, as bytes.
std::string piplPlugin(const std::vector<std::pair<std::string, std::string>>& filters,
                       std::uint16_t machine = 0x014C);

inline std::string asString(const Bytes& b) {
  return std::string(b.begin(), b.end());
}

}  // namespace qm::test
