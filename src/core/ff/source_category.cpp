#include "core/ff/source_category.h"

#include <algorithm>
#include <optional>

#include "core/ff/record.h"
#include "core/ff/source_text.h"
#include "core/ff/source_txt_info.h"
#include "core/ff/sources.h"
#include "core/ff/text_primitives.h"

namespace qm::ff {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kCR = 13;
constexpr std::uint8_t kLF = 10;
std::optional<FFRecord> readAs(ByteView bytes, InputKind kind, std::string_view fileName,
                               const FFOptions& options) {
  FFRecord rec;
  bool ok = false;
  if (kind == InputKind::Afs) ok = ReadAFSBytes(bytes, fileName, rec, options);
  if (kind == InputKind::Pff) ok = ReadPFFBytes(bytes, fileName, rec, options);
  if (kind == InputKind::Text) ok = ReadTXTBytes(bytes, fileName, rec, options);
  if (!ok) return std::nullopt;
  return rec;
}

// bytes with [first, last) replaced by text.
Bytes spliced(ByteView bytes, std::size_t first, std::size_t last, std::string_view text) {
  Bytes out(bytes.data(), bytes.data() + first);
  out.insert(out.end(), text.begin(), text.end());
  out.insert(out.end(), bytes.data() + last, bytes.data() + bytes.size());
  return out;
}

// A line's text [begin, end) and the start of the next line, by the text-file line rule.
struct LineSpan {
  std::size_t begin, end, next;
};

std::vector<LineSpan> lineSpans(ByteView bytes) {
  std::vector<LineSpan> lines;
  std::size_t begin = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    auto c = bytes.span()[i];
    if (c != kCR && c != kLF) continue;
    std::size_t next = c == kCR && bytes.u8(i + 1) == kLF ? i + 2 : i + 1;
    lines.push_back({begin, i, next});
    begin = next;
    i = next - 1;
  }
  if (begin < bytes.size()) lines.push_back({begin, bytes.size(), bytes.size()});
  return lines;
}

std::string_view textOf(ByteView bytes, const LineSpan& line) {
  return {reinterpret_cast<const char*>(bytes.data()) + line.begin, line.end - line.begin};
}

// The first line ending of the file, CR LF when it has none.
std::string lineEndingOf(ByteView bytes, const std::vector<LineSpan>& lines) {
  if (lines.empty() || lines.front().next == lines.front().end) return "\r\n";
  const auto& first = lines.front();
  return std::string(reinterpret_cast<const char*>(bytes.data()) + first.end,
                     first.next - first.end);
}

// Ways to put the category into a .txt, most faithful first.
std::vector<Bytes> textCandidates(ByteView bytes, std::string_view category) {
  std::vector<Bytes> candidates;
  const auto lines = lineSpans(bytes);
  std::vector<std::string> texts;
  for (const auto& line : lines) texts.emplace_back(textOf(bytes, line));
  if (isPluginInformationText(texts)) {
    // The value is the line after the CATEGORY: label that follows the FILENAME: line.
    bool sawFileName = false;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
      sawFileName = sawFileName || texts[i].starts_with("FILENAME:");
      if (sawFileName && texts[i].starts_with("CATEGORY:")) {
        candidates.push_back(spliced(bytes, lines[i + 1].begin, lines[i + 1].end, category));
        break;
      }
    }
    return candidates;
  }
  // The reader keeps the last "category:" line outside the formulas; try the last first.
  for (std::size_t i = lines.size(); i-- > 0;) {
    if (!startsWithNoCase(texts[i], "category:")) continue;
    // Only the value is replaced; the blanks around it, which the reader trims, stay.
    std::size_t first = lines[i].begin + 9;
    std::size_t last = lines[i].end;
    while (first < last && bytes.span()[first] == ' ') ++first;
    while (last > first && bytes.span()[last - 1] == ' ') --last;
    candidates.push_back(spliced(bytes, first, last, category));
  }
  const std::string added = "Category: " + std::string(category) + lineEndingOf(bytes, lines);
  candidates.push_back(spliced(bytes, 0, 0, added));
  return candidates;
}

std::string withCrLf(std::string_view crLines) {
  std::string out;
  for (char c : crLines) {
    out += c;
    if (c == '\r') out += '\n';
  }
  return out;
}

// Ways to put the category into an .afs or .pff: over the trailer's first line, or a trailer
// added to a source that has none.
std::vector<Bytes> afsPffCandidates(ByteView bytes, bool pff, const FFRecord& before,
                                    std::string_view category) {
  const std::size_t trailer = afsPffTrailerOffset(bytes, pff);
  if (trailer < bytes.size()) {
    // The line runs to the first CR that a byte of 13 or less (or the end) follows.
    std::size_t end = trailer;
    while (end < bytes.size() &&
           !(bytes.span()[end] == kCR && bytes.u8(end + 1).value_or(0) <= kCR))
      ++end;
    return {spliced(bytes, trailer, end, category)};
  }
  std::string added;
  for (auto text : {std::string_view(category), std::string_view(before.title),
                    std::string_view(before.author), std::string_view(before.copyright)}) {
    Writecode(added, text);
    Writecode(added, "");
  }
  for (std::size_t k = 0; k < before.controlNames.size(); ++k) {
    Writecode(added, std::to_string(k + 1) + ": " + before.controlNames[k]);
    Writecode(added, "");
  }
  // The last formula must be closed by two CRs before the trailer can follow it.
  std::vector<Bytes> candidates;
  for (std::string_view closing : {"", "\r", "\r\r"}) {
    std::string tail = std::string(closing) + added;
    // A file with CR LF lines gets its trailer in the same line ends.
    if (afsPffHasCrLfLines(bytes)) tail = withCrLf(tail);
    candidates.push_back(spliced(bytes, bytes.size(), bytes.size(), tail));
  }
  return candidates;
}

}  // namespace

Outcome<std::vector<std::uint8_t>, std::string> withSourceCategory(ByteView bytes, InputKind kind,
                                                                   std::string_view fileName,
                                                                   std::string_view category,
                                                                   const FFOptions& options) {
  auto before = readAs(bytes, kind, fileName, options);
  if (!before) return Failure{std::string(kNotFilterFactory)};
  FFRecord wanted = *before;
  wanted.category = std::string(category);
  auto candidates = kind == InputKind::Text
                        ? textCandidates(bytes, category)
                        : afsPffCandidates(bytes, kind == InputKind::Pff, *before, category);
  // Only a rewrite that reads back to the same filter is kept.
  for (auto& candidate : candidates) {
    auto after = readAs(ByteView(candidate), kind, fileName, options);
    if (after && *after == wanted) return std::move(candidate);
  }
  const auto span = bytes.span();
  const bool lfOnly = std::find(span.begin(), span.end(), kCR) == span.end() &&
                      std::find(span.begin(), span.end(), std::uint8_t{'\n'}) != span.end();
  if (kind != InputKind::Text && lfOnly) return Failure{std::string(kLfOnlyLines)};
  return Failure{std::string(kCategoryNotStorable)};
}

}  // namespace qm::ff
