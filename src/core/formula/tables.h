#pragma once
// The lookup tables behind the trigonometric and polar functions, and the three shared
// algorithms built on them (direction, magnitude, radial offset).

#include <array>
#include <cstdint>

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

}  // namespace qm::formula
