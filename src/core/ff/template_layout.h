#pragma once
// Fixed places inside Filter Factory plugins: the FF data block, the menu fields of the
// template's PIPL and the PE image around them. The plugin reader, the plugin writer and the
// template generator (tools/make_template) share these numbers, so they live only here.
// All offsets are 0-based file offsets.

#include <cstddef>
#include <cstdint>

namespace qm::ff::layout {

// File sizes of the known Windows plugin variants and the Macintosh MacBinary files.
inline constexpr std::size_t kSize304 = 49152;     // Filter Factory 3.04
inline constexpr std::size_t kSizeVarnet = 49664;  // a 3.04 plugin of a third-party designer
inline constexpr std::size_t kSize50176 = 50176;
inline constexpr std::size_t kSize53760 = 53760;
inline constexpr std::size_t kSize30 = 57344;  // Filter Factory 3.0
inline constexpr std::size_t kSize64 = 81920;  // our 64-bit runtime template, photo64.dll
inline constexpr std::size_t kSizeMacA = 99712;
inline constexpr std::size_t kSizeMacB = 99840;

// Layout offsets D: every data-block offset below is D + its 3.0 value.
inline constexpr long kD30 = 0;
inline constexpr long kD304 = -7168;
inline constexpr long kDVarnet = -4668;
inline constexpr long kD53760 = -576;
inline constexpr long kDBlankSignature = -5096;  // 49152/50176 signed " FilterFactory"
// photo64.dll: the 3.0 layout 24576 bytes later, which leaves the 64-bit code room for the
// block evaluator compiled for speed before the resources.
inline constexpr long kD64 = 24576;

// The FF data block (C-string layout); V = D + kDataBlock.
inline constexpr long kDataBlock = 31260;
inline constexpr long kStandaloneWord = -4;  // relative to V
inline constexpr long kSliderValues = 0;     // 8 words
inline constexpr long kDialogWord = 32;
inline constexpr long kMapFlags = 48;      // 4 words
inline constexpr long kControlFlags = 64;  // 8 words
inline constexpr long kCategory = 96;
inline constexpr long kTitle = 352;
inline constexpr long kCopyright = 608;
inline constexpr long kAuthor = 864;
inline constexpr long kMapNames = 1120;
inline constexpr long kControlNames = 2144;
inline constexpr long kFormulas = 4192;  // R, G, B, A
inline constexpr long kWordSize = 4;
inline constexpr long kTextField = 256;
inline constexpr long kFormulaField = 1024;
inline constexpr long kDataBlockEnd = kFormulas + 4 * kFormulaField;
// The writer ends every formula with four NUL bytes.
inline constexpr std::size_t kFormulaTerminator = 4;
inline constexpr std::size_t kMaxTextChars = kTextField - 1;
inline constexpr std::size_t kMaxFormulaChars = kFormulaField - kFormulaTerminator;

// Menu title and category of the templates (length byte, then the text), D-relative, and the
// supported-modes word of the PIPL "mode" property.
inline constexpr long kMenuTitleLength = 31010;
inline constexpr long kMenuCategoryLength = 31062;
inline constexpr long kModesWord = 31154;
// Each PIPL text property has 36 data bytes: length byte, at most 34 characters and a zero.
// A longer text would run into the next property's header.
inline constexpr std::size_t kMenuFieldChars = 34;

// The third-party 3.04 variant keeps its menu fields and modes word elsewhere, and has an
// about text (UTF-16 low bytes) that names author and copyright.
inline constexpr long kVarnetTitleLength = 34926;
inline constexpr long kVarnetCategoryLength = 34978;
inline constexpr long kVarnetModesWord = 35070;
inline constexpr long kVarnetAboutText = 42334;
inline constexpr std::size_t kVarnetAboutLimit = 60;  // at this length the text is shortened

// Where the optional large-preview dialog layout is written (D-relative).
inline constexpr long kPreviewLayout = 43808;

// Supported-modes word values.
inline constexpr std::uint16_t kModesRgbOnly = 16;
inline constexpr std::uint16_t kModesAll = 0xFFFF;
// What our runtime serves with All Modes: greyscale, RGB and CMYK, 8 bits each.
inline constexpr std::uint16_t kModesRuntime = 0x58;

// Signature texts, each followed by a NUL.
inline constexpr char kSignature[] = "Filter Factory";
inline constexpr std::size_t kSignature30 = 28208;
// The 3.04 sizes (49152, 49664, 50176) are signed at 21024, which is where the reader looks;
// our photo304.dll puts its signature there too rather than 7168 bytes before 28208.
inline constexpr std::size_t kSignature304 = 21024;
inline constexpr std::size_t kSignature64 = kSignature30 + kD64;

// PE image of the generated templates (3.0 numbers; the 3.04 template's file offsets are
// kD304 lower, its virtual addresses the same).
inline constexpr std::size_t kPeHeader = 128;
inline constexpr std::size_t kSectionTable = kPeHeader + 4 + 20 + 224;  // PE32, 16 directories
inline constexpr std::size_t kHeaderSize = 0x400;
inline constexpr std::size_t kFileAlignment = 0x200;
inline constexpr std::size_t kSectionAlignment = 0x1000;
inline constexpr std::uint32_t kImageBase = 0x10000000;
inline constexpr std::size_t kRsrcRaw = 29184;
inline constexpr std::uint32_t kRsrcVirtual = 0xB000;
inline constexpr std::uint32_t kRsrcVirtual64 = 0x20000;  // above any 64-bit runtime's sections
inline constexpr std::size_t kPipl = 30964;
inline constexpr std::size_t kPiplSize = 286;
inline constexpr std::size_t kParm = 31252;
inline constexpr std::size_t kParmSize = 8296;
inline constexpr std::uint16_t kResourceId = 16;  // both PIPL and PARM

// File offset of a D-relative place.
constexpr std::size_t at(long d, long offset) {
  return static_cast<std::size_t>(d + offset);
}
// File offset of a place in the data block.
constexpr std::size_t inBlock(long d, long offset) {
  return static_cast<std::size_t>(d + kDataBlock + offset);
}

static_assert(kParm + 8 == static_cast<std::size_t>(kDataBlock));
static_assert(kParm + kParmSize == static_cast<std::size_t>(kDataBlock + kDataBlockEnd));
static_assert(kPipl + kPiplSize <= kParm);

}  // namespace qm::ff::layout
