#include "core/plugins/type_table.h"

#include <algorithm>
#include <array>
#include <fstream>

#include "core/common/cp1252.h"
#include "core/common/unicode_text.h"
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

std::string trimmed(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return std::string(s);
}

// Items of a list file: split at commas and line ends, double quotes removed, blanks trimmed,
// empty items dropped.
std::vector<std::string> listItems(std::string_view text) {
  std::vector<std::string> items;
  std::string item;
  auto flush = [&] {
    auto t = trimmed(item);
    if (!t.empty()) items.push_back(std::move(t));
    item.clear();
  };
  for (char c : text) {
    if (c == ',' || c == '\r' || c == '\n') {
      flush();
    } else if (c != '"') {
      item.push_back(c);
    }
  }
  flush();
  return items;
}

bool tickOn(std::string_view word) {
  auto w = lowerCp1252(word);
  return w == "true" || w == "#true#" || w == "-1" || w == "1";
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

std::optional<TypeList> LoadList(const std::filesystem::path& file) {
  auto bytes = readWholeFile(file);
  if (!bytes) return std::nullopt;
  auto items =
      listItems(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
  TypeList list;
  for (std::size_t i = 0; i < items.size(); i += 2) {
    bool ticked = i + 1 < items.size() && tickOn(items[i + 1]);
    list.push_back({items[i], ticked});
  }
  sortTypeList(list);
  return list;
}

bool SaveList(const std::filesystem::path& file, const TypeList& list) {
  auto temp = file;
  temp += ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    for (const auto& entry : list)
      out << entry.text << "\r\n" << (entry.ticked ? "True" : "False") << "\r\n";
    out.flush();
    if (!out) {
      std::error_code ec;
      std::filesystem::remove(temp, ec);
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, file, ec);
  if (ec) std::filesystem::remove(temp, ec);
  return !ec;
}

TypeList loadPlugTypes(const std::filesystem::path& programDir) {
  auto file = programDir / "PlugTypes.ini";
  std::error_code ec;
  if (std::filesystem::exists(file, ec)) {
    if (auto list = LoadList(file)) return *list;
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
