#pragma once
// The lookup tables behind the trigonometric and polar functions, and the three shared
// algorithms built on them (direction, magnitude, radial offset).

#include <array>
#include <cstdint>
#include <utility>

#include "core/formula/ops.h"

namespace qm::formula {

struct Tables {
  std::array<std::int32_t, 1024> cos;   // scale 16384; has no zero entry, on purpose
  std::array<std::int32_t, 1025> atan;  // index 1..1024, scale 65536 per radian
  std::array<std::int32_t, 1024> hyp;   // 65536 * (sqrt(1 + (k/1024)^2) - 1) + 32
};

// Built once on first use, then read-only.
const Tables& tables();

std::int32_t angle(std::int32_t px, std::int32_t py);    // c2d and d: -512..512
std::int32_t magnitude(std::int32_t a, std::int32_t b);  // c2m, m and M
std::int32_t radial(std::int32_t d, std::int32_t mag);   // r2x; r2y is radial(d - 256, m)
std::int32_t cosine(std::int32_t x);                     // scaled by 512, may give -513
std::int32_t sine(std::int32_t x);
std::int32_t tangent(std::int32_t x);

// The same with the tables passed in, for loops that should not look them up per call.
inline std::int32_t angle(const Tables& t, std::int32_t px, std::int32_t py) {
  std::int32_t ay = ops::abs(py);
  std::int32_t ax = ops::abs(px);
  const bool negY = py < 0;
  const bool negX = px < 0;
  const bool steep = ay > ax;
  if (steep) std::swap(ay, ax);
  std::int32_t v = 0;
  if (ay != 0) {
    // ay * 1024 wraps at 32 bits like the original; only absurd coordinates (2^21 and up)
    // get there, and we keep the table index inside 0..1024 for them.
    std::int32_t q = ops::div(ops::mul(ay, 1024), ax);
    if (q > 1024) q = 1024;
    if (q > 0) v = t.atan[q] * 512 / 205888;
  }
  if (negX != steep) v = 256 - v;
  if (negX) v += 256;
  if (negY) v = -v;
  return v;
}

inline std::int32_t magnitude(const Tables& tab, std::int32_t a, std::int32_t b) {
  a = ops::abs(a);
  b = ops::abs(b);
  std::int32_t t;
  std::int32_t hi;
  if (a == b) {
    t = 27146;
    hi = a;
  } else {
    const std::int32_t lo = ops::min(a, b);
    hi = ops::max(a, b);
    std::int32_t q = ops::div(ops::mul(lo, 1024), hi);
    // Only reachable with wrapped products of absurd inputs; keeps the index in the table.
    if (q < 0) q = 0;
    if (q > 1023) q = 1023;
    t = tab.hyp[q];
  }
  const std::int64_t scaled = (static_cast<std::int64_t>(t) * hi) >> 16;
  return ops::add(hi, static_cast<std::int32_t>(static_cast<std::uint32_t>(scaled)));
}

inline std::int32_t radial(const Tables& t, std::int32_t d, std::int32_t mag) {
  const std::int64_t p = static_cast<std::int64_t>(mag) * t.cos[d & 1023] + 8191;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(p >> 14));
}

inline std::int32_t cosine(const Tables& t, std::int32_t x) {
  const std::int32_t v = t.cos[ops::abs(x) & 1023];
  // The negative branch is one lower than floor for exact multiples of 32, as the original
  // machine code does (so cos(512) is -513).
  return v >= 0 ? v / 32 : v / 32 - 1;
}

inline std::int32_t sine(const Tables& t, std::int32_t x) {
  return cosine(t, ops::sub(x, 256));
}

inline std::int32_t tangent(const Tables& t, std::int32_t x) {
  const std::int32_t den = t.cos[ops::abs(x) & 1023];
  const std::int32_t num = t.cos[ops::abs(ops::sub(x, 256)) & 1023];
  return ops::div(num * 1024, den);
}

}  // namespace qm::formula
