#include "core/common/unicode_text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <numeric>

namespace qm {
namespace {

// One run of upper-case letters and the distance to their lower-case forms. Alternating runs
// hold upper and lower letters in turn (upper first). Fold-only entries have no way back
// (ſ folds to s, but s does not upper-case to ſ).
struct CaseRun {
  char32_t first;
  char32_t last;
  std::int32_t delta;
  bool alternating;
  bool reversible;
};

constexpr std::array<CaseRun, 37> kCaseRuns = {{
    {0x0041, 0x005A, 32, false, true},     {0x00B5, 0x00B5, 775, false, false},
    {0x00C0, 0x00D6, 32, false, true},     {0x00D8, 0x00DE, 32, false, true},
    {0x0100, 0x012F, 1, true, true},       {0x0130, 0x0130, -199, false, false},
    {0x0132, 0x0137, 1, true, true},       {0x0139, 0x0148, 1, true, true},
    {0x014A, 0x0177, 1, true, true},       {0x0178, 0x0178, -121, false, true},
    {0x0179, 0x017E, 1, true, true},       {0x017F, 0x017F, -268, false, false},
    {0x0386, 0x0386, 38, false, true},     {0x0388, 0x038A, 37, false, true},
    {0x038C, 0x038C, 64, false, true},     {0x038E, 0x038F, 63, false, true},
    {0x0391, 0x03A1, 32, false, true},     {0x03A3, 0x03AB, 32, false, true},
    {0x03C2, 0x03C2, 1, false, false},     {0x03D0, 0x03D0, -30, false, false},
    {0x03D1, 0x03D1, -25, false, false},   {0x03F4, 0x03F4, -60, false, false},
    {0x0400, 0x040F, 80, false, true},     {0x0410, 0x042F, 32, false, true},
    {0x0460, 0x0481, 1, true, true},       {0x048A, 0x04BF, 1, true, true},
    {0x04C0, 0x04C0, 15, false, true},     {0x04C1, 0x04CE, 1, true, true},
    {0x04D0, 0x052F, 1, true, true},       {0x0531, 0x0556, 48, false, true},
    {0x1E00, 0x1E95, 1, true, true},       {0x1E9B, 0x1E9B, -58, false, false},
    {0x1E9E, 0x1E9E, -7615, false, false}, {0x1EA0, 0x1EFF, 1, true, true},
    {0x212A, 0x212A, -8383, false, false}, {0x212B, 0x212B, -8262, false, false},
    {0xFF21, 0xFF3A, 32, false, true},
}};

bool inRun(const CaseRun& run, char32_t c) {
  return c >= run.first && c <= run.last && (!run.alternating || (c - run.first) % 2 == 0);
}

char32_t shifted(char32_t c, std::int32_t delta) {
  return static_cast<char32_t>(static_cast<std::int64_t>(c) + delta);
}

bool isContinuation(unsigned char b) {
  return (b & 0xC0) == 0x80;
}

// Length of the well-formed sequence at bytes[i], or 0.
std::size_t sequenceLength(std::string_view bytes, std::size_t i) {
  const auto lead = static_cast<unsigned char>(bytes[i]);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // overlong
    if (lead == 0xED) high = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // overlong
    if (lead == 0xF4) high = 0x8F;  // beyond U+10FFFF
  } else {
    return 0;
  }
  if (bytes.size() - i < length) return 0;
  const auto second = static_cast<unsigned char>(bytes[i + 1]);
  if (second < low || second > high) return 0;
  for (std::size_t k = 2; k < length; ++k)
    if (!isContinuation(static_cast<unsigned char>(bytes[i + k]))) return 0;
  return length;
}

}  // namespace

std::u32string decodeUtf8(std::string_view bytes) {
  std::u32string out;
  out.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    const std::size_t length = sequenceLength(bytes, i);
    if (length == 0) {
      out.push_back(kReplacementCharacter);
      ++i;
      continue;
    }
    const auto lead = static_cast<unsigned char>(bytes[i]);
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k)
      c = c << 6 | (static_cast<unsigned char>(bytes[i + k]) & 0x3F);
    out.push_back(c);
    i += length;
  }
  return out;
}

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | c >> 18);
    out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string encodeUtf8(std::u32string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : text) appendUtf8(out, c);
  return out;
}

std::string displayText(std::string_view bytes) {
  // Most names are valid already; only those with bad bytes are rebuilt.
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t length = sequenceLength(bytes, i);
    if (length == 0) return encodeUtf8(decodeUtf8(bytes));
    i += length;
  }
  return std::string(bytes);
}

std::string displayName(const std::filesystem::path& path) {
  return displayText(path.filename().native());
}

std::string displayPath(const std::filesystem::path& path) {
  return displayText(path.native());
}

char32_t foldCase(char32_t c) {
  if (c < 0x41) return c;
  for (const CaseRun& run : kCaseRuns)
    if (inRun(run, c)) return shifted(c, run.delta);
  return c;
}

char32_t upperCase(char32_t c) {
  if (c < 0x61) return c;
  for (const CaseRun& run : kCaseRuns) {
    if (!run.reversible) continue;
    const char32_t upper = shifted(c, -run.delta);
    if (inRun(run, upper)) return upper;
  }
  return c;
}

std::u32string foldCase(std::string_view utf8) {
  std::u32string text = decodeUtf8(utf8);
  for (char32_t& c : text) c = foldCase(c);
  return text;
}

std::string withUpperFirst(std::string_view utf8) {
  if (utf8.empty()) return {};
  const std::size_t length = sequenceLength(utf8, 0);
  if (length == 0) return std::string(utf8);
  std::string out;
  appendUtf8(out, upperCase(decodeUtf8(utf8.substr(0, length)).front()));
  out.append(utf8.substr(length));
  return out;
}

bool textSortsBefore(std::string_view a, std::string_view b) {
  const std::u32string foldedA = foldCase(a);
  const std::u32string foldedB = foldCase(b);
  if (foldedA != foldedB) return foldedA < foldedB;
  return a < b;
}

std::vector<std::size_t> textOrder(const std::vector<std::string_view>& texts) {
  std::vector<std::u32string> folded;
  folded.reserve(texts.size());
  for (auto text : texts) folded.push_back(foldCase(text));
  std::vector<std::size_t> order(texts.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    if (folded[a] != folded[b]) return folded[a] < folded[b];
    return texts[a] < texts[b];
  });
  return order;
}

}  // namespace qm
