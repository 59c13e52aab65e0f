#include "core/formula/compiled_lowering.h"

#include <map>

#include "core/formula/block_program.h"
#include "core/formula/pure_ops.h"

namespace qm::formula::compiled {
namespace {

class Lowering {
 public:
  explicit Lowering(const Program& p) : p_(p), regValue_(p.registerCount, -1) {
    out_.width = p.width;
    out_.height = p.height;
    out_.channels = p.channels;
  }

  Lowered run(const std::vector<Instruction>& code) {
    std::array<int, 4> stored;
    stored.fill(-1);
    for (const Instruction& ins : code) {
      if (ins.op == Op::Store) {
        stored[ins.dst & 3] = valueOf(ins.arg[0]);
        continue;
      }
      const int n = argumentCount(ins.op);
      std::array<int, 12> args{};
      for (int k = 0; k < n; ++k) args[k] = valueOf(ins.arg[k]);
      regValue_[ins.dst] = ins.op == Op::Cnv ? convolution(ins, args) : compute(ins.op, args, n);
    }
    Node store;
    store.step = Step::StorePixels;
    for (int ch = 0; ch < p_.channels; ++ch) {
      if (stored[ch] < 0) continue;
      store.channel |= 1 << ch;
      store.arg[store.argc++] = stored[ch];
    }
    out_.nodes.push_back(store);
    return std::move(out_);
  }

 private:
  int newValue(bool constant = false, std::int32_t k = 0) {
    out_.values.push_back(Value{constant, k});
    return static_cast<int>(out_.values.size()) - 1;
  }
  int constant(std::int32_t k) {
    auto [it, inserted] = constants_.try_emplace(k, 0);
    if (inserted) it->second = newValue(true, k);
    return it->second;
  }
  int load(Step step) {
    Node n;
    n.step = step;
    n.dst = newValue();
    out_.nodes.push_back(n);
    return n.dst;
  }
  int compute(Op op, std::array<int, 12> args, int argc) {
    if (argc == 2 && isCommutative(op) && out_.values[args[0]].constant &&
        !out_.values[args[1]].constant)
      std::swap(args[0], args[1]);
    Node n;
    n.op = op;
    n.argc = argc;
    n.arg = args;
    n.dst = newValue();
    out_.nodes.push_back(n);
    return n.dst;
  }
  int compute(Op op, int a, int b) { return compute(op, {a, b}, 2); }

  int convolution(const Instruction& ins, const std::array<int, 12>& args) {
    bool fixed = true;
    for (int k = 0; k < 10; ++k) fixed = fixed && out_.values[args[k]].constant;
    Node n;
    n.op = Op::Cnv;
    n.channel = ins.imm;
    n.dst = newValue();
    if (fixed) {
      n.fixedWeights = true;
      for (int k = 0; k < 10; ++k) n.weights[k] = out_.values[args[k]].k;
      n.argc = 2;
      n.arg[0] = input(kInX);
      n.arg[1] = input(kInY);
    } else {
      n.argc = 12;
      n.arg = args;
      n.arg[10] = input(kInX);
      n.arg[11] = input(kInY);
    }
    out_.nodes.push_back(n);
    return n.dst;
  }

  int valueOf(int reg) {
    if (regValue_[reg] >= 0) return regValue_[reg];
    if (p_.isConstant(reg)) return regValue_[reg] = constant(p_.constantOf(reg));
    return regValue_[reg] = input(reg);  // temporaries are always written first
  }

  // Weighted sum of the colour channels, divided by 256 toward zero.
  int colourMix(int wr, int wg, int wb) {
    const int sum = compute(Op::Add,
                            compute(Op::Add, compute(Op::Mul, input(kInR), constant(wr)),
                                    compute(Op::Mul, input(kInG), constant(wg))),
                            compute(Op::Mul, input(kInB), constant(wb)));
    return compute(Op::Div, sum, constant(256));
  }

  int input(int which) {
    if (which >= 0 && regValue_[which] >= 0) return regValue_[which];
    const int pixel = which >= kInR && which <= kInV ? input(kPixel) : -1;
    int v = -1;
    switch (which) {
      case kPixel:
        v = pixel_ >= 0 ? pixel_ : (pixel_ = load(Step::LoadPixel));
        return v;
      case kInX:
        v = load(Step::LoadX);
        break;
      case kInY:
        v = load(Step::LoadY);
        break;
      case kInR:
        v = compute(Op::BitAnd, pixel, constant(255));
        break;
      case kInG:
        v = compute(Op::BitAnd, compute(Op::Shr, pixel, constant(8)), constant(255));
        break;
      case kInB:
        v = compute(Op::BitAnd, compute(Op::Shr, pixel, constant(16)), constant(255));
        break;
      case kInA:
        v = p_.channels == 4 ? compute(Op::Shr, pixel, constant(24)) : constant(0);
        break;
      case kInI:
        v = colourMix(76, 150, 29);
        break;
      case kInU:
        v = colourMix(-19, -37, 56);
        break;
      case kInV:
        v = colourMix(78, -65, -13);
        break;
      case kInD:
        v = compute(Op::C2d, compute(Op::Sub, input(kInX), constant(p_.width / 2)),
                    compute(Op::Sub, input(kInY), constant(p_.height / 2)));
        break;
      case kInM:
        v = compute(Op::C2m, compute(Op::Sub, input(kInX), constant((p_.width + 1) / 2)),
                    compute(Op::Sub, input(kInY), constant((p_.height + 1) / 2)));
        break;
      default:
        v = constant(0);
        break;
    }
    return regValue_[which] = v;
  }

  static constexpr int kPixel = -1;
  const Program& p_;
  Lowered out_;
  std::vector<int> regValue_;
  std::map<std::int32_t, int> constants_;
  int pixel_ = -1;
};

}  // namespace

std::optional<Lowered> lower(const Program& program) {
  std::vector<Instruction> code;
  if (!localiseCells(program, code)) return std::nullopt;
  Lowered lowered = Lowering(program).run(code);
  boundValues(lowered);
  return lowered;
}

}  // namespace qm::formula::compiled
