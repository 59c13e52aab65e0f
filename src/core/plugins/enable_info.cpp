#include "core/plugins/enable_info.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

namespace qm::plugins {
namespace {

// Bounds that keep a hostile property from costing time or stack.
constexpr std::size_t kMaxText = 4096;
constexpr int kMaxDepth = 64;
constexpr std::size_t kMaxNodes = 2048;

enum class Variable {
  ImageMode,
  ImageDepth,
  HasLayerMask,
  HasSelectionMask,
  HasTransparencyMask,
  NumTargetChannels,
  NumTrueChannels,
  IsTargetComposite,
  ImageWidth,
  ImageHeight,
};

struct NamedVariable {
  std::string_view name;
  Variable variable;
};
constexpr std::array<NamedVariable, 10> kVariables = {{
    {"PSHOP_ImageMode", Variable::ImageMode},
    {"PSHOP_ImageDepth", Variable::ImageDepth},
    {"PSHOP_HasLayerMask", Variable::HasLayerMask},
    {"PSHOP_HasSelectionMask", Variable::HasSelectionMask},
    {"PSHOP_HasTransparencyMask", Variable::HasTransparencyMask},
    {"PSHOP_NumTargetChannels", Variable::NumTargetChannels},
    {"PSHOP_NumTrueChannels", Variable::NumTrueChannels},
    {"PSHOP_IsTargetComposite", Variable::IsTargetComposite},
    {"PSHOP_ImageWidth", Variable::ImageWidth},
    {"PSHOP_ImageHeight", Variable::ImageHeight},
}};

// Constants stand for the host's mode numbers, in mode order.
constexpr std::array<std::string_view, kModeCount> kModeConstants = {
    "BitmapMode",    "GrayScaleMode", "IndexedMode",      "RGBMode",     "CMYKMode",
    "HSLMode",       "HSBMode",       "MultichannelMode", "DuotoneMode", "LabMode",
    "Gray16Mode",    "RGB48Mode",     "Lab48Mode",        "CMYK64Mode",  "DeepMultichannelMode",
    "Duotone16Mode", "RGB96Mode",     "Gray32Mode"};

enum class Op {
  Number,
  Read,
  Not,
  Negate,
  Or,
  And,
  Equal,
  NotEqual,
  Less,
  LessEqual,
  Greater,
  GreaterEqual,
  Add,
  Subtract,
  Multiply,
  Divide,
  Remainder,
  In,
  Min,
  Max,
};

struct Node {
  Op op = Op::Number;
  std::int64_t value = 0;  // Number; Read: the variable
  std::vector<std::size_t> children;
};

std::int64_t wrapAdd(std::int64_t a, std::int64_t b, bool subtract) {
  const auto ua = static_cast<std::uint64_t>(a);
  const auto ub = static_cast<std::uint64_t>(b);
  return static_cast<std::int64_t>(subtract ? ua - ub : ua + ub);
}

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  std::optional<std::vector<Node>> run() {
    auto root = orExpression(0);
    skipBlanks();
    if (!root || at_ != text_.size()) return std::nullopt;
    // The root is the last node made, so evaluation starts at the back.
    if (*root != nodes_.size() - 1) return std::nullopt;
    return std::move(nodes_);
  }

 private:
  void skipBlanks() {
    while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) ++at_;
  }
  bool take(std::string_view token) {
    skipBlanks();
    if (text_.substr(at_, token.size()) != token) return false;
    at_ += token.size();
    return true;
  }
  // A one-character operator that is not the start of a longer one.
  bool takeAlone(char c, char notFollowedBy) {
    skipBlanks();
    if (at_ >= text_.size() || text_[at_] != c) return false;
    if (at_ + 1 < text_.size() && text_[at_ + 1] == notFollowedBy) return false;
    ++at_;
    return true;
  }
  std::optional<std::size_t> add(Node node) {
    if (nodes_.size() >= kMaxNodes) return std::nullopt;
    nodes_.push_back(std::move(node));
    return nodes_.size() - 1;
  }
  std::optional<std::size_t> binary(Op op, std::size_t left, std::size_t right) {
    return add(Node{op, 0, {left, right}});
  }

