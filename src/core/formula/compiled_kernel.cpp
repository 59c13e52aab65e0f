#include "core/formula/compiled_kernel.h"

#include <xbyak/xbyak.h>
#include <xbyak/xbyak_util.h>

#include <array>
#include <climits>
#include <cstddef>
#include <cstring>
#include <deque>
#include <map>

#include "core/formula/compiled_lowering.h"
#include "core/formula/compiled_vector_ops.h"
#include "core/formula/ops.h"
#include "core/formula/tables.h"

namespace qm::formula::compiled {

// Operations rare enough to run lane by lane in C++: the code spills its registers and calls.
struct HelperCall {
  Op op = Op::Map;
  std::int32_t channel = 0;
  int argc = 0;
  std::array<int, 12> argSlot{};
  int dstSlot = 0;
};

struct Kernel::Parts {
  std::unique_ptr<Xbyak::CodeGenerator> code;
  std::deque<HelperCall> calls;  // addresses baked into the code, so they must not move
  std::vector<std::int32_t> pool;
  int poolSlot = 0;
  int frameSlots = 0;
};

namespace {

using Xbyak::Address;
using Xbyak::Xmm;
using Xbyak::Ymm;

constexpr int kAllocatable = 12;  // ymm0..11 hold values; ymm12..15 are scratch of one step

void runHelper(const HelperCall* call, std::int32_t* frame, const KernelArgs* args) {
  for (int lane = 0; lane < kLanes; ++lane) {
    std::array<std::int32_t, 12> v{};
    for (int k = 0; k < call->argc; ++k) v[k] = frame[call->argSlot[k] * kLanes + lane];
    std::int32_t r = 0;
    switch (call->op) {
      case Op::Cnv:
        r = args->view->convolve(v.data(), v[9], v[10], v[11], call->channel);
        break;
      case Op::Map:
        r = ops::map(args->sliders, v[0], v[1]);
        break;
      case Op::Mix:
        r = ops::mix(v[0], v[1], v[2], v[3]);
        break;
      case Op::Scl:
        r = ops::scl(v[0], v[1], v[2], v[3], v[4]);
        break;
      default:
        break;
    }
    frame[call->dstSlot * kLanes + lane] = r;
  }
}

bool isHelper(const Node& n) {
  if (n.step != Step::Compute) return false;
  return n.op == Op::Map || n.op == Op::Mix || n.op == Op::Scl ||
         (n.op == Op::Cnv && !n.fixedWeights);
}

class Builder : public VectorOps {
 public:
  Builder(const Lowered& l, Kernel::Parts& parts)
      : VectorOps({l.width, l.height, l.channels}, 1 + static_cast<int>(l.values.size())),
        l_(l),
        parts_(parts),
        uses_(l.values.size()),
        cursor_(l.values.size(), 0),
        lastUse_(l.values.size(), -1),
        where_(l.values.size(), -1),
        inMemory_(l.values.size(), false) {
    for (int i = 0; i < static_cast<int>(l.nodes.size()); ++i) {
      const Node& n = l.nodes[i];
      for (int k = 0; k < n.argc; ++k) {
        uses_[n.arg[k]].push_back(i);
        lastUse_[n.arg[k]] = i;
      }
    }
  }

