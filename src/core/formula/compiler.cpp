#include "core/formula/compiler.h"

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

#include "core/formula/parser.h"
#include "core/formula/pure_ops.h"
#include "core/formula/tables.h"

namespace qm::formula {
namespace {

struct Value {
  bool constant = false;
  std::int32_t k = 0;
  int reg = -1;
};

// Temporaries are numbered from here while constants are still being collected, then moved
// behind the constants once their count is known.
constexpr int kTempBase = 1 << 24;

Value constantValue(std::int32_t k) {
  return Value{true, k, -1};
}
Value registerValue(int reg) {
  return Value{false, 0, reg};
}

class Emitter {
 public:
  explicit Emitter(Program& program) : p_(program) {}

  void emitChannel(const SyntaxTree& tree, int channel) {
    tree_ = &tree;
    channel_ = channel;
    const Value v = tree.root < 0 ? channelInput() : emit(tree.root);
    Instruction store;
    store.op = Op::Store;
    store.dst = channel;
    store.arg[0] = materialise(v);
    p_.code.push_back(store);
  }

 private:
  Value channelInput() {
    static constexpr Input kChannelInput[] = {kInR, kInG, kInB, kInA};
    return input(kChannelInput[channel_]);
  }

  Value input(Input in) {
    // Without alpha, a reads 0 (the recommended reading of an undefined value).
    if (in == kInA && p_.channels < 4) return constantValue(0);
    p_.inputsUsed |= 1u << in;
    return registerValue(in);
  }

  int materialise(const Value& v) {
    if (!v.constant) return v.reg;
    auto [it, inserted] = constantRegs_.try_emplace(v.k, 0);
    if (inserted) {
      it->second = kInputCount + static_cast<int>(p_.constants.size());
      p_.constants.push_back(v.k);
    }
    return it->second;
  }

  Value instruction(Op op, const std::vector<Value>& args, std::int32_t imm = 0) {
    bool allConstant = isPure(op);
    for (const Value& a : args) allConstant = allConstant && a.constant;
    if (allConstant) {
      std::array<std::int32_t, 10> k{};
      for (std::size_t i = 0; i < args.size(); ++i) k[i] = args[i].k;
      return constantValue(evalPure(op, k.data(), p_));
    }
    if (auto same = identity(op, args)) return *same;
    Instruction ins;
    ins.op = op;
    ins.imm = imm;
    for (std::size_t i = 0; i < args.size(); ++i) ins.arg[i] = materialise(args[i]);
    // The same pure computation on the same registers gives the same value within a pixel
    // (the image is read-only), so it is done once. Anything touching cells or the random
    // generator is never merged.
    const bool shareable = isPure(op) || op == Op::Src || op == Op::Cnv;
    CseKey key{};
    if (shareable) {
      key[0] = static_cast<std::int32_t>(op);
      key[1] = imm;
      std::copy(ins.arg.begin(), ins.arg.end(), key.begin() + 2);
      if (auto it = seen_.find(key); it != seen_.end()) return registerValue(it->second);
    }
    ins.dst = kTempBase + temps_++;
    p_.code.push_back(ins);
    if (shareable) seen_.emplace(key, ins.dst);
    return registerValue(ins.dst);
  }

  // x+0, x-0, x*1, x/1 and shifts by multiples of 32 are x itself under every rule of the
  // language, so they cost nothing.
  static std::optional<Value> identity(Op op, const std::vector<Value>& a) {
    if (a.size() != 2) return std::nullopt;
    auto is = [](const Value& v, std::int32_t k) { return v.constant && v.k == k; };
    switch (op) {
      case Op::Add:
        if (is(a[0], 0)) return a[1];
        if (is(a[1], 0)) return a[0];
        break;
      case Op::Mul:
        if (is(a[0], 1)) return a[1];
        if (is(a[1], 1)) return a[0];
        break;
      case Op::Sub:
      case Op::BitOr:
      case Op::BitXor:
        if (is(a[1], 0)) return a[0];
        break;
      case Op::Div:
        if (is(a[1], 1)) return a[0];
        break;
      case Op::Shl:
      case Op::Shr:
      case Op::ShrA:
        if (a[1].constant && (a[1].k & 31) == 0) return a[0];
        break;
      default:
        break;
    }
    return std::nullopt;
  }

