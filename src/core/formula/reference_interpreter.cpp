#include "core/formula/reference_interpreter.h"

#include "core/formula/ops.h"
#include "core/formula/pure_ops.h"

namespace qm::formula {

ReferenceInterpreter::ReferenceInterpreter(const Program& program, const ImageView& input)
    : p_(program), in_(input), regs_(program.registerCount, 0) {
  for (std::size_t k = 0; k < program.constants.size(); ++k)
    regs_[kInputCount + k] = program.constants[k];
}

void ReferenceInterpreter::loadInputs(int x, int y) {
  const std::uint8_t* px = in_.pixel(x, y);
  const int r = px[0], g = px[1], b = px[2];
  regs_[kInX] = x;
  regs_[kInY] = y;
  regs_[kInR] = r;
  regs_[kInG] = g;
  regs_[kInB] = b;
  regs_[kInA] = in_.channels == 4 ? px[3] : 0;
  regs_[kInI] = luminance(r, g, b);
  regs_[kInU] = chromaU(r, g, b);
  regs_[kInV] = chromaV(r, g, b);
  if (p_.inputsUsed & (1u << kInD)) regs_[kInD] = directionAt(x, y, in_.width, in_.height);
  if (p_.inputsUsed & (1u << kInM)) regs_[kInM] = distanceAt(x, y, in_.width, in_.height);
}

void ReferenceInterpreter::runPixel(int x, int y, std::uint8_t* out, RunState& state) {
  loadInputs(x, y);
  std::array<std::int32_t, 10> a{};
  for (const Instruction& ins : p_.code) {
    const int n = argumentCount(ins.op);
    for (int k = 0; k < n; ++k) a[k] = regs_[ins.arg[k]];
    std::int32_t result = 0;
    switch (ins.op) {
      case Op::Src:
        result = in_.sample(a[0], a[1], a[2]);
        break;
      case Op::Cnv:
        result = in_.convolve(a.data(), a[9], x, y, ins.imm);
        break;
      case Op::Get:
        result = a[0] >= 0 && a[0] <= 255 ? state.cells[a[0]] : a[0];
        break;
      case Op::Put:
        if (a[1] >= 0 && a[1] <= 255) state.cells[a[1]] = a[0];
        result = a[0];
        break;
      case Op::Rnd:
        result = state.random.between(a[0], a[1]);
        break;
      case Op::Rst:
        // Seeds the next run, not this one.
        state.nextSeed = a[0] & 0x7FFF;
        break;
      case Op::Store:
        out[ins.dst] = static_cast<std::uint8_t>(ops::clampByte(a[0]));
        lastValues_[ins.dst & 3] = a[0];
        continue;
      default:
        result = evalPure(ins.op, a.data(), p_);
        break;
    }
    regs_[ins.dst] = result;
  }
}

}  // namespace qm::formula