  void generate() {
    push(rbx);
    push(rbp);
    push(r12);
    push(r13);
    push(r14);
    push(r15);
    sub(rsp, 8);  // calls need a 16-byte aligned stack
    mov(rbp, rdi);
    mov(r15, ptr[rbp + offsetof(KernelArgs, frame)]);
    mov(r14, ptr[rbp + offsetof(KernelArgs, in)]);
    mov(r13, ptr[rbp + offsetof(KernelArgs, out)]);
    mov(r12, ptr[rbp + offsetof(KernelArgs, groups)]);
    mov(ebx, dword[rbp + offsetof(KernelArgs, x)]);
    Xbyak::Label loop;
    L(loop);
    holder_.fill(-1);
    std::fill(where_.begin(), where_.end(), -1);
    std::fill(cursor_.begin(), cursor_.end(), 0);
    for (int i = 0; i < static_cast<int>(l_.nodes.size()); ++i) emitNode(i);
    add(r14, kSlotBytes);
    add(r13, kSlotBytes);
    add(ebx, kLanes);
    dec(r12);
    jnz(loop, T_NEAR);
    vzeroupper();
    add(rsp, 8);
    pop(r15);
    pop(r14);
    pop(r13);
    pop(r12);
    pop(rbp);
    pop(rbx);
    ret();
    ready();
    parts_.poolSlot = poolSlot();
    parts_.frameSlots = poolSlot() + static_cast<int>(pool().size());
    for (const Pattern& p : pool()) parts_.pool.insert(parts_.pool.end(), p.begin(), p.end());
  }

 private:
  int homeSlot(int v) {
    if (l_.values[v].constant) {
      Pattern p;
      p.fill(l_.values[v].k);
      return poolIndex(p);
    }
    return 1 + v;
  }
  bool isConst(int v) const { return l_.values[v].constant; }
  std::int32_t constOf(int v) const { return l_.values[v].k; }

  // ---- registers ----
  int nextUse(int v) {
    auto& c = cursor_[v];
    while (c < static_cast<int>(uses_[v].size()) && uses_[v][c] < pos_) ++c;
    return c < static_cast<int>(uses_[v].size()) ? uses_[v][c] : INT_MAX;
  }
  void store(int v) {
    if (!inMemory_[v] && !isConst(v)) {
      vmovdqu(slot(homeSlot(v)), Ymm(where_[v]));
      inMemory_[v] = true;
    }
  }
  int grab() {
    int best = -1;
    int bestUse = -1;
    for (int r = 0; r < kAllocatable; ++r) {
      if (holder_[r] < 0) return r;
      if (pinned_[r]) continue;
      const int use = nextUse(holder_[r]);
      if (use > bestUse) {
        bestUse = use;
        best = r;
      }
    }
    const int v = holder_[best];
    store(v);
    where_[v] = -1;
    holder_[best] = -1;
    return best;
  }
  Ymm ensure(int v) {
    if (where_[v] < 0) {
      const int r = grab();
      vmovdqu(Ymm(r), slot(homeSlot(v)));
      holder_[r] = v;
      where_[v] = r;
      inMemory_[v] = true;
    }
    pinned_[where_[v]] = true;
    return Ymm(where_[v]);
  }
  Ymm define(int v) {
    const int r = grab();
    holder_[r] = v;
    where_[v] = r;
    inMemory_[v] = false;
    pinned_[r] = true;
    return Ymm(r);
  }
  void spillAll() {
    for (int r = 0; r < kAllocatable; ++r) {
      if (holder_[r] < 0) continue;
      store(holder_[r]);
      where_[holder_[r]] = -1;
      holder_[r] = -1;
    }
  }
  void releaseDead() {
    pinned_.fill(false);
    for (int r = 0; r < kAllocatable; ++r) {
      const int v = holder_[r];
      if (v >= 0 && lastUse_[v] <= pos_) {
        where_[v] = -1;
        holder_[r] = -1;
      }
    }
  }

  // A constant operand the step can take from memory or as an immediate needs no register.
  static bool takesConstant(const Node& n, int k) {
    if (n.step != Step::Compute) return false;
    switch (n.op) {
      case Op::Add:
      case Op::Sub:
      case Op::Mul:
      case Op::BitAnd:
      case Op::BitOr:
      case Op::BitXor:
      case Op::Min:
      case Op::Max:
      case Op::Eq:
      case Op::Ne:
      case Op::Le:
      case Op::Shl:
      case Op::Shr:
      case Op::ShrA:
      case Op::Div:
      case Op::Mod:
        return k == 1;
      case Op::Src:
        return k == 2;
      default:
        return false;
    }
  }

