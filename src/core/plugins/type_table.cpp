#include "core/plugins/type_table.h"

#include <algorithm>
#include <array>

#include "core/common/cp1252.h"
#include "core/common/unicode_text.h"
#include "core/ff/plugin_file_io.h"
#include "core/plugins/file_bytes.h"
#include "core/plugins/text_util.h"

namespace qm::plugins {
namespace {

constexpr std::array<std::string_view, 53> kDefaults = {
    "Acrobat Plugin (api|2)",
    "trueSpace Plugin (tsx|1)",
    "Lightwave Plugin (p|3)",
    "Maya Plugin (mll|3)",
    "Photoshop Action (atn|3)",
    "Illustrator Plugin (aip|3)",
    "ActiveX Plugin (ax|0)",
    "Ulead Filter Plugin (vft|3)",
    "Ulead FX Plugin (vfx|3)",
    "Ulead Audio Plugin (aft|3)",
    "PS Export Plugin (8be|1)",
    "PS File Format Plugin (8bi|1)",
    "PS Import Plugin (8ba|0)",
    "PS Extension Plugin (8bx|0)",
    "PS Automation Plugin (8li|1)",
    "PS Parser Plugin (8by|2)",
    "PS General Plugin (8bp|1)",
    "PS Color Picker Plugin (8bc|1)",
    "PS Selection Plugin (8bs|1)",
    "ACDSee Plugin (apl|0)",
    "PSP 6 Pattern (pat|3)",
    "PSP 6 Texture (tex|3)",
    "PSP 7 Shape (jsl|3)",
    "PSP 7 Texture/Pattern (bmp|3)",
    "PSP 7 Brush (jbr|3)",
    "PSP 7 Frame (pfr|3)",
    "PSP 7 Gradient (jgd|3)",
    "PSP 7 Image (psp|3)",
    "PSP 7 Mask (msk|3)",
    "PSP 7 Styled Line (sld|3)",
    "PSP 7 Tube (tub|3)",
    "PSP 7 Texture/Pattern (bmp|3)",
    "PSP 8 Brush (pspbrush|3)",
    "PSP 8 Deformation Map (pspdeformationmap|3)",
    "PSP 8 Frame (pspframe|3)",
    "PSP 8 Gradient (pspgradient|3)",
    "PSP 8 Image (pspimage|3)",
    "PSP 8 Mask (pspmask|3)",
    "PSP 8 Script (pspscript|3)",
    "PSP 8 Selection (pspselection|3)",
    "PSP 8 Shape (pspshape|3)",
    "PSP 8 Styled Line (pspstyledline|3)",
    "PSP 8 Tube (psptube|3)",
    "Painter Plugin (arp|3)",
    "PhotoImpact Plugin (upi|0)",
    "Photo-Paint Plugin (eff|1)",
    "Ultimate Paint Plugin (upc|3)",
    "Quick Time Extension (qtx|0)",
    "Hollywood FX Effect (hfx|3)",
    "Avid Express (avx|0)",
    "QuarkXpress XTension (xxt|0)",
    "Indesign Plugin (pln|0)",
    "PhotoBrush Plugin (xtr|3)",
};

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view trimmedView(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool isTickWord(std::string_view word) {
  static constexpr std::array<std::string_view, 7> kWords = {"true", "false", "#true#", "#false#",
                                                             "-1",   "0",     "1"};
  const auto w = lowerCp1252(word);
  return std::find(kWords.begin(), kWords.end(), w) != kWords.end();
}

bool tickOn(std::string_view word) {
  auto w = lowerCp1252(word);
  return w == "true" || w == "#true#" || w == "-1" || w == "1";
}

bool isExtensionByte(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
         (c >= 0xC0 && c != 0xD7 && c != 0xF7);
}

// "LABEL (EXT|D)" with nothing in the label that would cut it differently.
bool isReadableEntry(std::string_view text) {
  const auto open = text.find('(');
  if (open == std::string_view::npos || trimmedView(text.substr(0, open)).empty()) return false;
  if (text.substr(0, open).find_first_of(",\")|") != std::string_view::npos) return false;
  const auto bar = text.find('|', open);
  if (bar == std::string_view::npos || bar == open + 1) return false;
  for (char c : text.substr(open + 1, bar - open - 1))
    if (!isExtensionByte(static_cast<unsigned char>(c))) return false;
  return text.size() == bar + 3 && text[bar + 1] >= '0' && text[bar + 1] <= '9' &&
         text[bar + 2] == ')';
}

// One line of the file: an entry's text, its tick, or both as older versions wrote them
// ("Text (ext|0)",#TRUE#), quotes around the text dropped.
struct IniLine {
  std::string text;
  std::optional<bool> tick;
};

IniLine readIniLine(std::string_view line) {
  line = trimmedView(line);
  IniLine read;
  if (isTickWord(line)) {
    read.tick = tickOn(line);
    return read;
  }
  if (auto comma = line.rfind(','); comma != std::string_view::npos) {
    const auto word = trimmedView(line.substr(comma + 1));
    if (isTickWord(word)) {
      read.tick = tickOn(word);
      line = trimmedView(line.substr(0, comma));
    }
  }
  if (line.size() >= 2 && line.front() == '"' && line.back() == '"')
    line = trimmedView(line.substr(1, line.size() - 2));
  read.text = std::string(line);
  return read;
}

// name and extension are case-folded; the character before the extension must be "." (or
// "_" when underscoreToo).
bool endsWithExtension(std::u32string_view name, std::u32string_view extension,
                       bool underscoreToo) {
  if (extension.empty() || name.size() < extension.size() + 1) return false;
  if (!name.ends_with(extension)) return false;
  const char32_t before = name[name.size() - extension.size() - 1];
  return before == U'.' || (underscoreToo && before == U'_');
}

}  // namespace

void sortTypeList(TypeList& list) {
  std::stable_sort(list.begin(), list.end(), [](const TypeEntry& a, const TypeEntry& b) {
    return cp1252SortsBefore(a.text, b.text);
  });
}

TypeList defaultTypeList() {
  TypeList list;
  for (auto text : kDefaults) list.push_back({std::string(text), true});
  sortTypeList(list);
  return list;
}

std::optional<TypeList> LoadList(const std::filesystem::path& file, bool* lostLines) {
  auto bytes = readWholeFile(file);
  if (!bytes) return std::nullopt;
  const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
  TypeList list;
  bool lost = false;
  // The tick line after an entry belongs to it; after an entry that could not be read it
  // belongs to nothing.
  bool awaitingTick = false;
  bool lastReadable = false;
  std::size_t start = 0;
  while (start < text.size()) {
    auto end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    const IniLine line = readIniLine(text.substr(start, end - start));
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    if (line.text.empty()) {
      if (line.tick && awaitingTick && lastReadable) list.back().ticked = *line.tick;
      if (line.tick) awaitingTick = false;
      continue;
    }
    awaitingTick = !line.tick;
    lastReadable = isReadableEntry(line.text);
    if (lastReadable)
      list.push_back({line.text, line.tick.value_or(false)});
    else
      lost = true;
  }
  if (lostLines) *lostLines = lost;
  sortTypeList(list);
  return list;
}

bool SaveList(const std::filesystem::path& file, const TypeList& list) {
  std::string text;
  for (const auto& entry : list)
    text += entry.text + "\r\n" + (entry.ticked ? "True" : "False") + "\r\n";
  return ff::replaceFile(file, std::vector<std::uint8_t>(text.begin(), text.end())).empty();
}

TypeList loadPlugTypes(const std::filesystem::path& programDir, bool* lostLines) {
  auto file = programDir / "PlugTypes.ini";
  if (lostLines) *lostLines = false;
  std::error_code ec;
  if (std::filesystem::exists(file, ec)) {
    if (auto list = LoadList(file, lostLines)) return *list;
  }
  return defaultTypeList();
}

void PlugTypeTable::GetPlugTypes(const TypeList& list) {
  if (list.empty()) return;
  rows_.assign(list.size(), TypeRow{});
  foldedExtensions_.assign(list.size(), std::u32string());
  pattern_.clear();
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (!list[i].ticked) continue;
    const std::string& text = list[i].text;
    // Positions as the entry text yields them; a malformed entry gives whatever they cut.
    std::size_t p = text.find('(');
    std::size_t q = text.find('|');
    TypeRow& row = rows_[i];
    std::size_t p1 = p == std::string::npos ? 0 : p + 1;  // 1-based, 0 = not found
    std::size_t q1 = q == std::string::npos ? 0 : q + 1;
    row.label = text.substr(0, p1 >= 2 ? p1 - 2 : 0);
    if (q1 > p1 + 1) row.extension = text.substr(p1, q1 - 1 - p1);
    if (q1 > 0 && q1 < text.size()) row.digit = text.substr(q1, 1);
    foldedExtensions_[i] = foldCase(cp1252ToUtf8(row.extension));
    if (row.extension.size() >= 3) {
      pattern_ += ";*?" + row.extension;
    } else {
      pattern_ += ";*." + row.extension + ";*_" + row.extension;
    }
  }
}

std::optional<std::size_t> PlugTypeTable::firstMatch(std::string_view fileName,
                                                     bool underscoreToo) const {
  const std::u32string folded = foldCase(fileName);
  for (std::size_t i = 0; i < rows_.size(); ++i)
    if (endsWithExtension(folded, foldedExtensions_[i], underscoreToo)) return i;
  return std::nullopt;
}

std::optional<std::size_t> PlugTypeTable::match(std::string_view fileName) const {
  return firstMatch(fileName, true);
}

std::optional<std::size_t> PlugTypeTable::matchEnabled(std::string_view fileName) const {
  return firstMatch(fileName, false);
}

PlugTypeTable makeTypeTable(const TypeList& list) {
  PlugTypeTable table;
  table.GetPlugTypes(list);
  return table;
}

}  // namespace qm::plugins
