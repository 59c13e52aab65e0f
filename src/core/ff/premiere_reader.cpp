#include "core/ff/premiere_reader.h"

#include <array>

#include "core/ff/formula_cleanup.h"
#include "core/ff/plugin_file_io.h"
#include "core/ff/template_layout.h"
#include "core/ff/text_primitives.h"

namespace qm::ff {

namespace {

using namespace layout;

constexpr std::array<std::size_t, 3> kPremiereFFSizes = {50176, 50688, 53248};

// Premiere Filter Factory: marker bytes and fields relative to E.
constexpr std::size_t kFFMarker = 29020;
constexpr std::size_t kFFSubMarker = 28876;
constexpr std::size_t kFFHighMarker = 32030;
constexpr long kFFMenuName = 29106;
constexpr std::size_t kFFMenuNameShifted = 29098;  // where E = -4 keeps it
constexpr long kFFDataBlock = 29372;

// Transition Factory: marker bytes and fields relative to F.
constexpr std::size_t kTFMarker = 29080;
constexpr std::size_t kTFSubMarker = 22032;
constexpr std::string_view kTFSignature = "Premiere Transition Factory";
constexpr long kTFMenuName = 29170;
constexpr long kTFDataBlock = 29704;

// Premiere stores the formulas B, G, R, A; the record holds R, G, B, A.
constexpr std::array<std::size_t, 4> kFormulaSlot = {2, 1, 0, 3};

std::size_t place(long base, long offset) {
  return static_cast<std::size_t>(base + offset);
}

// The data block both kinds share with the Photoshop plugins; the text after the category
// slot is the copyright here.
void readPremiereBlock(ByteView bytes, long v, FFRecord& rec) {
  rec.copyright = pluginText(bytes, place(v, kTitle));
  for (std::size_t i = 0; i < rec.mapNames.size(); ++i) {
    long word = static_cast<long>(i) * kWordSize;
    if (bytes.u8(place(v, kMapFlags + word)) == 1)
      rec.mapNames[i] = pluginText(bytes, place(v, kMapNames + static_cast<long>(i) * kTextField));
  }
  for (std::size_t i = 0; i < rec.controlNames.size(); ++i) {
    long word = static_cast<long>(i) * kWordSize;
    rec.sliderValues[i] = bytes.u8(place(v, kSliderValues + word)).value_or(0);
    if (bytes.u8(place(v, kControlFlags + word)) == 1)
      rec.controlNames[i] =
          pluginText(bytes, place(v, kControlNames + static_cast<long>(i) * kTextField));
  }
  for (std::size_t k = 0; k < kFormulaSlot.size(); ++k)
    rec.formulas[kFormulaSlot[k]] =
        pluginFormula(bytes, place(v, kFormulas + static_cast<long>(k) * kFormulaField));
}

// "Category: Title" -> category and title (the character after the colon is skipped).
void splitMenuName(const std::string& name, FFRecord& rec) {
  auto colon = name.find(':');
  if (colon == std::string::npos) {
    rec.title = name;
    return;
  }
  rec.category = name.substr(0, colon);
  rec.title = colon + 2 <= name.size() ? name.substr(colon + 2) : std::string();
}

}  // namespace

std::optional<long> PremiereFFOffset(ByteView bytes) {
  auto marker = bytes.u8(kFFMarker);
  if (!marker) return std::nullopt;
  switch (*marker) {
    case 'D': {
      auto sub = bytes.u8(kFFSubMarker);
      if (sub == 'v') return -4;
      if (sub == 'r') return -8;
      return 0;
    }
    case 'e':
      return 504;
    case 202: {
      auto high = bytes.u8(kFFHighMarker);
      if (high == 'r') return 3064;
      if (high == 'c') return 3072;
      // Neither: not a plugin this reader knows.
      return std::nullopt;
    }
    case '5':
      return 0;
    default:
      return std::nullopt;
  }
}

std::optional<long> TransitionOffset(ByteView bytes) {
  auto marker = bytes.u8(kTFMarker);
  if (!marker) return std::nullopt;
  long f = 0;
  std::optional<std::size_t> signature;
  switch (*marker) {
    case 'n': {
      auto sub = bytes.u8(kTFSubMarker);
      if (sub == 'P') {
        f = 9904;
        signature = kTFSubMarker;
      } else if (sub == 139) {
        f = 520;
      } else {
        signature = 21520;
      }
      break;
    }
    case 'o':
      f = 3076;
      signature = 25104;
      break;
    case '2':
      signature = 21520;
      break;
    default:
      return std::nullopt;
  }
  if (signature && bytes2string2(bytes, *signature) != kTFSignature) return std::nullopt;
  return f;
}

bool ReadprmBytes(ByteView bytes, std::string_view fileName, FFRecord& rec, bool namesOnly,
                  bool optimize, const FFOptions& options) {
  rec.IniVars();
  rec.fileName = std::string(fileName);
  bool knownSize = false;
  for (auto size : kPremiereFFSizes) knownSize = knownSize || bytes.size() == size;
  if (!knownSize) return false;
  auto e = PremiereFFOffset(bytes);
  if (!e) return false;
  std::size_t menuName = *e == -4 ? kFFMenuNameShifted : place(*e, kFFMenuName);
  splitMenuName(pluginText(bytes, menuName), rec);
  if (!namesOnly) readPremiereBlock(bytes, *e + kFFDataBlock, rec);
  if (rec.category.empty()) rec.category = "[Premiere FF]";
  if (optimize) OptimizeCode(rec, options.noOptimize);
  rec.photoshopDialect = false;
  return true;
}

bool ReadTFBytes(ByteView bytes, std::string_view fileName, FFRecord& rec, bool namesOnly,
                 const FFOptions& options) {
  rec.IniVars();
  rec.fileName = std::string(fileName);
  auto f = TransitionOffset(bytes);
  if (!f) return false;
  rec.title = pluginText(bytes, place(*f, kTFMenuName));
  rec.category = "[Premiere TF]";
  // The data block of two variants sits a little further on than their menu name.
  long blockF = *f == 9904 ? *f + 8 : *f == 520 ? *f + 4 : *f;
  if (!namesOnly) readPremiereBlock(bytes, blockF + kTFDataBlock, rec);
  OptimizeCode(rec, options.noOptimize);
  rec.photoshopDialect = false;
  return true;
}

namespace {

template <typename Reader>
bool readFile(const std::filesystem::path& file, FFRecord& rec, Reader reader) {
  rec.IniVars();
  rec.fileName = recordFileName(file);
  auto bytes = readWholeFile(file);
  if (!bytes) return false;
  const std::string name = rec.fileName;  // the bytes readers reset the record first
  return reader(ByteView(*bytes), name);
}

}  // namespace

bool Readprm(const std::filesystem::path& file, FFRecord& rec, bool namesOnly, bool optimize,
             const FFOptions& options) {
  return readFile(file, rec, [&](ByteView bytes, const std::string& name) {
    return ReadprmBytes(bytes, name, rec, namesOnly, optimize, options);
  });
}

bool ReadTF(const std::filesystem::path& file, FFRecord& rec, bool namesOnly,
            const FFOptions& options) {
  return readFile(file, rec, [&](ByteView bytes, const std::string& name) {
    return ReadTFBytes(bytes, name, rec, namesOnly, options);
  });
}

}  // namespace qm::ff