  // ---- steps ----
  void emitNode(int i) {
    pos_ = i;
    const Node& n = l_.nodes[i];
    if (isHelper(n)) {
      emitHelper(n);
      releaseDead();
      return;
    }
    std::array<Ymm, 12> a;
    for (int k = 0; k < n.argc; ++k)
      if (where_[n.arg[k]] >= 0) pinned_[where_[n.arg[k]]] = true;
    for (int k = 0; k < n.argc; ++k)
      if (!(isConst(n.arg[k]) && takesConstant(n, k))) a[k] = ensure(n.arg[k]);
    const Ymm d = n.dst >= 0 ? define(n.dst) : Ymm(0);
    switch (n.step) {
      case Step::LoadX:
        vmovd(Xmm(d.getIdx()), ebx);
        vpbroadcastd(d, Xmm(d.getIdx()));
        vpaddd(d, d, pattern({0, 1, 2, 3, 4, 5, 6, 7}));
        break;
      case Step::LoadY:
        vpbroadcastd(d, dword[rbp + offsetof(KernelArgs, y)]);
        break;
      case Step::LoadPixel:
        vmovdqu(d, ptr[r14]);
        break;
      case Step::StorePixels:
        storePixels(n, a);
        break;
      case Step::Compute:
        compute(n, d, a);
        break;
    }
    releaseDead();
  }

  void emitHelper(const Node& n) {
    spillAll();
    HelperCall& call = parts_.calls.emplace_back();
    call.op = n.op;
    call.channel = n.channel;
    call.argc = n.argc;
    for (int k = 0; k < n.argc; ++k) call.argSlot[k] = homeSlot(n.arg[k]);
    call.dstSlot = homeSlot(n.dst);
    mov(rdi, reinterpret_cast<std::uintptr_t>(&call));
    mov(rsi, r15);
    mov(rdx, rbp);
    mov(rax, reinterpret_cast<std::uintptr_t>(&runHelper));
    vzeroupper();
    call_(rax);
    inMemory_[n.dst] = true;
  }
  void call_(const Xbyak::Reg64& r) { call(r); }

  // The channels a program stores go into their bytes; the others are the input pixel's.
  void storePixels(const Node& n, const std::array<Ymm, 12>& a) {
    const Ymm acc(12), t(13), zero(14);
    vpxor(zero, zero, zero);
    vpxor(acc, acc, acc);
    std::uint32_t kept = 0xFFFFFFFFu;
    for (int ch = 0, k = 0; ch < 4; ++ch) {
      if (!(n.channel & (1 << ch))) continue;
      kept &= ~(0xFFu << (8 * ch));
      // Clamped to 0..255, unless the value cannot leave that range.
      const Value& v = l_.values[n.arg[k]];
      Ymm value = a[k++];
      if (v.lo < 0) {
        vpmaxsd(t, value, zero);
        value = t;
      }
      if (v.hi > 255) {
        vpminsd(t, value, k32(255));
        value = t;
      }
      if (ch == 0) {
        vpor(acc, acc, value);
      } else {
        vpslld(t, value, 8 * ch);
        vpor(acc, acc, t);
      }
    }
    if (kept != 0) {
      vmovdqu(t, ptr[r14]);
      vpand(t, t, k32(static_cast<std::int32_t>(kept)));
      vpor(acc, acc, t);
    }
    vmovdqu(ptr[r13], acc);
  }

  // b is a register, or a constant operand taken from memory.
  Xbyak::Operand const& second(const Node& n, const std::array<Ymm, 12>& a) {
    if (isConst(n.arg[1])) {
      operand_ = k32(constOf(n.arg[1]));
      return operand_;
    }
    return a[1];
  }

