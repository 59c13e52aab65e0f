#include "core/formula/block_interpreter.h"

#include <algorithm>

#include "core/formula/ops.h"
#include "core/formula/tables.h"

namespace qm::formula {
namespace {

using i32 = std::int32_t;

template <class F>
void lanes1(i32* __restrict d, const i32* __restrict a, int n, F f) {
  for (int i = 0; i < n; ++i) d[i] = f(a[i]);
}
template <class F>
void lanes2(i32* __restrict d, const i32* __restrict a, const i32* __restrict b, int n, F f) {
  for (int i = 0; i < n; ++i) d[i] = f(a[i], b[i]);
}
template <class F>
void lanes2k(i32* __restrict d, const i32* __restrict a, i32 k, int n, F f) {
  for (int i = 0; i < n; ++i) d[i] = f(a[i], k);
}
template <class F>
void lanes3(i32* __restrict d, const i32* __restrict a, const i32* __restrict b,
            const i32* __restrict c, int n, F f) {
  for (int i = 0; i < n; ++i) d[i] = f(a[i], b[i], c[i]);
}

// Branch-free forms of / and % the compiler can vectorise. A double quotient of two 32-bit
// integers truncates to the exact integer quotient, so these agree with ops::div/mod.
inline i32 divLane(i32 a, i32 b) {
  const i32 safe = ((b == 0) | (b == -1)) ? 1 : b;
  const i32 q = static_cast<i32>(static_cast<double>(a) / static_cast<double>(safe));
  return b == 0 ? 0 : b == -1 ? ops::neg(a) : q;
}
inline i32 modLane(i32 a, i32 b) {
  const i32 safe = ((b == 0) | (b == -1)) ? 1 : b;
  const i32 q = static_cast<i32>(static_cast<double>(a) / static_cast<double>(safe));
  return ops::sub(a, ops::mul(q, safe));
}

// Division by a constant power of two: truncating shift, the sign fixed up like C does.
inline i32 divPow2(i32 a, int shift) {
  const i32 bias = static_cast<i32>(static_cast<std::uint32_t>(a >> 31) >> (32 - shift));
  return ops::add(a, bias) >> shift;
}

inline i32 mixLane(i32 a, i32 b, i32 n, i32 d) {
  const i32 r = ops::add(divLane(ops::mul(a, n), d), divLane(ops::mul(b, ops::sub(d, n)), d));
  return d == 0 ? 0 : r;
}
inline i32 sclLane(i32 a, i32 il, i32 ih, i32 ol, i32 oh) {
  const i32 span = ops::sub(ih, il);
  const i32 r = ops::add(ol, divLane(ops::mul(ops::sub(oh, ol), ops::sub(a, il)), span));
  return span == 0 ? 0 : r;
}

// Division by another fixed divisor (|k| >= 2): multiply by the reciprocal in double, then
// correct by one. The product is off only at exact multiples, and only by one toward zero,
// because its error is below 1/|k|, the least distance of any other quotient from an integer.
// Returns the quotient by |k|; the caller restores the sign.
inline i32 quotientByReciprocal(i32 a, i32 divisor, double inverse) {
  i32 q = static_cast<i32>(static_cast<double>(a) * inverse);
  const i32 r = ops::sub(a, ops::mul(q, divisor));
  q += static_cast<i32>(r == divisor) - static_cast<i32>(r == -divisor);
  return q;
}
bool reciprocalWorks(i32 k) {
  return k != ops::kMin && (k >= 2 || k <= -2);
}

constexpr auto kAdd = [](i32 a, i32 b) { return ops::add(a, b); };
constexpr auto kSub = [](i32 a, i32 b) { return ops::sub(a, b); };
constexpr auto kMul = [](i32 a, i32 b) { return ops::mul(a, b); };
constexpr auto kShl = [](i32 a, i32 b) { return ops::shl(a, b); };
constexpr auto kShr = [](i32 a, i32 b) { return ops::shrLogical(a, b); };
constexpr auto kShrA = [](i32 a, i32 b) { return ops::shrArithmetic(a, b); };
constexpr auto kLt = [](i32 a, i32 b) { return static_cast<i32>(a < b); };
constexpr auto kLe = [](i32 a, i32 b) { return static_cast<i32>(a <= b); };
constexpr auto kEq = [](i32 a, i32 b) { return static_cast<i32>(a == b); };
constexpr auto kNe = [](i32 a, i32 b) { return static_cast<i32>(a != b); };
constexpr auto kAnd = [](i32 a, i32 b) { return a & b; };
constexpr auto kXor = [](i32 a, i32 b) { return a ^ b; };
constexpr auto kOr = [](i32 a, i32 b) { return a | b; };
constexpr auto kLogAnd = [](i32 a, i32 b) { return static_cast<i32>((a != 0) & (b != 0)); };
constexpr auto kLogOr = [](i32 a, i32 b) { return static_cast<i32>((a != 0) | (b != 0)); };
constexpr auto kMin = [](i32 a, i32 b) { return a < b ? a : b; };
constexpr auto kMax = [](i32 a, i32 b) { return a > b ? a : b; };
constexpr auto kDiv = [](i32 a, i32 b) { return divLane(a, b); };
constexpr auto kMod = [](i32 a, i32 b) { return modLane(a, b); };

template <class F>
void binary(const BlockInstruction& ins, i32* d, const i32* a, const i32* b, int n, F f) {
  if (ins.reversed)
    lanes2k(d, a, ins.k, n, [f](i32 v, i32 k) { return f(k, v); });
  else if (ins.immediate)
    lanes2k(d, a, ins.k, n, f);
  else
    lanes2(d, a, b, n, f);
}

// Pixel stride known at compile time (4, the usual RGBA buffer) lets these loops vectorise;
// Stride 0 means "use the run-time stride".
template <int Stride>
void splitChannels(const std::uint8_t* __restrict px, int n, i32* __restrict r, i32* __restrict g,
                   i32* __restrict b, int stride = Stride) {
  const int ps = Stride ? Stride : stride;
  for (int i = 0; i < n; ++i) {
    r[i] = px[i * ps];
    g[i] = px[i * ps + 1];
    b[i] = px[i * ps + 2];
  }
}
// All channels of a block's pixels in one pass, clamped to 0..255.
template <int Stride, int Channels>
void storePixels(std::uint8_t* __restrict px, const std::array<const i32*, 4>& v, int n,
                 int stride = Stride) {
  const int ps = Stride ? Stride : stride;
  for (int i = 0; i < n; ++i)
    for (int ch = 0; ch < Channels; ++ch) {
      const i32 c = v[ch][i] < 0 ? 0 : v[ch][i] > 255 ? 255 : v[ch][i];
      px[i * ps + ch] = static_cast<std::uint8_t>(c);
    }
}

// src with a fixed channel; when every lane reads the same row the row is found once.
void sampleFixedChannel(const BlockInstruction& ins, const ImageView& in, const i32* xs,
                        const i32* ys, int n, i32* d) {
  const int z = ins.k;
  if (z < 0 || z >= in.channels) {
    std::fill_n(d, n, 0);
    return;
  }
  const int last = in.width - 1;
  const int ps = in.pixelStride;
  if (ins.rowUniform) {
    const std::uint8_t* row = in.pixel(0, std::clamp(ys[0], 0, in.height - 1)) + z;
    for (int i = 0; i < n; ++i) d[i] = row[std::clamp(xs[i], 0, last) * ps];
    return;
  }
  for (int i = 0; i < n; ++i) d[i] = in.sample(xs[i], ys[i], z);
}

// cnv with fixed weights: the nine taps read straight from three row pointers, edges pinned.
void convolveFixed(const BlockInstruction& ins, const ImageView& in, int x0, int y, int n, i32* d) {
  const int z = ins.imm;
  if (ins.k == 0 || z < 0 || z >= in.channels) {
    std::fill_n(d, n, 0);  // divisor 0, or a channel that reads 0 everywhere
    return;
  }
  const std::uint8_t* rows[3];
  for (int r = 0; r < 3; ++r) rows[r] = in.pixel(0, std::clamp(y + r - 1, 0, in.height - 1)) + z;
  const int ps = in.pixelStride;
  const int last = in.width - 1;
  const auto& w = ins.weights;
  for (int i = 0; i < n; ++i) {
    const int x = x0 + i;
    const int cols[3] = {(x > 0 ? x - 1 : 0) * ps, x * ps, (x < last ? x + 1 : last) * ps};
    i32 sum = 0;
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) sum = ops::add(sum, ops::mul(w[r * 3 + c], rows[r][cols[c]]));
    d[i] = divLane(sum, ins.k);
  }
}

}  // namespace