  // With a fixed divisor mix and scl are plain arithmetic; spelled out, the divisions get the
  // fast constant-divisor forms.
  Value mix(const std::vector<Value>& a) {
    if (!a[3].constant) return instruction(Op::Mix, a);
    if (a[3].k == 0) return constantValue(0);
    const Value left = instruction(Op::Div, {instruction(Op::Mul, {a[0], a[2]}), a[3]});
    const Value right = instruction(
        Op::Div, {instruction(Op::Mul, {a[1], instruction(Op::Sub, {a[3], a[2]})}), a[3]});
    return instruction(Op::Add, {left, right});
  }
  Value scale(const std::vector<Value>& a) {
    if (!a[1].constant || !a[2].constant) return instruction(Op::Scl, a);
    const Value span = instruction(Op::Sub, {a[2], a[1]});
    if (span.k == 0) return constantValue(0);
    const Value product = instruction(
        Op::Mul, {instruction(Op::Sub, {a[4], a[3]}), instruction(Op::Sub, {a[0], a[1]})});
    return instruction(Op::Add, {a[3], instruction(Op::Div, {product, span})});
  }

  // map(i, n) for a fixed i is a clamped ramp between two known sliders; spelled out it
  // needs no branches. (n - L) * 255 / (H - L) already falls to 0 or below at n <= L and
  // reaches 255 or more at n >= H, so clamping it to 0..255 gives the ramp's flat ends.
  Value mapRamp(const std::vector<Value>& a) {
    if (!a[0].constant) return instruction(Op::Map, a);
    if (a[0].k < 0 || a[0].k > 3) return constantValue(0);
    const std::int32_t h = p_.sliders[2 * a[0].k];
    const std::int32_t l = p_.sliders[2 * a[0].k + 1];
    const Value n = clampToByte(a[1]);
    if (h == l)
      return instruction(Op::Select, {instruction(Op::Lt, {n, constantValue(h)}), constantValue(0),
                                      constantValue(255)});
    const std::int32_t low = h > l ? l : h;
    const Value rising = clampToByte(instruction(
        Op::Div,
        {instruction(Op::Mul, {instruction(Op::Sub, {n, constantValue(low)}), constantValue(255)}),
         constantValue(h > l ? h - l : l - h)}));
    return h > l ? rising : instruction(Op::Sub, {constantValue(255), rising});
  }
  Value clampToByte(const Value& v) {
    return instruction(Op::Max, {instruction(Op::Min, {v, constantValue(255)}), constantValue(0)});
  }

  // rad(d, m, z) is src(X/2 + r2x(d, m), Y/2 + r2y(d, m), z); spelled out, the position is
  // shared by the channels that sample the same place.
  Value radialSample(const std::vector<Value>& args) {
    const Value px = instruction(
        Op::Add, {instruction(Op::R2x, {args[0], args[1]}), constantValue(p_.width / 2)});
    const Value py = instruction(
        Op::Add, {instruction(Op::R2y, {args[0], args[1]}), constantValue(p_.height / 2)});
    return instruction(Op::Src, {px, py, args[2]});
  }

  Value emit(int index) {
    const Node& n = tree_->nodes[index];
    switch (n.kind) {
      case NodeKind::Number:
        return constantValue(n.value);
      case NodeKind::Name:
        return name(n.name);
      case NodeKind::Unary: {
        const Value v = emit(n.kids[0]);
        switch (static_cast<UnaryOp>(n.op)) {
          case UnaryOp::Plus:
            return v;
          case UnaryOp::Neg:
            return instruction(Op::Neg, {v});
          case UnaryOp::Not:
            return instruction(Op::Not, {v});
          case UnaryOp::BitNot:
            return instruction(Op::BitNot, {v});
        }
        return v;
      }
      case NodeKind::Binary:
        return binaryChain(index);
      case NodeKind::Conditional: {
        // Every operand is evaluated; only then is one chosen.
        const Value c = emit(n.kids[0]);
        const Value yes = emit(n.kids[1]);
        const Value no = emit(n.kids[2]);
        if (c.constant) return c.k != 0 ? yes : no;
        return instruction(Op::Select, {c, yes, no});
      }
      case NodeKind::Call:
        return call(n);
    }
    return constantValue(0);
  }

  // A left-leaning chain (a+b+c+...) is walked in a loop so its length costs no stack.
  Value binaryChain(int index) {
    std::vector<int> chain;
    int n = index;
    while (tree_->nodes[n].kind == NodeKind::Binary) {
      chain.push_back(n);
      n = tree_->nodes[n].kids[0];
    }
    Value acc = emit(n);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
      const Node& node = tree_->nodes[*it];
      const Value rhs = emit(node.kids[1]);
      acc = binary(static_cast<BinaryOp>(node.op), acc, rhs);
    }
    return acc;
  }