  void compute(const Node& n, const Ymm& d, const std::array<Ymm, 12>& a) {
    const Ymm s0(12), s1(13), s2(14), s3(15);
    switch (n.op) {
      case Op::Neg:
        vpxor(s0, s0, s0);
        vpsubd(d, s0, a[0]);
        break;
      case Op::Not:
        vpxor(s0, s0, s0);
        vpcmpeqd(d, a[0], s0);
        vpsrld(d, d, 31);
        break;
      case Op::BitNot:
        vpcmpeqd(s0, s0, s0);
        vpxor(d, a[0], s0);
        break;
      case Op::Abs:
        vpabsd(d, a[0]);
        break;
      case Op::Sqr:
        squareRoot(d, a[0]);
        break;
      case Op::Cos:
        cosine(d, a[0]);
        break;
      case Op::Sin:
        vpsubd(s3, a[0], k32(256));
        cosine(d, s3);
        break;
      case Op::Tan:
        tangent(d, a[0]);
        break;
      case Op::Ctl:
        vpermd(s0, a[0], pattern(sliders()));
        inSliderRange(s1, a[0]);
        vpand(d, s0, s1);
        break;
      case Op::Add:
        vpaddd(d, a[0], second(n, a));
        break;
      case Op::Sub:
        vpsubd(d, a[0], second(n, a));
        break;
      case Op::Mul:
        if (isConst(n.arg[1]) && ops::powerOfTwoShift(constOf(n.arg[1])))
          vpslld(d, a[0], ops::powerOfTwoShift(constOf(n.arg[1])));
        else
          vpmulld(d, a[0], second(n, a));
        break;
      case Op::Div:
      case Op::Mod:
        if (isConst(n.arg[1]))
          divideByConstant(d, a[0], constOf(n.arg[1]), n.op == Op::Mod, l_.values[n.arg[0]]);
        else
          divide(d, a[0], a[1], n.op == Op::Mod, exactInFloat(n.arg[0]) && exactInFloat(n.arg[1]));
        break;
      case Op::Shl:
      case Op::Shr:
      case Op::ShrA:
        shift(n, d, a);
        break;
      case Op::Lt:
        vpcmpgtd(d, a[1], a[0]);
        vpsrld(d, d, 31);
        break;
      case Op::Le:  // 1 + (a > b ? -1 : 0)
        if (isConst(n.arg[1])) {
          vmovdqu(s0, k32(constOf(n.arg[1])));
          vpcmpgtd(d, a[0], s0);
        } else {
          vpcmpgtd(d, a[0], a[1]);
        }
        vpaddd(d, d, k32(1));
        break;
      case Op::Eq:
        vpcmpeqd(d, a[0], second(n, a));
        vpsrld(d, d, 31);
        break;
      case Op::Ne:
        vpcmpeqd(d, a[0], second(n, a));
        vpaddd(d, d, k32(1));
        break;
      case Op::BitAnd:
        vpand(d, a[0], second(n, a));
        break;
      case Op::BitXor:
        vpxor(d, a[0], second(n, a));
        break;
      case Op::BitOr:
        vpor(d, a[0], second(n, a));
        break;
      case Op::LogAnd:
      case Op::LogOr:
        vpxor(s0, s0, s0);
        vpcmpeqd(s1, a[0], s0);
        vpcmpeqd(s2, a[1], s0);
        if (n.op == Op::LogAnd)
          vpor(s1, s1, s2);  // -1 where either is zero
        else
          vpand(s1, s1, s2);  // -1 where both are
        vpaddd(d, s1, k32(1));
        break;
      case Op::Min:
        vpminsd(d, a[0], second(n, a));
        break;
      case Op::Max:
        vpmaxsd(d, a[0], second(n, a));
        break;
      case Op::Dif:
        vpsubd(d, a[0], a[1]);
        vpabsd(d, d);
        break;
      case Op::R2x:
        vmovdqa(s3, a[0]);
        radial(d, s3, a[1]);
        break;
      case Op::R2y:
        vpsubd(s3, a[0], k32(256));
        radial(d, s3, a[1]);
        break;
      case Op::C2d:
        angle(d, a[0], a[1], polarSmall(n));
        break;
      case Op::C2m:
        magnitude(d, a[0], a[1], polarSmall(n));
        break;
      case Op::Select:
        vpxor(s0, s0, s0);
        vpcmpeqd(s0, a[0], s0);
        vpblendvb(d, a[1], a[2], s0);
        break;
      case Op::AddCap:
        vpaddd(d, a[0], a[1]);
        vpminsd(d, d, a[2]);
        break;
      case Op::SubFloor:
        vpsubd(d, a[0], a[1]);
        vpabsd(d, d);
        vpmaxsd(d, d, a[2]);
        break;
      case Op::Val:  // slider i mapped onto lo..hi
        vpermd(s3, a[0], pattern(sliders()));
        vpsubd(s1, a[2], a[1]);
        vpmulld(s3, s3, s1);
        divideByConstant(s3, s3, 255, false);
        vpaddd(s3, s3, a[1]);
        inSliderRange(s0, a[0]);
        vpand(d, s3, s0);
        break;
      case Op::Src:
        sample(n, d, a);
        break;
      case Op::Cnv:
        convolve(n, d, a[0], a[1]);
        break;
      default:
        break;  // helpers and state never get here
    }
  }