BlockInterpreter::BlockInterpreter(const BlockProgram& code, const Program& program,
                                   const ImageView& input)
    : code_(code),
      program_(program),
      in_(input),
      regs_(static_cast<std::size_t>(code.registerCount) * kBlockSize, 0) {
  for (const auto& [r, value] : code.constants) std::fill_n(reg(r), kBlockSize, value);
}

// The lane loops get an AVX2 build beside the baseline one; the loader picks per machine.
#define QM_LANE_CLONES __attribute__((target_clones("avx2", "default")))

QM_LANE_CLONES void BlockInterpreter::loadInputs(int x0, int y, int n) {
  const std::uint32_t used = code_.inputsUsed;
  auto wants = [&](int in) { return (used & (1u << in)) != 0; };
  const bool colour =
      wants(kInR) || wants(kInG) || wants(kInB) || wants(kInI) || wants(kInU) || wants(kInV);
  if (wants(kInX))
    for (int i = 0; i < n; ++i) reg(kInX)[i] = x0 + i;
  if (wants(kInY)) std::fill_n(reg(kInY), n, y);
  if (colour || wants(kInA)) {
    const std::uint8_t* px = in_.pixel(x0, y);
    const int ps = in_.pixelStride;
    i32* r = reg(kInR);
    i32* g = reg(kInG);
    i32* b = reg(kInB);
    if (ps == 4)
      splitChannels<4>(px, n, r, g, b);
    else
      splitChannels<0>(px, n, r, g, b, ps);
    if (wants(kInA)) {
      i32* a = reg(kInA);
      for (int i = 0; i < n; ++i) a[i] = px[i * ps + 3];
    }
    if (wants(kInI)) lanes3(reg(kInI), r, g, b, n, luminance);
    if (wants(kInU)) lanes3(reg(kInU), r, g, b, n, chromaU);
    if (wants(kInV)) lanes3(reg(kInV), r, g, b, n, chromaV);
  }
  if (wants(kInD))
    for (int i = 0; i < n; ++i)
      reg(kInD)[i] = directionAt(tables_, x0 + i, y, in_.width, in_.height);
  if (wants(kInM))
    for (int i = 0; i < n; ++i)
      reg(kInM)[i] = distanceAt(tables_, x0 + i, y, in_.width, in_.height);
}

