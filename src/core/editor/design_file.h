#pragma once
// Interface designs of the editor window (".des" files): background picture, window outline
// made of combined shapes, slider style, author hotspot and the formula boxes' rectangle.
// Reading never stops at a bad field: an error spoils only the step that reads it.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::editor {

enum class ShapeKind { Rect, Ellipse, RoundRect, Unknown };
enum class CombineMode { And = 1, Or = 2, Xor = 3, Diff = 4, Copy = 5 };

struct DesignRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const DesignRect&) const = default;
};

struct Shape {
  ShapeKind kind = ShapeKind::Unknown;  // Unknown makes no region
  DesignRect rect;
  int cornerWidth = 0, cornerHeight = 0;  // RoundRect
};

// The outline: first, then each step combines the outline so far with its shape. A step with
// no mode (an unknown word and none before it) leaves the outline as it was.
struct OutlineStep {
  Shape shape;
  std::optional<CombineMode> mode;
};
struct Outline {
  Shape first;
  std::vector<OutlineStep> steps;
};

struct Hotspot {
  DesignRect rect;
  std::string address;
  std::string tooltip;
};

// What the last optional fields say about a setting the design may leave alone.
enum class Presence { EndOfFile, Given, Other };

inline constexpr DesignRect kDefaultCodeBoxes{216, 192, 216 + 317, 192 + 193};

struct Design {
  std::string background;  // file name in the interface folder; empty: none read
  std::optional<int> width, height;
  std::optional<Outline> outline;
  std::optional<int> sliderStyle;  // GraphSlider digit; none: plain scroll bars
  Presence hotspotField = Presence::EndOfFile;
  Hotspot hotspot;  // for Given
  Presence codeBoxField = Presence::EndOfFile;
  DesignRect codeBoxes = kDefaultCodeBoxes;  // for EndOfFile and Given
  // "Resizable", min width, min height after the code boxes: a framed window whose controls
  // follow its size (width and height are then only where it starts). Programs that read
  // the fields up to the code boxes only never see it.
  std::optional<DesignRect> resizable;  // right and bottom hold the smallest size
};

// The fields of a design file: separated by commas or line breaks, "..." quotes a field.
std::vector<std::string> designFields(std::string_view text);

Design parseDesign(std::string_view text);

// A missing file reads as an empty design (every step fails).
Design readDesignFile(const std::filesystem::path& file);

// The design file to apply: name in the interface folder, or "Interfc5.des" when that file
// does not exist.
std::filesystem::path designPath(const std::filesystem::path& interfaceFolder,
                                 const std::string& name);

}  // namespace qm::editor