  // |v| < 2^24 in every lane: exact in float.
  bool exactInFloat(int v) const {
    return l_.values[v].lo > -(1 << 24) && l_.values[v].hi < (1 << 24);
  }
  // The polar functions divide min(|x|, |y|) * 1024 by max(|x|, |y|): both below 2^24 when
  // the coordinates are below 2^14.
  bool polarSmall(const Node& n) const {
    for (int k = 0; k < 2; ++k)
      if (l_.values[n.arg[k]].lo <= -(1 << 14) || l_.values[n.arg[k]].hi >= (1 << 14)) return false;
    return true;
  }

  Pattern sliders() const {
    Pattern p;
    for (int i = 0; i < kLanes; ++i) p[i] = sliders_[i];
    return p;
  }
  // -1 where 0 <= i <= 7.
  void inSliderRange(const Ymm& mask, const Ymm& i) {
    vpminud(mask, i, k32(7));
    vpcmpeqd(mask, mask, i);
  }

  void shift(const Node& n, const Ymm& d, const std::array<Ymm, 12>& a) {
    if (isConst(n.arg[1])) {
      const int count = constOf(n.arg[1]) & 31;
      if (n.op == Op::Shl) vpslld(d, a[0], count);
      if (n.op == Op::Shr) vpsrld(d, a[0], count);
      if (n.op == Op::ShrA) vpsrad(d, a[0], count);
      return;
    }
    const Ymm count(12);
    vpand(count, a[1], k32(31));
    if (n.op == Op::Shl) vpsllvd(d, a[0], count);
    if (n.op == Op::Shr) vpsrlvd(d, a[0], count);
    if (n.op == Op::ShrA) vpsravd(d, a[0], count);
  }

  void sample(const Node& n, const Ymm& d, const std::array<Ymm, 12>& a) {
    const Ymm s0(12), s1(13);
    if (isConst(n.arg[2])) {
      const std::int32_t z = constOf(n.arg[2]);
      if (z < 0 || z >= l_.channels) {
        vpxor(d, d, d);
        return;
      }
      pixelOffset(a[0], a[1], 0, 0);
      gatherPixels(d);
      channelOf(d, z);
      return;
    }
    pixelOffset(a[0], a[1], 0, 0);
    gatherPixels(d);
    vpslld(s0, a[2], 3);
    vpand(s0, s0, k32(31));
    vpsrlvd(d, d, s0);
    vpand(d, d, k32(255));
    vpminud(s1, a[2], k32(l_.channels - 1));
    vpcmpeqd(s1, s1, a[2]);
    vpand(d, d, s1);
  }

