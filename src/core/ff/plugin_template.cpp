#include "core/ff/plugin_template.h"

#include <array>
#include <string_view>

#include "core/ff/template_layout.h"

namespace qm::ff {

namespace {

using namespace layout;

// Little-endian stores into a buffer that is always large enough (the layout is fixed).
class Image {
 public:
  explicit Image(std::size_t size) : bytes_(size, 0) {}
  void u8(std::size_t at, std::uint8_t v) { bytes_.at(at) = v; }
  void u16(std::size_t at, std::uint16_t v) {
    u8(at, static_cast<std::uint8_t>(v));
    u8(at + 1, static_cast<std::uint8_t>(v >> 8));
  }
  void u32(std::size_t at, std::uint32_t v) {
    u16(at, static_cast<std::uint16_t>(v));
    u16(at + 2, static_cast<std::uint16_t>(v >> 16));
  }
  void text(std::size_t at, std::string_view s) {
    for (char c : s) u8(at++, static_cast<std::uint8_t>(c));
  }
  // A four-character code stored as a little-endian number, as resources on x86 hold them.
  void code(std::size_t at, std::string_view fourCC) {
    for (std::size_t i = 0; i < 4; ++i) u8(at + i, static_cast<std::uint8_t>(fourCC[3 - i]));
  }
  std::vector<std::uint8_t> take() { return std::move(bytes_); }

