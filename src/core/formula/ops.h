#pragma once
// The integer semantics of every operator and pure function of the formula language. All
// values are 32-bit two's complement; the wrapping operations go through uint32_t so that
// overflow is defined. Both interpreters and the constant folder call these, so they cannot
// drift apart.

#include <bit>
#include <cstdint>
#include <limits>

namespace qm::formula::ops {

using i32 = std::int32_t;
using u32 = std::uint32_t;

inline constexpr i32 kMin = std::numeric_limits<i32>::min();

constexpr i32 add(i32 a, i32 b) {
  return static_cast<i32>(static_cast<u32>(a) + static_cast<u32>(b));
}
constexpr i32 sub(i32 a, i32 b) {
  return static_cast<i32>(static_cast<u32>(a) - static_cast<u32>(b));
}
constexpr i32 mul(i32 a, i32 b) {
  return static_cast<i32>(static_cast<u32>(a) * static_cast<u32>(b));
}
constexpr i32 neg(i32 a) {
  return static_cast<i32>(0u - static_cast<u32>(a));
}

// Division by zero gives 0. INT_MIN / -1 would fault on the original's hardware; we return
// INT_MIN, the wrapped quotient.
constexpr i32 div(i32 a, i32 b) {
  if (b == 0) return 0;
  if (b == -1) return neg(a);
  return a / b;
}
// Modulo by zero gives 0; INT_MIN % -1 gives 0 (the mathematically right remainder).
constexpr i32 mod(i32 a, i32 b) {
  if (b == 0 || b == -1) return 0;
  return a % b;
}

// Shift counts use their low five bits only.
constexpr i32 shl(i32 a, i32 b) {
  return static_cast<i32>(static_cast<u32>(a) << (b & 31));
}
// The manual calls >> a logical shift; no reference render decides it, so we follow the
// manual. The arithmetic reading is kept as a language option.
constexpr i32 shrLogical(i32 a, i32 b) {
  return static_cast<i32>(static_cast<u32>(a) >> (b & 31));
}
constexpr i32 shrArithmetic(i32 a, i32 b) {
  return a >> (b & 31);
}

constexpr i32 truth(bool v) {
  return v ? 1 : 0;
}
constexpr i32 abs(i32 a) {
  return a < 0 ? neg(a) : a;
}  // abs(INT_MIN) stays INT_MIN
constexpr i32 min(i32 a, i32 b) {
  return a < b ? a : b;
}
constexpr i32 max(i32 a, i32 b) {
  return a > b ? a : b;
}
constexpr i32 addCapped(i32 a, i32 b, i32 c) {
  return min(add(a, b), c);
}
constexpr i32 dif(i32 a, i32 b) {
  return abs(sub(a, b));
}
// sub(a,b,c): the manual leaves open whether the difference is absolute; we take the
// absolute difference, the reading every known implementation uses.
constexpr i32 subFloored(i32 a, i32 b, i32 c) {
  return max(dif(a, b), c);
}

constexpr i32 mix(i32 a, i32 b, i32 n, i32 d) {
  if (d == 0) return 0;
  return add(div(mul(a, n), d), div(mul(b, sub(d, n)), d));
}

constexpr i32 scl(i32 a, i32 il, i32 ih, i32 ol, i32 oh) {
  if (ih == il) return 0;
  return add(ol, div(mul(sub(oh, ol), sub(a, il)), sub(ih, il)));
}

// Exact floor square root; x <= 1 (negatives included) returns x itself.
constexpr i32 sqr(i32 x) {
  if (x <= 1) return x;
  u32 lo = 1, hi = 46341;  // 46341^2 > INT32_MAX
  while (hi - lo > 1) {
    u32 mid = (lo + hi) / 2;
    if (static_cast<std::uint64_t>(mid) * mid <= static_cast<u32>(x))
      lo = mid;
    else
      hi = mid;
  }
  return static_cast<i32>(lo);
}

constexpr i32 clampByte(i32 v) {
  return v < 0 ? 0 : v > 255 ? 255 : v;
}

// Slider access; out-of-range indices read 0.
constexpr i32 ctl(const std::uint8_t* sliders, i32 i) {
  return i >= 0 && i < 8 ? sliders[i] : 0;
}

constexpr i32 val(const std::uint8_t* sliders, i32 i, i32 a, i32 b) {
  if (i < 0 || i > 7) return 0;
  return add(div(mul(sliders[i], sub(b, a)), 255), a);
}

// Entry n of the ramp between slider 2i (high) and 2i+1 (low). The inverted ramp is 255
// minus the rising ramp from the smaller slider, which is not symmetric to the normal one.
constexpr i32 map(const std::uint8_t* sliders, i32 i, i32 n) {
  if (i < 0 || i > 3) return 0;
  const i32 h = sliders[2 * i];
  const i32 l = sliders[2 * i + 1];
  n = clampByte(n);
  if (h == l) return n < h ? 0 : 255;
  if (h > l) {
    if (n <= l) return 0;
    if (n >= h) return 255;
    return (n - l) * 255 / (h - l);
  }
  if (n <= h) return 255;
  if (n >= l) return 0;
  return 255 - (n - h) * 255 / (l - h);
}

// log2 of k when k is a power of two from 2 on, else 0: the fast tiers' shift for k.
constexpr int powerOfTwoShift(i32 k) {
  if (k < 2 || (k & (k - 1)) != 0) return 0;
  return std::countr_zero(static_cast<std::uint32_t>(k));
}

}  // namespace qm::formula::ops