  void convolve(const Node& n, const Ymm& d, const Ymm& x, const Ymm& y) {
    const Ymm tap(14);
    const std::int32_t divisor = n.weights[9];
    vpxor(d, d, d);
    if (divisor == 0 || n.channel < 0 || n.channel >= l_.channels) return;
    // Away from the left and right edges the taps of a row are three plain loads.
    Xbyak::Label nearEdge, summed;
    cmp(ebx, 1);
    jl(nearEdge, T_NEAR);
    lea(ecx, ptr[rbx + kLanes + 1]);
    cmp(ecx, l_.width);
    jg(nearEdge, T_NEAR);
    for (int row = 0; row < 3; ++row) {
      rowAddress(row - 1);
      for (int col = 0; col < 3; ++col) {
        const std::int32_t w = n.weights[row * 3 + col];
        if (w == 0) continue;
        vmovdqu(tap, ptr[rax + (col - 1) * 4]);
        channelOf(tap, n.channel);
        weighTap(d, tap, w);
      }
    }
    jmp(summed, T_NEAR);
    L(nearEdge);
    for (int row = 0; row < 3; ++row)
      for (int col = 0; col < 3; ++col) {
        const std::int32_t w = n.weights[row * 3 + col];
        if (w == 0) continue;
        pixelOffset(x, y, col - 1, row - 1);
        gatherPixels(tap);
        channelOf(tap, n.channel);
        weighTap(d, tap, w);
      }
    L(summed);
    divideByConstant(d, d, divisor, false);
  }

 public:
  std::array<std::uint8_t, 8> sliders_{};

 private:
  const Lowered& l_;
  Kernel::Parts& parts_;
  std::vector<std::vector<int>> uses_;
  std::vector<int> cursor_;
  std::vector<int> lastUse_;
  std::vector<int> where_;
  std::vector<bool> inMemory_;
  std::array<int, kAllocatable> holder_{};
  std::array<bool, kAllocatable> pinned_{};
  int pos_ = 0;
  Address operand_ = ptr[r15];
};

}  // namespace

bool machineSupported() {
  static const bool supported = [] {
    const Xbyak::util::Cpu cpu;
    return cpu.has(Xbyak::util::Cpu::tAVX) && cpu.has(Xbyak::util::Cpu::tAVX2);
  }();
  return supported;
}

Kernel::Kernel(std::unique_ptr<Parts> parts) : parts_(std::move(parts)) {
  entry_ = parts_->code->getCode<void (*)(const KernelArgs*)>();
}

Kernel::~Kernel() = default;

std::unique_ptr<Kernel> Kernel::build(const Program& program) {
  if (!machineSupported()) return nullptr;
  auto lowered = lower(program);
  if (!lowered) return nullptr;
  auto parts = std::make_unique<Parts>();
  try {
    auto builder = std::make_unique<Builder>(*lowered, *parts);
    builder->sliders_ = program.sliders;
    builder->generate();
    parts->code = std::move(builder);
  } catch (const Xbyak::Error&) {
    return nullptr;  // out of executable memory: the caller uses another tier
  }
  return std::unique_ptr<Kernel>(new Kernel(std::move(parts)));
}

std::vector<std::int32_t> Kernel::newFrame(std::ptrdiff_t rowStride) const {
  std::vector<std::int32_t> frame(static_cast<std::size_t>(parts_->frameSlots) * kLanes, 0);
  std::fill_n(frame.begin(), kLanes, static_cast<std::int32_t>(rowStride));
  std::copy(parts_->pool.begin(), parts_->pool.end(),
            frame.begin() + static_cast<std::ptrdiff_t>(parts_->poolSlot) * kLanes);
  return frame;
}

}  // namespace qm::formula::compiled