  Value binary(BinaryOp op, const Value& a, const Value& b) {
    switch (op) {
      case BinaryOp::Comma:
        return b;
      case BinaryOp::LogAnd:
        return instruction(Op::LogAnd, {a, b});
      case BinaryOp::LogOr:
        return instruction(Op::LogOr, {a, b});
      case BinaryOp::BitAnd:
        return instruction(Op::BitAnd, {a, b});
      case BinaryOp::BitXor:
        return instruction(Op::BitXor, {a, b});
      case BinaryOp::BitOr:
        return instruction(Op::BitOr, {a, b});
      case BinaryOp::Eq:
        return instruction(Op::Eq, {a, b});
      case BinaryOp::Ne:
        return instruction(Op::Ne, {a, b});
      case BinaryOp::Lt:
        return instruction(Op::Lt, {a, b});
      case BinaryOp::Le:
        return instruction(Op::Le, {a, b});
      case BinaryOp::Gt:
        return instruction(Op::Lt, {b, a});
      case BinaryOp::Ge:
        return instruction(Op::Le, {b, a});
      case BinaryOp::Shl:
        return instruction(Op::Shl, {a, b});
      case BinaryOp::Shr:
        return instruction(p_.logicalShift ? Op::Shr : Op::ShrA, {a, b});
      case BinaryOp::Add:
        return instruction(Op::Add, {a, b});
      case BinaryOp::Sub:
        return instruction(Op::Sub, {a, b});
      case BinaryOp::Mul:
        return instruction(Op::Mul, {a, b});
      case BinaryOp::Div:
        return instruction(Op::Div, {a, b});
      case BinaryOp::Mod:
        return instruction(Op::Mod, {a, b});
    }
    return b;
  }

  Value name(const NameInfo& info) {
    if (info.kind == NameInfo::Kind::Constant) {
      switch (info.constant) {
        case RunConst::Width:
          return constantValue(p_.width);
        case RunConst::Height:
          return constantValue(p_.height);
        case RunConst::Channels:
          return constantValue(p_.channels);
        case RunConst::MaxMagnitude:
          return constantValue(magnitude(p_.width / 2, p_.height / 2));
        case RunConst::Literal:
          return constantValue(info.value);
      }
    }
    switch (info.pixel) {
      case PixelVar::X:
        return input(kInX);
      case PixelVar::Y:
        return input(kInY);
      case PixelVar::R:
        return input(kInR);
      case PixelVar::G:
        return input(kInG);
      case PixelVar::B:
        return input(kInB);
      case PixelVar::A:
        return input(kInA);
      case PixelVar::I:
        return input(kInI);
      case PixelVar::U:
        return input(kInU);
      case PixelVar::V:
        return input(kInV);
      case PixelVar::D:
        return input(kInD);
      case PixelVar::M:
        return input(kInM);
      case PixelVar::C:
        return channelInput();
      case PixelVar::Z:
        return constantValue(channel_);
    }
    return constantValue(0);
  }

  Value call(const Node& n) {
    std::vector<Value> args;
    args.reserve(n.kids.size());
    for (int kid : n.kids) args.push_back(emit(kid));
    switch (n.name.function) {
      case Function::Src:
        return instruction(Op::Src, args);
      case Function::Rad:
        return radialSample(args);
      case Function::Cnv:
        return instruction(Op::Cnv, args, channel_);
      case Function::Ctl:
        return instruction(Op::Ctl, args);
      case Function::Val:
        return instruction(Op::Val, args);
      case Function::Map:
        return mapRamp(args);
      case Function::Min:
        return instruction(Op::Min, args);
      case Function::Max:
        return instruction(Op::Max, args);
      case Function::Abs:
        return instruction(Op::Abs, args);
      case Function::Add:
        return instruction(Op::AddCap, args);
      case Function::Sub:
        return instruction(Op::SubFloor, args);
      case Function::Dif:
        return instruction(Op::Dif, args);
      case Function::Mix:
        return mix(args);
      case Function::Scl:
        return scale(args);
      case Function::Sqr:
        return instruction(Op::Sqr, args);
      case Function::Cos:
        return instruction(Op::Cos, args);
      case Function::Sin:
        return instruction(Op::Sin, args);
      case Function::Tan:
        return instruction(Op::Tan, args);
      case Function::R2x:
        return instruction(Op::R2x, args);
      case Function::R2y:
        return instruction(Op::R2y, args);
      case Function::C2d:
        return instruction(Op::C2d, args);
      case Function::C2m:
        return instruction(Op::C2m, args);
      case Function::Get:
        // Outside 0..255 the original returns the index itself, touching no cell.
        if (args[0].constant && (args[0].k < 0 || args[0].k > 255)) return args[0];
        return instruction(Op::Get, args);
      case Function::Put:
        if (!(args[1].constant && (args[1].k < 0 || args[1].k > 255))) instruction(Op::Put, args);
        return args[0];  // put returns its value
      case Function::Rnd:
        return instruction(Op::Rnd, args);
      case Function::Rst:
        instruction(Op::Rst, args);
        return constantValue(0);
    }
    return constantValue(0);
  }