  std::optional<std::size_t> orExpression(int depth) {
    if (depth > kMaxDepth) return std::nullopt;
    auto left = andExpression(depth + 1);
    while (left && take("||")) {
      auto right = andExpression(depth + 1);
      if (!right) return std::nullopt;
      left = binary(Op::Or, *left, *right);
    }
    return left;
  }
  std::optional<std::size_t> andExpression(int depth) {
    auto left = equality(depth);
    while (left && take("&&")) {
      auto right = equality(depth);
      if (!right) return std::nullopt;
      left = binary(Op::And, *left, *right);
    }
    return left;
  }
  std::optional<std::size_t> equality(int depth) {
    auto left = relation(depth);
    while (left) {
      Op op;
      if (take("==")) {
        op = Op::Equal;
      } else if (take("!=")) {
        op = Op::NotEqual;
      } else {
        break;
      }
      auto right = relation(depth);
      if (!right) return std::nullopt;
      left = binary(op, *left, *right);
    }
    return left;
  }
  std::optional<std::size_t> relation(int depth) {
    auto left = sum(depth);
    while (left) {
      Op op;
      if (take("<=")) {
        op = Op::LessEqual;
      } else if (take(">=")) {
        op = Op::GreaterEqual;
      } else if (take("<")) {
        op = Op::Less;
      } else if (take(">")) {
        op = Op::Greater;
      } else {
        break;
      }
      auto right = sum(depth);
      if (!right) return std::nullopt;
      left = binary(op, *left, *right);
    }
    return left;
  }
  std::optional<std::size_t> sum(int depth) {
    auto left = product(depth);
    while (left) {
      Op op;
      if (take("+")) {
        op = Op::Add;
      } else if (take("-")) {
        op = Op::Subtract;
      } else {
        break;
      }
      auto right = product(depth);
      if (!right) return std::nullopt;
      left = binary(op, *left, *right);
    }
    return left;
  }
  std::optional<std::size_t> product(int depth) {
    auto left = unary(depth);
    while (left) {
      Op op;
      if (take("*")) {
        op = Op::Multiply;
      } else if (take("/")) {
        op = Op::Divide;
      } else if (take("%")) {
        op = Op::Remainder;
      } else {
        break;
      }
      auto right = unary(depth);
      if (!right) return std::nullopt;
      left = binary(op, *left, *right);
    }
    return left;
  }
  std::optional<std::size_t> unary(int depth) {
    if (depth > kMaxDepth) return std::nullopt;
    if (takeAlone('!', '=')) {
      auto operand = unary(depth + 1);
      if (!operand) return std::nullopt;
      return add(Node{Op::Not, 0, {*operand}});
    }
    if (take("-")) {
      auto operand = unary(depth + 1);
      if (!operand) return std::nullopt;
      return add(Node{Op::Negate, 0, {*operand}});
    }
    return primary(depth);
  }
  std::optional<std::size_t> primary(int depth) {
    skipBlanks();
    if (take("(")) {
      auto inner = orExpression(depth + 1);
      if (!inner || !take(")")) return std::nullopt;
      return inner;
    }
    if (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_]))) return number();
    std::string_view name = identifier();
    if (name.empty()) return std::nullopt;
    if (name == "true" || name == "false") return add(Node{Op::Number, name == "true", {}});
    for (const auto& v : kVariables)
      if (v.name == name) return add(Node{Op::Read, static_cast<std::int64_t>(v.variable), {}});
    for (std::size_t m = 0; m < kModeConstants.size(); ++m)
      if (kModeConstants[m] == name) return add(Node{Op::Number, static_cast<std::int64_t>(m), {}});
    Op op;
    if (name == "in") {
      op = Op::In;
    } else if (name == "min") {
      op = Op::Min;
    } else if (name == "max") {
      op = Op::Max;
    } else {
      return std::nullopt;
    }
    if (!take("(")) return std::nullopt;
    Node call{op, 0, {}};
    do {
      auto argument = orExpression(depth + 1);
      if (!argument) return std::nullopt;
      call.children.push_back(*argument);
    } while (take(","));
    if (!take(")")) return std::nullopt;
    // in() compares its first argument with at least one other.
    if (op == Op::In && call.children.size() < 2) return std::nullopt;
    return add(std::move(call));
  }
  std::optional<std::size_t> number() {
    std::int64_t value = 0;
    while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_]))) {
      if (value > (INT64_MAX - 9) / 10) return std::nullopt;
      value = value * 10 + (text_[at_] - '0');
      ++at_;
    }
    return add(Node{Op::Number, value, {}});
  }
  std::string_view identifier() {
    std::size_t start = at_;
    while (at_ < text_.size() &&
           (std::isalnum(static_cast<unsigned char>(text_[at_])) || text_[at_] == '_'))
      ++at_;
    if (start < at_ && std::isdigit(static_cast<unsigned char>(text_[start]))) return {};
    return text_.substr(start, at_ - start);
  }

  std::string_view text_;
  std::size_t at_ = 0;
  std::vector<Node> nodes_;
};

