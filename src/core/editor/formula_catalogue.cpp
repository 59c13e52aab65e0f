#include "core/editor/formula_catalogue.h"

#include <algorithm>

#include "core/editor/preview_formulas.h"

namespace qm::editor {
namespace {

constexpr CatalogueEntry kFunctions[] = {
    {"src", "x,y,z", "channel z of the pixel at column x, row y"},
    {"rad", "d,m,z", "channel z of the pixel at direction d, distance m from the centre"},
    {"cnv", "m11,m12,m13,m21,m22,m23,m31,m32,m33,d",
     "3x3 convolution of this channel around the pixel, divided by d"},
    {"ctl", "i", "the value of slider i (0..7), 0..255"},
    {"val", "i,a,b", "slider i scaled from 0..255 to a..b"},
    {"map", "i,n", "entry n of map i, the ramp set by sliders 2i and 2i+1"},
    {"min", "a,b", "the smaller of a and b"},
    {"max", "a,b", "the larger of a and b"},
    {"abs", "a", "the absolute value of a"},
    {"add", "a,b,c", "a + b, at most c"},
    {"sub", "a,b,c", "the difference of a and b, at least c"},
    {"dif", "a,b", "the absolute difference of a and b"},
    {"mix", "a,b,n,d", "a and b mixed: a*n/d + b*(d-n)/d"},
    {"scl", "a,il,ih,ol,oh", "a scaled from il..ih to ol..oh"},
    {"sqr", "x", "the square root of x"},
    {"sin", "x", "the sine of x, 1024 units a turn, result -512..512"},
    {"cos", "x", "the cosine of x, 1024 units a turn, result -512..512"},
    {"tan", "x", "the tangent of x, 1024 units a turn"},
    {"r2x", "d,m", "the x offset of direction d, distance m"},
    {"r2y", "d,m", "the y offset of direction d, distance m"},
    {"c2d", "x,y", "the direction of the offset x, y"},
    {"c2m", "x,y", "the distance of the offset x, y"},
    {"get", "i", "the value stored in cell i (0..255)"},
    {"put", "v,i", "stores v in cell i and gives v"},
    {"rnd", "a,b", "a random number in a..b"},
    {"rst", "i", "seeds the random numbers with i"},
};

constexpr CatalogueEntry kVariables[] = {
    {"r", "", "red of this pixel"},
    {"g", "", "green of this pixel"},
    {"b", "", "blue of this pixel"},
    {"a", "", "alpha of this pixel"},
    {"c", "", "this channel's value of this pixel"},
    {"i", "", "luminance of this pixel"},
    {"u", "", "blue chroma of this pixel"},
    {"v", "", "red chroma of this pixel"},
    {"x", "", "column of this pixel"},
    {"y", "", "row of this pixel"},
    {"z", "", "index of this channel (0 red, 1 green, 2 blue, 3 alpha)"},
    {"X", "", "width of the picture"},
    {"Y", "", "height of the picture"},
    {"Z", "", "number of channels"},
    {"d", "", "direction from the centre, -512..512"},
    {"D", "", "largest direction, 1024"},
    {"m", "", "distance from the centre"},
    {"M", "", "largest distance from the centre"},
};

}  // namespace

std::span<const CatalogueEntry> functionEntries() {
  return kFunctions;
}
std::span<const CatalogueEntry> variableEntries() {
  return kVariables;
}

const CatalogueEntry* findEntry(std::string_view name) {
  for (const auto& e : kFunctions)
    if (e.name == name) return &e;
  for (const auto& e : kVariables)
    if (e.name == name) return &e;
  return nullptr;
}

std::string signature(const CatalogueEntry& entry) {
  std::string text(entry.name);
  if (entry.isFunction()) text += "(" + std::string(entry.arguments) + ")";
  return text;
}

std::u16string insertionText(const CatalogueEntry& entry) {
  auto ascii = [](std::string_view text) { return std::u16string(text.begin(), text.end()); };
  std::u16string text = ascii(entry.name);
  if (!entry.isFunction()) return text;
  text += u'(';
  std::string_view rest = entry.arguments;
  while (true) {
    const auto comma = rest.find(',');
    text += kPlaceholderOpen + ascii(rest.substr(0, comma)) + kPlaceholderClose;
    if (comma == std::string_view::npos) break;
    text += u',';
    rest.remove_prefix(comma + 1);
  }
  return text + u')';
}

std::optional<TextRange> findPlaceholder(std::u16string_view text, std::size_t from) {
  auto search = [text](std::size_t start, std::size_t end) -> std::optional<TextRange> {
    const auto open = text.find(kPlaceholderOpen, start);
    if (open == std::u16string_view::npos || open >= end) return std::nullopt;
    const auto close = text.find(kPlaceholderClose, open);
    if (close == std::u16string_view::npos) return std::nullopt;
    return TextRange{open, close + 1 - open};
  };
  from = std::min(from, text.size());
  if (auto found = search(from, text.size())) return found;
  return search(0, from);
}

TextRange selectionAfterInsert(std::u16string_view inserted) {
  if (auto first = findPlaceholder(inserted, 0)) return *first;
  return {inserted.size(), 0};
}

bool insertionReplacesBox(std::string_view boxText, int box) {
  return boxText == channelLetter(box);
}

}  // namespace qm::editor
