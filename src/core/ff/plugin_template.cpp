#include "core/ff/plugin_template.h"

#include <algorithm>
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

void writeHeaders(Image& img, std::size_t rsrcRaw, std::size_t rsrcSize, std::size_t usedSize,
                  std::uint32_t rsrcVirtual) {
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
  img.u32(opt + 24, rsrcVirtual);
  img.u32(opt + 28, kImageBase);
  img.u32(opt + 32, kSectionAlignment);
  img.u32(opt + 36, kFileAlignment);
  img.u16(opt + 40, 4);
  img.u16(opt + 44, 1);
  img.u16(opt + 48, 4);
  img.u32(opt + 56, static_cast<std::uint32_t>(rsrcVirtual + align(rsrcSize, kSectionAlignment)));
  img.u32(opt + 60, kHeaderSize);
  img.u16(opt + 68, 2);  // Windows GUI
  img.u32(opt + 72, 0x100000);
  img.u32(opt + 76, 0x1000);
  img.u32(opt + 80, 0x100000);
  img.u32(opt + 84, 0x1000);
  img.u32(opt + 92, 16);
  img.u32(opt + 96 + 2 * 8, rsrcVirtual);  // resource directory
  img.u32(opt + 96 + 2 * 8 + 4, static_cast<std::uint32_t>(usedSize));

  const std::size_t sec = kSectionTable;
  img.text(sec, ".rsrc");
  img.u32(sec + 8, static_cast<std::uint32_t>(rsrcSize));
  img.u32(sec + 12, rsrcVirtual);
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

void writeResourceDirectory(Image& img, std::size_t section, std::uint32_t sectionVirtual,
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

    img.u32(section + dataEntry, static_cast<std::uint32_t>(sectionVirtual + r.dataOffset));
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

void writePipl(Image& img, std::size_t pipl, std::string_view codeKey) {
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
  p = property(img, p, codeKey, 12);
  img.text(p - 12, "RunFilter");
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

struct Layout {
  long d;
  std::size_t size;
  std::size_t signature;
  std::uint32_t rsrcVirtual;
  std::string_view codeKey;  // the PIPL code descriptor of the architecture
};

Layout layoutOf(TemplateKind kind) {
  switch (kind) {
    case TemplateKind::FF304:
      return {kD304, kSize304, kSignature304, kRsrcVirtual, "wx86"};
    case TemplateKind::FF64:
      return {kD64, kSize64, kSignature64, kRsrcVirtual64, "8664"};
    case TemplateKind::FF30:
      break;
  }
  return {kD30, kSize30, kSignature30, kRsrcVirtual, "wx86"};
}

// Resources, data block and signature: the same for every template of a layout.
void writeTemplateData(Image& img, const Layout& l) {
  const std::size_t rsrcRaw = at(l.d, static_cast<long>(kRsrcRaw));
  img.text(l.signature, kSignature);
  writeResourceDirectory(
      img, rsrcRaw, l.rsrcVirtual,
      {{{"PARM", kParm - kRsrcRaw, kParmSize}, {"PIPL", kPipl - kRsrcRaw, kPiplSize}}});
  writePipl(img, at(l.d, static_cast<long>(kPipl)), l.codeKey);
  writeDataBlock(img, l.d);
}

// Read-only little-endian view of the runtime DLL; reads past the end give 0.
struct Bytes {
  const std::vector<std::uint8_t>& b;
  std::uint32_t u16(std::size_t at) const {
    return at + 2 <= b.size() ? static_cast<std::uint32_t>(b[at] | b[at + 1] << 8) : 0;
  }
  std::uint32_t u32(std::size_t at) const { return u16(at) | u16(at + 2) << 16; }
};

}  // namespace

std::vector<std::uint8_t> BuildTemplatePlugin(TemplateKind kind) {
  const Layout l = layoutOf(kind);
  const std::size_t rsrcRaw = at(l.d, static_cast<long>(kRsrcRaw));
  const std::size_t rsrcSize = l.size - rsrcRaw;
  Image img(l.size);
  writeHeaders(img, rsrcRaw, rsrcSize, kParm - kRsrcRaw + kParmSize, l.rsrcVirtual);
  writeTemplateData(img, l);
  return img.take();
}

RuntimeTemplate BuildRuntimeTemplate(TemplateKind kind, const std::vector<std::uint8_t>& runtime) {
  constexpr std::size_t kSectionHeader = 40;
  const Layout l = layoutOf(kind);
  const std::size_t rsrcRaw = at(l.d, static_cast<long>(kRsrcRaw));
  const std::size_t rsrcSize = l.size - rsrcRaw;
  const Bytes in{runtime};
  RuntimeTemplate out;
  if (runtime.size() < kHeaderSize || in.u16(0) != 0x5A4D || in.u32(0x3C) != kPeHeader ||
      in.u32(kPeHeader) != 0x4550) {
    out.error = "not a PE image with its header at 128";
    return out;
  }
  const std::size_t coff = kPeHeader + 4;
  const bool wide = kind == TemplateKind::FF64;
  if (in.u16(coff) != (wide ? 0x8664u : 0x014Cu)) {
    out.error = "the runtime is built for the wrong machine";
    return out;
  }
  const std::size_t sections = in.u16(coff + 2);
  const std::size_t opt = coff + 20;
  const std::size_t table = opt + in.u16(coff + 16);
  const std::size_t headers = in.u32(opt + 60);
  if (headers != kHeaderSize || table + (sections + 1) * kSectionHeader > headers) {
    out.error = "no room for one more section header";
    return out;
  }
  std::size_t rawEnd = headers;
  std::uint32_t virtualEnd = 0;
  for (std::size_t k = 0; k < sections; ++k) {
    const std::size_t h = table + k * kSectionHeader;
    const std::size_t raw = in.u32(h + 20), rawSize = in.u32(h + 16);
    if (rawSize && raw + rawSize > runtime.size()) {
      out.error = "a section runs past the end of the file";
      return out;
    }
    if (rawSize) rawEnd = std::max(rawEnd, raw + rawSize);
    virtualEnd = std::max(virtualEnd, in.u32(h + 12) + std::max(in.u32(h + 8), in.u32(h + 16)));
  }
  out.codeBytes = rawEnd - headers;
  if (rawEnd > l.signature || virtualEnd > l.rsrcVirtual) {
    out.error = "the runtime (" + std::to_string(out.codeBytes) +
                " bytes in the file, up to address " + std::to_string(virtualEnd) +
                ") does not fit before byte " + std::to_string(l.signature) + " and address " +
                std::to_string(l.rsrcVirtual);
    return out;
  }

  Image img(l.size);
  for (std::size_t k = 0; k < rawEnd; ++k) img.u8(k, runtime[k]);
  const std::size_t h = table + sections * kSectionHeader;
  img.text(h, ".rsrc");
  img.u32(h + 8, static_cast<std::uint32_t>(rsrcSize));
  img.u32(h + 12, l.rsrcVirtual);
  img.u32(h + 16, static_cast<std::uint32_t>(rsrcSize));
  img.u32(h + 20, static_cast<std::uint32_t>(rsrcRaw));
  img.u32(h + 36, 0x40000040);  // initialised data, readable
  img.u16(coff + 2, static_cast<std::uint16_t>(sections + 1));
  img.u32(opt + 8, in.u32(opt + 8) + static_cast<std::uint32_t>(rsrcSize));
  img.u32(opt + 56, static_cast<std::uint32_t>(l.rsrcVirtual + align(rsrcSize, kSectionAlignment)));
  img.u32(opt + 64, 0);  // checksum: not checked for DLLs
  const std::size_t directories = opt + (wide ? 112 : 96);
  img.u32(directories + 2 * 8, l.rsrcVirtual);
  img.u32(directories + 2 * 8 + 4, static_cast<std::uint32_t>(kParm - kRsrcRaw + kParmSize));
  writeTemplateData(img, l);
  out.bytes = img.take();
  return out;
}

}  // namespace qm::ff
