#include "core/formula/compiled_vector_ops.h"

#include <climits>
#include <cstddef>
#include <cstring>

#include "core/formula/ops.h"

namespace qm::formula::compiled {

using Xbyak::Xmm;
using Xbyak::Ymm;

VectorOps::VectorOps(const PictureShape& shape, int poolSlot)
    : Xbyak::CodeGenerator(1 << 16, Xbyak::AutoGrow), shape_(shape), poolSlot_(poolSlot) {}

int VectorOps::poolIndex(const Pattern& p) {
  auto [it, inserted] = poolIndex_.try_emplace(p, static_cast<int>(pool_.size()));
  if (inserted) pool_.push_back(p);
  return poolSlot_ + it->second;
}

Xbyak::Address VectorOps::k32(std::int32_t k) {
  Pattern p;
  p.fill(k);
  return pattern(p);
}

Xbyak::Address VectorOps::k64(std::int64_t k) {
  Pattern p;
  for (int i = 0; i < kLanes; i += 2) std::memcpy(&p[i], &k, 8);
  return pattern(p);
}

Xbyak::Address VectorOps::kDouble(double d) {
  std::int64_t bits;
  std::memcpy(&bits, &d, 8);
  return k64(bits);
}

// Truncating a / b through double lanes: the quotient of two 32-bit integers is never close
// enough to an integer to round onto it. INT_MIN / -1 converts to INT_MIN, the wrapped
// result; b == 0 gives 0. With |a| and |b| below 2^24 float lanes are exact too: the
// quotient's rounding error, under |q| * 2^-24, stays below 1/|b|, the least distance of a
// fraction a/b from an integer. Uses ymm12..14; a and b must not be among them; d is written
// last.
void VectorOps::divide(const Ymm& d, const Ymm& a, const Ymm& b, bool modulo, bool exactInFloat) {
  const Ymm s0(12), s1(13), s2(14);
  const Xmm x0(12), x1(13), x2(14);
  if (exactInFloat) {
    vcvtdq2ps(s0, a);
    vcvtdq2ps(s1, b);
    vdivps(s0, s0, s1);
    vcvttps2dq(s0, s0);
  } else {
    vcvtdq2pd(s0, Xmm(a.getIdx()));
    vcvtdq2pd(s1, Xmm(b.getIdx()));
    vdivpd(s0, s0, s1);
    vcvttpd2dq(x0, s0);
    vextracti128(x1, a, 1);
    vcvtdq2pd(s1, x1);
    vextracti128(x2, b, 1);
    vcvtdq2pd(s2, x2);
    vdivpd(s1, s1, s2);
    vcvttpd2dq(x1, s1);
    vinserti128(s0, s0, x1, 1);
  }
  if (modulo) {
    vpmulld(s1, s0, b);
    vpsubd(s0, a, s1);
  }
  vpxor(s1, s1, s1);
  vpcmpeqd(s1, b, s1);
  vpandn(d, s1, s0);
}

// a / k or a % k for a fixed k; `bounds` says what a can be. Uses ymm12..14 (and ymm15 for
// the odd divisors that go the general way); a may be d but not ymm12..14.
void VectorOps::divideByConstant(const Ymm& d, const Ymm& a, std::int32_t k, bool modulo,
                                 const Value& bounds) {
  const Ymm s0(12), s1(13), s2(14), s3(15);
  const Xmm x0(12), x1(13);
  if (k == 0 || (modulo && (k == 1 || k == -1))) {
    vpxor(d, d, d);
    return;
  }
  if (k == 1) {
    if (d.getIdx() != a.getIdx()) vmovdqa(d, a);
    return;
  }
  if (k == -1) {
    vpxor(s0, s0, s0);
    vpsubd(d, s0, a);
    return;
  }
  if (k == INT_MIN) {
    vmovdqu(s3, k32(k));
    divide(d, a, s3, modulo);
    return;
  }
  const std::int32_t m = k < 0 ? -k : k;
  const bool nonNegative = bounds.lo >= 0;
  if (nonNegative && k > 0 && ops::powerOfTwoShift(k)) {
    if (modulo)
      vpand(d, a, k32(k - 1));
    else
      vpsrld(d, a, ops::powerOfTwoShift(k));
    return;
  }
  if (nonNegative && bounds.hi < (1 << 24) && !ops::powerOfTwoShift(m)) {
    smallQuotient(d, a, k, modulo);
    return;
  }
  if (const int s = ops::powerOfTwoShift(m)) {
    // Truncation toward zero: negative dividends get m - 1 added before the shift.
    vpsrad(s0, a, 31);
    vpsrld(s0, s0, 32 - s);
    vpaddd(s0, a, s0);
    if (modulo) {
      vpand(s0, s0, k32(~(m - 1)));
      vpsubd(d, a, s0);
    } else if (k > 0) {
      vpsrad(d, s0, s);
    } else {
      vpsrad(s0, s0, s);
      vpxor(s1, s1, s1);
      vpsubd(d, s1, s0);
    }
    return;
  }
  // Multiply by the reciprocal, then correct by one: the product is off only at exact
  // multiples, and only by one toward zero.
  vcvtdq2pd(s0, Xmm(a.getIdx()));
  vmulpd(s0, s0, kDouble(1.0 / m));
  vcvttpd2dq(x0, s0);
  vextracti128(x1, a, 1);
  vcvtdq2pd(s1, x1);
  vmulpd(s1, s1, kDouble(1.0 / m));
  vcvttpd2dq(x1, s1);
  vinserti128(s0, s0, x1, 1);
  vpmulld(s1, s0, k32(m));
  vpsubd(s1, a, s1);
  vpcmpeqd(s2, s1, k32(m));
  vpsubd(s0, s0, s2);
  vpcmpeqd(s2, s1, k32(-m));
  vpaddd(s0, s0, s2);
  quotientResult(d, a, s0, s1, k, modulo);
}

// d = the quotient q of a by k (its sign applied), or the remainder a - q*|k|; m = |k|.
void VectorOps::quotientResult(const Ymm& d, const Ymm& a, const Ymm& q, const Ymm& scratch,
                               std::int32_t k, bool modulo) {
  const std::int32_t m = k < 0 ? -k : k;
  if (modulo) {
    vpmulld(scratch, q, k32(m));
    vpsubd(d, a, scratch);
  } else if (k > 0) {
    vmovdqa(d, q);
  } else {
    vpxor(scratch, scratch, scratch);
    vpsubd(d, scratch, q);
  }
}

// 0 <= a < 2^24 is exact in float lanes, and so is 1/|k| to 2^-24: the truncated product
// is the quotient or one off either way, which the remainder then corrects.
void VectorOps::smallQuotient(const Ymm& d, const Ymm& a, std::int32_t k, bool modulo) {
  const Ymm s0(12), s1(13), s2(14);
  const std::int32_t m = k < 0 ? -k : k;
  const float inverse = 1.0f / static_cast<float>(m);
  std::int32_t bits;
  std::memcpy(&bits, &inverse, 4);
  vcvtdq2ps(s0, a);
  vmulps(s0, s0, k32(bits));
  vcvttps2dq(s0, s0);
  vpmulld(s1, s0, k32(m));
  vpsubd(s1, a, s1);
  vpxor(s2, s2, s2);
  vpcmpgtd(s2, s2, s1);  // remainder below 0: one too many
  vpaddd(s0, s0, s2);
  vpcmpgtd(s2, s1, k32(m - 1));  // remainder m or more: one too few
  vpsubd(s0, s0, s2);
  quotientResult(d, a, s0, s1, k, modulo);
}

// x <= 1 stays x; otherwise the floor of the square root, exact through double lanes.
void VectorOps::squareRoot(const Ymm& d, const Ymm& a) {
  const Ymm s0(12), s1(13), s2(14);
  const Xmm x0(12), x1(13);
  vcvtdq2pd(s0, Xmm(a.getIdx()));
  vsqrtpd(s0, s0);
  vcvttpd2dq(x0, s0);
  vextracti128(x1, a, 1);
  vcvtdq2pd(s1, x1);
  vsqrtpd(s1, s1);
  vcvttpd2dq(x1, s1);
  vinserti128(s0, s0, x1, 1);
  vpcmpgtd(s2, a, k32(1));
  vpblendvb(d, a, s0, s2);
}

// d = table[index] lane by lane; index is consumed. Uses ymm12 (mask) and rax.
void VectorOps::gather(const Ymm& d, const Ymm& index, const std::int32_t* table) {
  const Ymm mask(12);
  mov(rax, reinterpret_cast<std::uintptr_t>(table));
  vpcmpeqd(mask, mask, mask);
  vpgatherdd(d, ptr[rax + index * 4], mask);
}

// cos of a: the table entry at |a| & 1023, divided by 32 toward zero, one lower if negative.
// a may be ymm15; uses ymm12..14.
void VectorOps::cosine(const Ymm& d, const Ymm& a) {
  const Ymm s0(12), s1(13), s2(14);
  vpabsd(s1, a);
  vpand(s1, s1, k32(1023));
  gather(s2, s1, tables_.cos.data());
  vpsrad(s0, s2, 31);
  vpsrld(s1, s0, 27);
  vpaddd(s1, s2, s1);
  vpsrad(s1, s1, 5);
  vpaddd(d, s1, s0);
}

void VectorOps::tangent(const Ymm& d, const Ymm& a) {
  const Ymm s1(13), s3(15);
  vpabsd(s1, a);
  vpand(s1, s1, k32(1023));
  gather(d, s1, tables_.cos.data());  // the denominator
  vpsubd(s1, a, k32(256));
  vpabsd(s1, s1);
  vpand(s1, s1, k32(1023));
  gather(s3, s1, tables_.cos.data());
  vpslld(s3, s3, 10);
  divide(d, s3, d, false);
}

// (mag * COS[dir & 1023] + 8191) >> 14 with a 64-bit product; the low 32 bits of a logical
// and an arithmetic shift agree here. dir is ymm15 and is consumed; uses ymm12..14.
void VectorOps::radial(const Ymm& d, const Ymm& dir, const Ymm& mag) {
  const Ymm s0(12), s1(13), s2(14), s3(15);
  vpand(s3, dir, k32(1023));
  gather(s2, s3, tables_.cos.data());
  vpmuldq(s0, mag, s2);
  vpaddq(s0, s0, k64(8191));
  vpsrlq(s0, s0, 14);
  vpsrlq(s1, mag, 32);
  vpsrlq(s2, s2, 32);
  vpmuldq(s1, s1, s2);
  vpaddq(s1, s1, k64(8191));
  vpsllq(s1, s1, 18);  // (p >> 14) << 32
  vpblendd(d, s0, s1, 0xAA);
}

// Direction of (px, py) in 1/1024 turns, as the shared algorithm does it.
void VectorOps::angle(const Ymm& d, const Ymm& px, const Ymm& py, bool exactInFloat) {
  const Ymm s0(12), s1(13), s2(14), s3(15);
  vpabsd(s0, py);
  vpabsd(s1, px);
  vpminsd(d, s0, s1);   // ay after the swap
  vpmaxsd(s3, s0, s1);  // ax after the swap
  vpslld(d, d, 10);
  divide(d, d, s3, false, exactInFloat);
  vpminsd(d, d, k32(1024));
  vpxor(s0, s0, s0);
  vpmaxsd(d, d, s0);  // q <= 0 reads atan[0] == 0
  gather(s3, d, tables_.atan.data());
  vpslld(s3, s3, 9);
  divideByConstant(d, s3, 205888, false);
  // Unfold: negX != steep -> 256 - v; negX -> v + 256; negY -> -v.
  vpsrad(s0, px, 31);
  vpabsd(s1, py);
  vpabsd(s2, px);
  vpcmpgtd(s1, s1, s2);
  vpxor(s1, s1, s0);
  vmovdqu(s2, k32(256));
  vpsubd(s2, s2, d);
  vpblendvb(d, d, s2, s1);
  vpand(s1, s0, k32(256));
  vpaddd(d, d, s1);
  vpsrad(s0, py, 31);
  vpxor(d, d, s0);
  vpsubd(d, d, s0);
}

// Approximate length of (a, b), as the shared algorithm does it.
void VectorOps::magnitude(const Ymm& d, const Ymm& a, const Ymm& b, bool exactInFloat) {
  const Ymm s0(12), s1(13), s2(14), s3(15);
  vpabsd(s0, a);
  vpabsd(s1, b);
  vpminsd(d, s0, s1);
  vpmaxsd(s3, s0, s1);  // hi
  vpslld(d, d, 10);
  divide(d, d, s3, false, exactInFloat);
  vpxor(s0, s0, s0);
  vpmaxsd(d, d, s0);
  vpminsd(d, d, k32(1023));
  gather(s1, d, tables_.hyp.data());
  vpabsd(s0, a);
  vpabsd(s2, b);
  vpcmpeqd(s0, s0, s2);
  vpblendvb(s1, s1, k32(27146), s0);
  vpmuldq(s0, s1, s3);
  vpsrlq(s0, s0, 16);
  vpsrlq(s1, s1, 32);
  vpsrlq(s2, s3, 32);
  vpmuldq(s1, s1, s2);
  vpsllq(s1, s1, 16);  // (p >> 16) << 32
  vpblendd(d, s0, s1, 0xAA);
  vpaddd(d, d, s3);
}

// Byte offset of the pinned pixel (x + dx, y + dy) into s0; uses ymm13.
void VectorOps::pixelOffset(const Ymm& x, const Ymm& y, int dx, int dy) {
  const Ymm s0(12), s1(13);
  if (dy) {
    vpaddd(s1, y, k32(dy));
    vpmaxsd(s1, s1, k32(0));
  } else {
    vpmaxsd(s1, y, k32(0));
  }
  vpminsd(s1, s1, k32(shape_.height - 1));
  vpmulld(s1, s1, slot(kRowStrideSlot));
  if (dx) {
    vpaddd(s0, x, k32(dx));
    vpmaxsd(s0, s0, k32(0));
  } else {
    vpmaxsd(s0, x, k32(0));
  }
  vpminsd(s0, s0, k32(shape_.width - 1));
  vpslld(s0, s0, 2);
  vpaddd(s0, s0, s1);
}
// d = the 32-bit input pixel at each byte offset in ymm12 (consumed); uses ymm13, rax and rcx.
// Most samples read a run of neighbours, left to right or right to left (a shift, a mirror); one
// load and at most a lane reversal fetch those far faster than a gather.
void VectorOps::gatherPixels(const Ymm& d) {
  const Ymm offset(12), t(13);
  const Xmm offset128(12), t128(13);
  Xbyak::Label backwards, gatherLanes, done;
  mov(rax, ptr[rbp + offsetof(KernelArgs, image)]);
  vpbroadcastd(t, offset128);
  vpaddd(t, t, pattern({0, 4, 8, 12, 16, 20, 24, 28}));
  vpcmpeqd(t, t, offset);
  vmovmskps(ecx, t);
  cmp(ecx, 0xFF);
  jne(backwards);
  vmovd(ecx, offset128);
  vmovdqu(d, ptr[rax + rcx]);
  jmp(done, T_NEAR);
  L(backwards);
  vextracti128(t128, offset, 1);
  vpshufd(t128, t128, 0xFF);
  vpbroadcastd(t, t128);
  vpaddd(t, t, pattern({28, 24, 20, 16, 12, 8, 4, 0}));
  vpcmpeqd(t, t, offset);
  vmovmskps(ecx, t);
  cmp(ecx, 0xFF);
  jne(gatherLanes);
  vextracti128(t128, offset, 1);
  vpextrd(ecx, t128, 3);
  vmovdqu(d, pattern({7, 6, 5, 4, 3, 2, 1, 0}));
  vpermd(d, d, ptr[rax + rcx]);
  jmp(done);
  L(gatherLanes);
  vpcmpeqd(t, t, t);
  vpgatherdd(d, ptr[rax + offset], t);
  L(done);
}
void VectorOps::channelOf(const Ymm& d, int z) {
  if (z == 3) {
    vpsrld(d, d, 24);
    return;
  }
  if (z) vpsrld(d, d, 8 * z);
  vpand(d, d, k32(255));
}

// Adds w * tap to d.
void VectorOps::weighTap(const Ymm& d, const Ymm& tap, std::int32_t w) {
  if (w == 1) {
    vpaddd(d, d, tap);
  } else if (w == -1) {
    vpsubd(d, d, tap);
  } else {
    vpmulld(tap, tap, k32(w));
    vpaddd(d, d, tap);
  }
}

// rax = address of input pixel (x of lane 0, y + dy), the row pinned to the picture.
void VectorOps::rowAddress(int dy) {
  mov(eax, dword[rbp + offsetof(KernelArgs, y)]);
  add(eax, dy);
  xor_(edx, edx);
  cmp(eax, edx);
  cmovl(eax, edx);
  mov(edx, shape_.height - 1);
  cmp(eax, edx);
  cmovg(eax, edx);
  movsxd(rdx, dword[r15 + kRowStrideSlot * kSlotBytes]);
  imul(rax, rdx);
  add(rax, ptr[rbp + offsetof(KernelArgs, image)]);
  lea(rax, ptr[rax + rbx * 4]);
}

}  // namespace qm::formula::compiled