QM_LANE_CLONES void BlockInterpreter::execute(const BlockInstruction& ins, int x0, int y, int n,
                                              const MutableImageView& out) {
  const i32* a = reg(ins.arg[0]);
  const i32* b = reg(ins.arg[1]);
  const i32* c = reg(ins.arg[2]);
  i32* d = ins.op == Op::Store ? nullptr : reg(ins.dst);
  const std::uint8_t* sliders = program_.sliders.data();
  const Tables& t = tables_;
  switch (ins.op) {
    case Op::Neg:
      lanes1(d, a, n, ops::neg);
      break;
    case Op::Not:
      lanes1(d, a, n, [](i32 v) { return static_cast<i32>(v == 0); });
      break;
    case Op::BitNot:
      lanes1(d, a, n, [](i32 v) { return ~v; });
      break;
    case Op::Abs:
      lanes1(d, a, n, ops::abs);
      break;
    case Op::Sqr:
      lanes1(d, a, n, ops::sqr);
      break;
    case Op::Cos:
      lanes1(d, a, n, [&](i32 v) { return cosine(t, v); });
      break;
    case Op::Sin:
      lanes1(d, a, n, [&](i32 v) { return sine(t, v); });
      break;
    case Op::Tan:
      lanes1(d, a, n, [&](i32 v) { return tangent(t, v); });
      break;
    case Op::Ctl:
      lanes1(d, a, n, [&](i32 v) { return ops::ctl(sliders, v); });
      break;
    case Op::Add:
      binary(ins, d, a, b, n, kAdd);
      break;
    case Op::Sub:
      binary(ins, d, a, b, n, kSub);
      break;
    case Op::Mul:
      binary(ins, d, a, b, n, kMul);
      break;
    case Op::Div:
      if (const int shift = ins.immediate && !ins.reversed ? ops::powerOfTwoShift(ins.k) : 0) {
        lanes1(d, a, n, [shift](i32 v) { return divPow2(v, shift); });
      } else if (ins.immediate && !ins.reversed && reciprocalWorks(ins.k)) {
        const i32 m = ins.k < 0 ? -ins.k : ins.k;
        const double inverse = 1.0 / m;
        const i32 sign = ins.k < 0 ? -1 : 1;
        lanes1(d, a, n, [=](i32 v) { return sign * quotientByReciprocal(v, m, inverse); });
      } else {
        binary(ins, d, a, b, n, kDiv);
      }
      break;
    case Op::Mod:
      if (const int shift = ins.immediate && !ins.reversed ? ops::powerOfTwoShift(ins.k) : 0) {
        lanes1(d, a, n, [shift](i32 v) { return ops::sub(v, ops::shl(divPow2(v, shift), shift)); });
      } else if (ins.immediate && !ins.reversed && reciprocalWorks(ins.k)) {
        // a % k = a - trunc(a / |k|) * |k| for either sign of k.
        const i32 m = ins.k < 0 ? -ins.k : ins.k;
        const double inverse = 1.0 / m;
        lanes1(d, a, n, [=](i32 v) {
          return ops::sub(v, ops::mul(quotientByReciprocal(v, m, inverse), m));
        });
      } else {
        binary(ins, d, a, b, n, kMod);
      }
      break;
    case Op::Shl:
      binary(ins, d, a, b, n, kShl);
      break;
    case Op::Shr:
      binary(ins, d, a, b, n, kShr);
      break;
    case Op::ShrA:
      binary(ins, d, a, b, n, kShrA);
      break;
    case Op::Lt:
      binary(ins, d, a, b, n, kLt);
      break;
    case Op::Le:
      binary(ins, d, a, b, n, kLe);
      break;
    case Op::Eq:
      binary(ins, d, a, b, n, kEq);
      break;
    case Op::Ne:
      binary(ins, d, a, b, n, kNe);
      break;
    case Op::BitAnd:
      binary(ins, d, a, b, n, kAnd);
      break;
    case Op::BitXor:
      binary(ins, d, a, b, n, kXor);
      break;
    case Op::BitOr:
      binary(ins, d, a, b, n, kOr);
      break;
    case Op::LogAnd:
      binary(ins, d, a, b, n, kLogAnd);
      break;
    case Op::LogOr:
      binary(ins, d, a, b, n, kLogOr);
      break;
    case Op::Min:
      binary(ins, d, a, b, n, kMin);
      break;
    case Op::Max:
      binary(ins, d, a, b, n, kMax);
      break;
    case Op::Dif:
      lanes2(d, a, b, n, ops::dif);
      break;
    case Op::R2x:
      lanes2(d, a, b, n, [&](i32 v, i32 m) { return radial(t, v, m); });
      break;
    case Op::R2y:
      lanes2(d, a, b, n, [&](i32 v, i32 m) { return radial(t, ops::sub(v, 256), m); });
      break;
    case Op::C2d:
      lanes2(d, a, b, n, [&](i32 x, i32 y) { return angle(t, x, y); });
      break;
    case Op::C2m:
      lanes2(d, a, b, n, [&](i32 x, i32 y) { return magnitude(t, x, y); });
      break;
    case Op::Map:
      lanes2(d, a, b, n, [&](i32 i, i32 v) { return ops::map(sliders, i, v); });
      break;
    case Op::Select:
      lanes3(d, a, b, c, n, [](i32 s, i32 t, i32 e) { return s != 0 ? t : e; });
      break;
    case Op::AddCap:
      lanes3(d, a, b, c, n, ops::addCapped);
      break;
    case Op::SubFloor:
      lanes3(d, a, b, c, n, ops::subFloored);
      break;
    case Op::Val:
      lanes3(d, a, b, c, n, [&](i32 i, i32 lo, i32 hi) { return ops::val(sliders, i, lo, hi); });
      break;
    case Op::Src:
      if (ins.immediate)
        sampleFixedChannel(ins, in_, a, b, n, d);
      else
        lanes3(d, a, b, c, n, [&](i32 x, i32 yy, i32 z) { return in_.sample(x, yy, z); });
      break;
    case Op::Mix: {
      const i32* e = reg(ins.arg[3]);
      for (int i = 0; i < n; ++i) d[i] = mixLane(a[i], b[i], c[i], e[i]);
      break;
    }
    case Op::Scl: {
      const i32* e = reg(ins.arg[3]);
      const i32* f = reg(ins.arg[4]);
      for (int i = 0; i < n; ++i) d[i] = sclLane(a[i], b[i], c[i], e[i], f[i]);
      break;
    }
    case Op::Cnv: {
      if (ins.constantWeights) {
        convolveFixed(ins, in_, x0, y, n, d);
        break;
      }
      std::array<const i32*, 10> w;
      for (int k = 0; k < 10; ++k) w[k] = reg(ins.arg[k]);
      std::array<i32, 9> lane;
      for (int i = 0; i < n; ++i) {
        for (int k = 0; k < 9; ++k) lane[k] = w[k][i];
        d[i] = in_.convolve(lane.data(), w[9][i], x0 + i, y, ins.imm);
      }
      break;
    }
    case Op::Store: {
      std::uint8_t* px = out.pixel(x0, y);
      const std::array<const i32*, 4> v = {a, b, c, reg(ins.arg[3])};
      if (out.pixelStride == 4 && ins.imm == 3) {
        storePixels<4, 3>(px, v, n);
        // The fourth byte is the input pixel's.
        const std::uint8_t* source = in_.pixel(x0, y);
        if (in_.pixelStride == 4 && source != px)
          for (int i = 0; i < n; ++i) px[i * 4 + 3] = source[i * 4 + 3];
      } else if (out.pixelStride == 4 && ins.imm == 4) {
        storePixels<4, 4>(px, v, n);
      } else {
        for (int ch = 0; ch < ins.imm; ++ch)
          storePixels<0, 1>(px + ch, {v[ch], nullptr, nullptr, nullptr}, n, out.pixelStride);
      }
      break;
    }
    case Op::Get:
    case Op::Put:
    case Op::Rnd:
    case Op::Rst:
      break;  // never in a block program
  }
}

void BlockInterpreter::runBlock(int x0, int y, int count, const MutableImageView& out) {
  loadInputs(x0, y, count);
  for (const BlockInstruction& ins : code_.code) {
    if (ins.uniform) {
      execute(ins, x0, y, 1, out);
      std::fill_n(reg(ins.dst) + 1, count - 1, reg(ins.dst)[0]);
    } else {
      execute(ins, x0, y, count, out);
    }
  }
}

void BlockInterpreter::runRow(int y, const MutableImageView& out) {
  for (int x0 = 0; x0 < in_.width; x0 += kBlockSize)
    runBlock(x0, y, std::min(kBlockSize, in_.width - x0), out);
}

}  // namespace qm::formula
