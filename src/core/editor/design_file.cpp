#include "core/editor/design_file.h"

#include <charconv>
#include <cmath>

#include "core/common/safe_name.h"
#include "core/common/text_lines.h"
#include "core/ff/plugin_file_io.h"

namespace qm::editor {
namespace {

// Design files are a few hundred bytes; anything far bigger is not one.
constexpr std::size_t kLargestDesign = 1 << 20;

constexpr std::string_view kBlanks = " \t";

// A number rounded to a 16-bit signed integer (halves to even); none when the field is not a
// number or does not fit.
std::optional<int> number16(std::string_view field) {
  field = trimEnds(field, kBlanks);
  if (field.empty()) return std::nullopt;
  if (field.front() == '+') field.remove_prefix(1);
  double value = 0;
  auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (ec != std::errc() || end != field.data() + field.size() || !std::isfinite(value))
    return std::nullopt;
  double rounded = std::nearbyint(value);
  if (rounded < -32768 || rounded > 32767) return std::nullopt;
  return static_cast<int>(rounded);
}

class FieldCursor {
 public:
  explicit FieldCursor(std::vector<std::string> fields) : fields_(std::move(fields)) {}
  bool atEnd() const { return next_ >= fields_.size(); }
  // The next field, or none at the end (an early end fails the step that reads).
  std::optional<std::string> take() {
    if (atEnd()) return std::nullopt;
    return fields_[next_++];
  }
  std::optional<int> takeNumber() {
    auto field = take();
    return field ? number16(*field) : std::nullopt;
  }