std::int64_t read(Variable v, const DocumentFacts& d) {
  switch (v) {
    case Variable::ImageMode:
      return d.mode;
    case Variable::ImageDepth:
      return d.depth;
    case Variable::HasLayerMask:
      return d.hasLayerMask;
    case Variable::HasSelectionMask:
      return d.hasSelectionMask;
    case Variable::HasTransparencyMask:
      return d.hasTransparencyMask;
    case Variable::NumTargetChannels:
      return d.targetChannels;
    case Variable::NumTrueChannels:
      return d.trueChannels;
    case Variable::IsTargetComposite:
      return d.targetIsComposite;
    case Variable::ImageWidth:
      return d.width;
    case Variable::ImageHeight:
      return d.height;
  }
  return 0;
}

// Children always come before their parent, so one pass from the front evaluates the tree.
std::int64_t evaluate(const std::vector<Node>& nodes, const DocumentFacts& d) {
  std::vector<std::int64_t> values(nodes.size(), 0);
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    const Node& n = nodes[i];
    auto arg = [&](std::size_t k) { return values[n.children[k]]; };
    std::int64_t v = 0;
    switch (n.op) {
      case Op::Number:
        v = n.value;
        break;
      case Op::Read:
        v = read(static_cast<Variable>(n.value), d);
        break;
      case Op::Not:
        v = arg(0) == 0;
        break;
      case Op::Negate:
        v = wrapAdd(0, arg(0), true);
        break;
      case Op::Or:
        v = arg(0) != 0 || arg(1) != 0;
        break;
      case Op::And:
        v = arg(0) != 0 && arg(1) != 0;
        break;
      case Op::Equal:
        v = arg(0) == arg(1);
        break;
      case Op::NotEqual:
        v = arg(0) != arg(1);
        break;
      case Op::Less:
        v = arg(0) < arg(1);
        break;
      case Op::LessEqual:
        v = arg(0) <= arg(1);
        break;
      case Op::Greater:
        v = arg(0) > arg(1);
        break;
      case Op::GreaterEqual:
        v = arg(0) >= arg(1);
        break;
      case Op::Add:
        v = wrapAdd(arg(0), arg(1), false);
        break;
      case Op::Subtract:
        v = wrapAdd(arg(0), arg(1), true);
        break;
      case Op::Multiply:
        v = static_cast<std::int64_t>(static_cast<std::uint64_t>(arg(0)) *
                                      static_cast<std::uint64_t>(arg(1)));
        break;
      case Op::Divide:
      case Op::Remainder: {
        // Nothing to divide by, or the one quotient that overflows: the host's answer is 0.
        const std::int64_t a = arg(0), b = arg(1);
        if (b == 0 || (a == INT64_MIN && b == -1)) break;
        v = n.op == Op::Divide ? a / b : a % b;
        break;
      }
      case Op::In:
        for (std::size_t k = 1; k < n.children.size(); ++k) v = v || arg(k) == arg(0);
        break;
      case Op::Min:
      case Op::Max:
        v = arg(0);
        for (std::size_t k = 1; k < n.children.size(); ++k)
          v = n.op == Op::Min ? std::min(v, arg(k)) : std::max(v, arg(k));
        break;
    }
    values[i] = v;
  }
  return values.empty() ? 0 : values.back();
}

}  // namespace

struct EnableExpression::Tree {
  std::vector<Node> nodes;
};

DocumentFacts plainDocument(int mode) {
  DocumentFacts d;
  d.mode = mode;
  d.depth = modeDepth(mode);
  d.targetChannels = d.trueChannels = modeChannels(mode);
  return d;
}

std::optional<EnableExpression> EnableExpression::parse(std::string_view text) {
  // Properties are zero-padded; the expression ends at its first zero.
  if (auto nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
  if (text.size() > kMaxText) return std::nullopt;
  auto nodes = Parser(text).run();
  if (!nodes) return std::nullopt;
  return EnableExpression(std::make_unique<Tree>(Tree{std::move(*nodes)}));
}

EnableExpression::EnableExpression(std::unique_ptr<Tree> tree) : tree_(std::move(tree)) {}
EnableExpression::EnableExpression(EnableExpression&&) noexcept = default;
EnableExpression& EnableExpression::operator=(EnableExpression&&) noexcept = default;
EnableExpression::~EnableExpression() = default;

bool EnableExpression::enabled(const DocumentFacts& document) const {
  return evaluate(tree_->nodes, document) != 0;
}

ModeSet EnableExpression::enabledModes() const {
  ModeSet set = 0;
  for (int mode = 0; mode < kModeCount; ++mode)
    if (enabled(plainDocument(mode))) set |= modeBit(mode);
  return set;
}

std::optional<ModeSet> offeredModes(const std::optional<std::string>& enableInfo,
                                    std::optional<ModeSet> supportedModes) {
  if (enableInfo)
    if (auto expression = EnableExpression::parse(*enableInfo)) return expression->enabledModes();
  return supportedModes;
}

}  // namespace qm::plugins
