#include "core/ff/plugin_reader.h"

#include <array>
#include <optional>

#include "core/ff/formula_cleanup.h"
#include "core/ff/plugin_file_io.h"
#include "core/ff/template_layout.h"
#include "core/ff/text_primitives.h"

namespace qm::ff {

namespace {

using namespace layout;

constexpr std::array<std::string_view, 3> kAcceptedSignatures = {"Filter Factory", "Filter-Factory",
                                                                 " FilterFactory"};

// Windows variants: the file size picks D, the signature place and the menu fields.
struct WindowsVariant {
  std::size_t size;
  long d;
  std::size_t signature;
  std::size_t title;
  std::size_t category;
};

constexpr std::array<WindowsVariant, 7> kWindowsVariants = {{
    {kSize304, kD304, kSignature304, at(kD304, kMenuTitleLength + 1),
     at(kD304, kMenuCategoryLength + 1)},
    {kSizeVarnet, kDVarnet, kSignature304, kVarnetTitleLength + 1, kVarnetCategoryLength + 1},
    {kSize50176, kD304, kSignature304, at(kD304, kMenuTitleLength + 1),
     at(kD304, kMenuCategoryLength + 1)},
    {kSize53760, kD53760, 27696, 30351, 30403},
    {kSize30, kD30, kSignature30, at(kD30, kMenuTitleLength + 1),
     at(kD30, kMenuCategoryLength + 1)},
    {kSize64, kD64, kSignature64, at(kD64, kMenuTitleLength + 1),
     at(kD64, kMenuCategoryLength + 1)},
    {kSize64Early, kD64Early, kSignature64Early, at(kD64Early, kMenuTitleLength + 1),
     at(kD64Early, kMenuCategoryLength + 1)},
}};

// The Macintosh plugin keeps the same block 19308 bytes on, with big-endian words (so the
// last byte of each word counts) and length-prefixed texts.
namespace mac {
constexpr std::size_t kSignature = 59017;  // "Filter " + the text here
constexpr std::size_t kTitleLength = 49852;
constexpr std::size_t kCategoryLength = 50124;
constexpr std::size_t kCopyrightLength = 51176;
constexpr std::size_t kAuthorLength = 51432;
constexpr std::size_t kMapNameLength = 51688;
constexpr std::size_t kControlNameLength = 52712;
constexpr std::size_t kFormulas = 54760;
constexpr std::size_t kSliderValues = 50571;
constexpr std::size_t kMapFlags = 50619;
constexpr std::size_t kControlFlags = 50635;
}  // namespace mac

bool isMacSize(std::size_t size) {
  return size == kSizeMacA || size == kSizeMacB;
}

const WindowsVariant* windowsVariant(std::size_t size) {
  for (const auto& v : kWindowsVariants)
    if (v.size == size) return &v;
  return nullptr;
}

bool isAccepted(std::string_view signature) {
  for (auto s : kAcceptedSignatures)
    if (signature == s) return true;
  return false;
}

bool flagIsSet(ByteView bytes, std::size_t offset) {
  return bytes.u8(offset) == 1;
}

// A length byte followed by the text; the text is cut to the length.
std::string lengthPrefixed(ByteView bytes, std::size_t lengthOffset) {
  std::string text = pluginText(bytes, lengthOffset + 1);
  std::size_t length = bytes.u8(lengthOffset).value_or(0);
  if (text.size() > length) text.resize(length);
  return text;
}

void defaultCategory(FFRecord& rec) {
  auto first = rec.category.find_first_not_of(' ');
  auto last = rec.category.find_last_not_of(' ');
  std::size_t trimmed = first == std::string::npos ? 0 : last - first + 1;
  if (trimmed < 2) rec.category = "Photoshop";
}

void readWindowsBlock(ByteView bytes, long d, FFRecord& rec) {
  rec.copyright = pluginText(bytes, inBlock(d, kCopyright));
  rec.author = pluginText(bytes, inBlock(d, kAuthor));
  for (std::size_t i = 0; i < rec.mapNames.size(); ++i) {
    long word = static_cast<long>(i) * kWordSize;
    long name = static_cast<long>(i) * kTextField;
    if (flagIsSet(bytes, inBlock(d, kMapFlags + word)))
      rec.mapNames[i] = pluginText(bytes, inBlock(d, kMapNames + name));
  }
  for (std::size_t i = 0; i < rec.controlNames.size(); ++i) {
    long word = static_cast<long>(i) * kWordSize;
    long name = static_cast<long>(i) * kTextField;
    if (flagIsSet(bytes, inBlock(d, kControlFlags + word)))
      rec.controlNames[i] = pluginText(bytes, inBlock(d, kControlNames + name));
    rec.sliderValues[i] = bytes.u8(inBlock(d, kSliderValues + word)).value_or(0);
  }
  for (std::size_t k = 0; k < rec.formulas.size(); ++k)
    rec.formulas[k] =
        pluginFormula(bytes, inBlock(d, kFormulas + static_cast<long>(k) * kFormulaField));
}

void readMacBlock(ByteView bytes, FFRecord& rec) {
  rec.copyright = lengthPrefixed(bytes, mac::kCopyrightLength);
  rec.author = lengthPrefixed(bytes, mac::kAuthorLength);
  for (std::size_t i = 0; i < rec.mapNames.size(); ++i)
    if (flagIsSet(bytes, mac::kMapFlags + 4 * i))
      rec.mapNames[i] = lengthPrefixed(bytes, mac::kMapNameLength + 256 * i);
  for (std::size_t i = 0; i < rec.controlNames.size(); ++i) {
    if (flagIsSet(bytes, mac::kControlFlags + 4 * i))
      rec.controlNames[i] = lengthPrefixed(bytes, mac::kControlNameLength + 256 * i);
    rec.sliderValues[i] = bytes.u8(mac::kSliderValues + 4 * i).value_or(0);
  }
  for (std::size_t k = 0; k < rec.formulas.size(); ++k)
    rec.formulas[k] = pluginFormula(bytes, mac::kFormulas + 1024 * k);
}

}  // namespace

bool Read8bfBytes(ByteView bytes, std::string_view fileName, FFRecord& rec, bool namesOnly,
                  bool optimize, const FFOptions& options) {
  rec.IniVars();
  rec.fileName = std::string(fileName);
  const bool macintosh = isMacSize(bytes.size());
  const WindowsVariant* variant = windowsVariant(bytes.size());
  if (!macintosh && !variant) return false;

  long d = 0;
  if (macintosh) {
    if (!isAccepted("Filter " + bytes2string2(bytes, mac::kSignature))) return false;
    rec.title = lengthPrefixed(bytes, mac::kTitleLength);
    rec.category = lengthPrefixed(bytes, mac::kCategoryLength);
  } else {
    std::string signature = bytes2string2(bytes, variant->signature);
    if (!isAccepted(signature)) return false;
    d = variant->d;
    std::size_t title = variant->title;
    std::size_t category = variant->category;
    if (signature == " FilterFactory" && (bytes.size() == kSize304 || bytes.size() == kSize50176)) {
      // This builder has no menu fields of its own: the data block's texts serve.
      d = kDBlankSignature;
      title = inBlock(d, kTitle);
      category = inBlock(d, kCategory);
    }
    rec.title = pluginText(bytes, title);
    rec.category = pluginText(bytes, category);
  }
  defaultCategory(rec);
  if (!namesOnly) {
    if (macintosh)
      readMacBlock(bytes, rec);
    else
      readWindowsBlock(bytes, d, rec);
  }
  if (!namesOnly && optimize) OptimizeCode(rec, options.noOptimize);
  rec.photoshopDialect = true;
  return true;
}

bool Read8bf(const std::filesystem::path& file, FFRecord& rec, bool namesOnly, bool optimize,
             const FFOptions& options) {
  rec.IniVars();
  rec.fileName = recordFileName(file);
  std::error_code ec;
  auto size = std::filesystem::file_size(file, ec);
  // Sizes outside the table are refused without opening the file.
  if (ec || (!isMacSize(size) && !windowsVariant(size))) return false;
  auto bytes = readWholeFile(file);
  if (!bytes) return false;
  const std::string name = rec.fileName;  // the bytes reader resets the record first
  return Read8bfBytes(ByteView(*bytes), name, rec, namesOnly, optimize, options);
}

}  // namespace qm::ff
