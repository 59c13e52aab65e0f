#pragma once
// The enable-info expression of a PiPL: a C-like condition over the open document
// (PSHOP_ImageMode == RGBMode && PSHOP_ImageDepth != 16 ...) that a host evaluates to decide
// whether the filter's menu entry is enabled. Read once, evaluated for any document.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/plugins/image_modes.h"

namespace qm::plugins {

// What a host knows about the document when it evaluates the expression.
struct DocumentFacts {
  int mode = kRgbMode;
  int depth = 8;
  bool hasLayerMask = false;
  bool hasSelectionMask = false;
  bool hasTransparencyMask = false;
  int targetChannels = 3;
  int trueChannels = 3;
  bool targetIsComposite = true;
  std::int64_t width = 1024;
  std::int64_t height = 768;
};

// A flat picture of the mode, whole image targeted, nothing selected.
DocumentFacts plainDocument(int mode);

class EnableExpression {
 public:
  // nullopt when text is no well-formed expression of the language (unknown names included),
  // too long or nested too deeply.
  static std::optional<EnableExpression> parse(std::string_view text);

  EnableExpression(EnableExpression&&) noexcept;
  EnableExpression& operator=(EnableExpression&&) noexcept;
  ~EnableExpression();

  bool enabled(const DocumentFacts& document) const;
  // The modes whose plain document enables the filter.
  ModeSet enabledModes() const;

 private:
  struct Tree;
  explicit EnableExpression(std::unique_ptr<Tree> tree);
  std::unique_ptr<Tree> tree_;
};

// The modes a filter is offered in: its enable-info expression evaluated for each mode when
// it has one that reads, else its supported-modes property; nullopt when it has neither.
std::optional<ModeSet> offeredModes(const std::optional<std::string>& enableInfo,
                                    std::optional<ModeSet> supportedModes);

}  // namespace qm::plugins