 private:
  std::vector<std::string> fields_;
  std::size_t next_ = 0;
};

ShapeKind shapeKindOf(std::string_view word) {
  if (word == "Rect") return ShapeKind::Rect;
  if (word == "Ellipse") return ShapeKind::Ellipse;
  if (word == "RoundRect") return ShapeKind::RoundRect;
  return ShapeKind::Unknown;
}

std::optional<CombineMode> modeOf(std::string_view word) {
  if (word == "RGN_AND") return CombineMode::And;
  if (word == "RGN_OR") return CombineMode::Or;
  if (word == "RGN_XOR") return CombineMode::Xor;
  if (word == "RGN_DIFF") return CombineMode::Diff;
  if (word == "RGN_COPY") return CombineMode::Copy;
  return std::nullopt;
}

// Seven fields; every one is consumed even when an earlier one is bad.
std::optional<Shape> takeShape(FieldCursor& in) {
  auto kind = in.take();
  std::optional<int> n[6];
  for (auto& v : n) v = in.takeNumber();
  if (!kind) return std::nullopt;
  for (const auto& v : n)
    if (!v) return std::nullopt;
  return Shape{shapeKindOf(*kind), {*n[0], *n[1], *n[2], *n[3]}, *n[4], *n[5]};
}

// The mode field: a known word replaces the mode in force, any other keeps it.
void takeMode(FieldCursor& in, std::optional<CombineMode>& inForce) {
  auto word = in.take();
  if (word)
    if (auto mode = modeOf(*word)) inForce = mode;
}

void readOutline(FieldCursor& in, std::optional<int> shapeCount, Design& design) {
  std::optional<CombineMode> mode;
  auto first = takeShape(in);
  auto second = takeShape(in);
  takeMode(in, mode);
  bool good = first && second && shapeCount && *shapeCount >= 2;
  Outline outline;
  if (good) outline = Outline{*first, {{*second, mode}}};
  // An unusable count reads no further shapes: their number is not known.
  int further = shapeCount && *shapeCount > 2 ? *shapeCount - 2 : 0;
  for (int k = 0; k < further && !in.atEnd(); ++k) {
    auto shape = takeShape(in);
    takeMode(in, mode);
    if (!shape) good = false;
    if (good) outline.steps.push_back({*shape, mode});
  }
  if (good) design.outline = std::move(outline);
}

void readSliderStyle(FieldCursor& in, Design& design) {
  auto field = in.take();
  if (!field || !field->starts_with("GraphSlider")) return;
  char last = field->back();
  if (field->size() > 11 && last >= '0' && last <= '9') design.sliderStyle = last - '0';
}

void readHotspot(FieldCursor& in, Design& design) {
  auto word = in.take();
  if (!word) return;
  design.hotspotField = Presence::Other;
  if (*word != "Mailto") return;
  std::optional<int> n[4];
  for (auto& v : n) v = in.takeNumber();
  auto address = in.take();
  auto tooltip = in.take();
  for (const auto& v : n)
    if (!v) return;
  if (!address || !tooltip) return;
  design.hotspotField = Presence::Given;
  design.hotspot = {{*n[0], *n[1], *n[2], *n[3]}, *address, *tooltip};
}

void readCodeBoxes(FieldCursor& in, Design& design) {
  auto word = in.take();
  if (!word) return;
  design.codeBoxField = Presence::Other;
  if (*word != "CodeWindows") return;
  std::optional<int> n[4];
  for (auto& v : n) v = in.takeNumber();
  for (const auto& v : n)
    if (!v) return;
  design.codeBoxField = Presence::Given;
  design.codeBoxes = {*n[0], *n[1], *n[2], *n[3]};
}

void readResizable(FieldCursor& in, Design& design) {
  auto word = in.take();
  if (!word || *word != "Resizable") return;
  auto width = in.takeNumber();
  auto height = in.takeNumber();
  if (!width || !height || *width <= 0 || *height <= 0) return;
  design.resizable = DesignRect{0, 0, *width, *height};
}

}  // namespace

std::vector<std::string> designFields(std::string_view text) {
  std::vector<std::string> fields;
  std::size_t k = 0;
  const std::size_t n = text.size();
  auto isBreak = [](char c) { return c == '\r' || c == '\n'; };
  while (k < n) {
    while (k < n && (text[k] == ' ' || text[k] == '\t')) ++k;
    if (k < n && isBreak(text[k])) {
      ++k;  // a line break after a field ends it; blank lines hold no field
      continue;
    }
    std::string field;
    if (k < n && text[k] == '"') {
      std::size_t close = text.find('"', k + 1);
      std::size_t end = close == std::string_view::npos ? n : close;
      field = std::string(text.substr(k + 1, end - k - 1));
      k = close == std::string_view::npos ? n : close + 1;
      while (k < n && text[k] != ',' && !isBreak(text[k])) ++k;  // text after the quote
    } else {
      std::size_t start = k;
      while (k < n && text[k] != ',' && !isBreak(text[k])) ++k;
      field = std::string(trimEnds(text.substr(start, k - start), kBlanks));
    }
    fields.push_back(std::move(field));
    if (k < n && text[k] == ',') ++k;
  }
  return fields;
}

Design parseDesign(std::string_view text) {
  Design design;
  FieldCursor in(designFields(text));
  in.take();  // a description nobody reads
  if (auto background = in.take(); background && !background->empty())
    design.background = plainFileName(*background);
  auto count = in.takeNumber();
  auto width = in.takeNumber();
  auto height = in.takeNumber();
  if (width && height && *width > 0 && *height > 0) design.width = width, design.height = height;
  readOutline(in, count, design);
  readSliderStyle(in, design);
  readHotspot(in, design);
  readCodeBoxes(in, design);
  readResizable(in, design);
  return design;
}

Design readDesignFile(const std::filesystem::path& file) {
  const auto bytes = ff::readFileBytes(file, kLargestDesign, {});
  if (!bytes) return parseDesign({});
  return parseDesign(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

std::filesystem::path designPath(const std::filesystem::path& interfaceFolder,
                                 const std::string& name) {
  std::filesystem::path chosen = pathInFolder(interfaceFolder, name);
  std::error_code ec;
  if (!name.empty() && std::filesystem::is_regular_file(chosen, ec)) return chosen;
  return interfaceFolder / "Interfc5.des";
}

}  // namespace qm::editor