 private:
  std::vector<std::uint8_t> bytes_;
};

constexpr std::size_t align(std::size_t v, std::size_t to) {
  return (v + to - 1) / to * to;
}

void writeHeaders(Image& img, std::size_t rsrcRaw, std::size_t rsrcSize, std::size_t usedSize) {
  img.text(0, "MZ");
  img.u32(0x3C, kPeHeader);
  img.text(0x40, "Quillmark template plugin: resources only, no code.");

  img.text(kPeHeader, std::string_view("PE\0\0", 4));
  const std::size_t coff = kPeHeader + 4;
  img.u16(coff, 0x014C);  // i386
  img.u16(coff + 2, 1);   // one section
  img.u16(coff + 16, 224);
  img.u16(coff + 18, 0x2102);  // executable image, 32-bit, DLL

  const std::size_t opt = coff + 20;
  img.u16(opt, 0x10B);  // PE32
  img.u8(opt + 2, 1);
  img.u32(opt + 8, static_cast<std::uint32_t>(rsrcSize));
  img.u32(opt + 24, kRsrcVirtual);
  img.u32(opt + 28, kImageBase);
  img.u32(opt + 32, kSectionAlignment);
  img.u32(opt + 36, kFileAlignment);
  img.u16(opt + 40, 4);
  img.u16(opt + 44, 1);
  img.u16(opt + 48, 4);
  img.u32(opt + 56, static_cast<std::uint32_t>(kRsrcVirtual + align(rsrcSize, kSectionAlignment)));
  img.u32(opt + 60, kHeaderSize);
  img.u16(opt + 68, 2);  // Windows GUI
  img.u32(opt + 72, 0x100000);
  img.u32(opt + 76, 0x1000);
  img.u32(opt + 80, 0x100000);
  img.u32(opt + 84, 0x1000);
  img.u32(opt + 92, 16);
  img.u32(opt + 96 + 2 * 8, kRsrcVirtual);  // resource directory
  img.u32(opt + 96 + 2 * 8 + 4, static_cast<std::uint32_t>(usedSize));

  const std::size_t sec = kSectionTable;
  img.text(sec, ".rsrc");
  img.u32(sec + 8, static_cast<std::uint32_t>(rsrcSize));
  img.u32(sec + 12, kRsrcVirtual);
  img.u32(sec + 16, static_cast<std::uint32_t>(rsrcSize));
  img.u32(sec + 20, static_cast<std::uint32_t>(rsrcRaw));
  img.u32(sec + 36, 0x40000040);  // initialised data, readable
}

// Resource directory: two named types (sorted: PARM, PIPL), each with one id and one language.
// Offsets are relative to the section start.
struct Resource {
  std::string_view type;
  std::size_t dataOffset;
  std::size_t dataSize;
};

void writeResourceDirectory(Image& img, std::size_t section,
                            const std::array<Resource, 2>& resources) {
  constexpr std::uint32_t kSubdirectory = 0x80000000;
  constexpr std::size_t kDirHeader = 16;
  constexpr std::size_t kEntry = 8;
  constexpr std::size_t kTypeDirs = kDirHeader + 2 * kEntry;
  constexpr std::size_t kLanguageDirs = kTypeDirs + 2 * (kDirHeader + kEntry);
  constexpr std::size_t kDataEntries = kLanguageDirs + 2 * (kDirHeader + kEntry);
  constexpr std::size_t kNames = kDataEntries + 2 * 16;
  constexpr std::uint16_t kLanguage = 0x0409;

  img.u16(section + 12, 2);  // named entries
  for (std::size_t i = 0; i < resources.size(); ++i) {
    const auto& r = resources[i];
    std::size_t typeDir = kTypeDirs + i * (kDirHeader + kEntry);
    std::size_t langDir = kLanguageDirs + i * (kDirHeader + kEntry);
    std::size_t dataEntry = kDataEntries + i * 16;
    std::size_t name = kNames + i * 10;

    img.u32(section + kDirHeader + i * kEntry, kSubdirectory | static_cast<std::uint32_t>(name));
    img.u32(section + kDirHeader + i * kEntry + 4,
            kSubdirectory | static_cast<std::uint32_t>(typeDir));
    img.u16(section + name, 4);
    for (std::size_t c = 0; c < 4; ++c)
      img.u16(section + name + 2 + 2 * c, static_cast<std::uint8_t>(r.type[c]));

    img.u16(section + typeDir + 14, 1);  // one id entry
    img.u32(section + typeDir + kDirHeader, kResourceId);
    img.u32(section + typeDir + kDirHeader + 4,
            kSubdirectory | static_cast<std::uint32_t>(langDir));

    img.u16(section + langDir + 14, 1);
    img.u32(section + langDir + kDirHeader, kLanguage);
    img.u32(section + langDir + kDirHeader + 4, static_cast<std::uint32_t>(dataEntry));

    img.u32(section + dataEntry, static_cast<std::uint32_t>(kRsrcVirtual + r.dataOffset));
    img.u32(section + dataEntry + 4, static_cast<std::uint32_t>(r.dataSize));
  }
}

// One PIPL property: vendor, key, id, data length, then the data; returns where the next starts.
std::size_t property(Image& img, std::size_t at, std::string_view key, std::size_t length) {
  img.code(at, "8BIM");
  img.code(at + 4, key);
  img.u32(at + 12, static_cast<std::uint32_t>(length));
  return at + 16 + length;
}

void menuText(Image& img, std::size_t lengthByte, std::string_view text) {
  img.u8(lengthByte, static_cast<std::uint8_t>(text.size()));
  img.text(lengthByte + 1, text);
}

void writePipl(Image& img, std::size_t pipl) {
  constexpr std::size_t kMenuData = kMenuFieldChars + 2;
  img.u16(pipl, 1);
  img.u32(pipl + 6, 9);  // property count
  std::size_t p = pipl + 10;
  p = property(img, p, "kind", 4);
  img.code(p - 4, "8BFM");
  p = property(img, p, "name", kMenuData);
  menuText(img, p - kMenuData, kTemplateTitle);
  p = property(img, p, "catg", kMenuData);
  menuText(img, p - kMenuData, kTemplateCategory);
  p = property(img, p, "vers", 4);
  img.u32(p - 4, 0x00040000);
  p = property(img, p, "prty", 4);
  p = property(img, p, "mode", 4);
  img.u16(p - 4, kModesRgbOnly);
  p = property(img, p, "host", 4);
  img.code(p - 4, "8BIM");
  p = property(img, p, "wx86", 12);
  img.text(p - 12, "QmFilter");
  p = property(img, p, "fici", 28);
  for (std::size_t c = 0; c < 7; ++c) {
    img.u8(p - 28 + 4 * c, 1);
    img.u8(p - 28 + 4 * c + 1, 1);
  }
}

void writeDataBlock(Image& img, long d) {
  img.u32(at(d, kDataBlock) - 8, static_cast<std::uint32_t>(kParmSize));
  img.u8(inBlock(d, kStandaloneWord), 1);
  img.u8(inBlock(d, kDialogWord), 1);
  // The data block's texts stay zeros: a writer that leaves one short never shows ours.
  constexpr std::array<std::string_view, 4> kIdentity = {"r", "g", "b", "a"};
  for (std::size_t k = 0; k < kIdentity.size(); ++k)
    img.text(inBlock(d, kFormulas + static_cast<long>(k) * kFormulaField), kIdentity[k]);
}

}  // namespace

std::vector<std::uint8_t> BuildTemplatePlugin(TemplateKind kind) {
  const bool old = kind == TemplateKind::FF30;
  const long d = old ? kD30 : kD304;
  const std::size_t size = old ? kSize30 : kSize304;
  const std::size_t rsrcRaw = at(d, static_cast<long>(kRsrcRaw));
  const std::size_t rsrcSize = size - rsrcRaw;
  const std::size_t piplData = kPipl - kRsrcRaw;
  const std::size_t parmData = kParm - kRsrcRaw;

  Image img(size);
  writeHeaders(img, rsrcRaw, rsrcSize, parmData + kParmSize);
  img.text(old ? kSignature30 : kSignature304, kSignature);
  writeResourceDirectory(img, rsrcRaw,
                         {{{"PARM", parmData, kParmSize}, {"PIPL", piplData, kPiplSize}}});
  writePipl(img, at(d, static_cast<long>(kPipl)));
  writeDataBlock(img, d);
  return img.take();
}

}  // namespace qm::ff