  Program& p_;
  const SyntaxTree* tree_ = nullptr;
  int channel_ = 0;
  std::map<std::int32_t, int> constantRegs_;
  using CseKey = std::array<std::int32_t, 12>;
  std::map<CseKey, int> seen_;
  int temps_ = 0;

 public:
  // Moves the temporaries behind the constants.
  void finish() {
    const int first = kInputCount + static_cast<int>(p_.constants.size());
    auto renumber = [&](std::int32_t& r) {
      if (r >= kTempBase) r = first + (r - kTempBase);
    };
    for (Instruction& ins : p_.code) {
      const int n = argumentCount(ins.op);
      for (int k = 0; k < n; ++k) renumber(ins.arg[k]);
      if (ins.op != Op::Store) renumber(ins.dst);
    }
    p_.registerCount = first + temps_;
  }
};

bool hasEffect(Op op) {
  return op == Op::Store || op == Op::Put || op == Op::Rnd || op == Op::Rst;
}

}  // namespace

void removeDeadCode(Program& p) {
  std::vector<bool> live(p.registerCount, false);
  std::vector<bool> keep(p.code.size(), false);
  for (std::size_t i = p.code.size(); i-- > 0;) {
    const Instruction& ins = p.code[i];
    keep[i] = hasEffect(ins.op) || (ins.dst >= 0 && live[ins.dst]);
    if (!keep[i]) continue;
    const int n = argumentCount(ins.op);
    for (int k = 0; k < n; ++k) live[ins.arg[k]] = true;
  }
  std::vector<Instruction> code;
  p.inputsUsed = 0;
  p.usesState = false;
  for (std::size_t i = 0; i < p.code.size(); ++i) {
    if (!keep[i]) continue;
    const Instruction& ins = p.code[i];
    const int n = argumentCount(ins.op);
    for (int k = 0; k < n; ++k)
      if (ins.arg[k] < kInputCount) p.inputsUsed |= 1u << ins.arg[k];
    if (touchesState(ins.op)) p.usesState = true;
    code.push_back(ins);
  }
  p.code = std::move(code);
}

namespace {

Outcome<std::array<SyntaxTree, 4>, CompileError> parseAll(
    const std::array<std::string, 4>& formulas, int channels, const LanguageOptions& language) {
  std::array<SyntaxTree, 4> trees;
  for (int ch = 0; ch < channels && ch < 4; ++ch) {
    auto tree = parseFormula(formulas[ch], language);
    if (!tree) return Failure{CompileError{ch, tree.error()}};
    trees[ch] = std::move(*tree);
  }
  return trees;
}

}  // namespace

Outcome<Program, CompileError> compileFilter(const std::array<std::string, 4>& formulas,
                                             const FilterSetup& setup) {
  Program p;
  p.width = setup.width;
  p.height = setup.height;
  p.channels = setup.channels == 4 ? 4 : 3;
  p.sliders = setup.sliders;
  p.logicalShift = !setup.language.arithmeticShift;
  auto trees = parseAll(formulas, p.channels, setup.language);
  if (!trees) return Failure{trees.error()};
  Emitter emitter(p);
  for (int ch = 0; ch < p.channels; ++ch) emitter.emitChannel((*trees)[ch], ch);
  emitter.finish();
  removeDeadCode(p);
  return p;
}

std::optional<CompileError> checkFilter(const std::array<std::string, 4>& formulas, int channels,
                                        const LanguageOptions& language) {
  auto trees = parseAll(formulas, channels, language);
  if (!trees) return trees.error();
  return std::nullopt;
}

}  // namespace qm::formula
