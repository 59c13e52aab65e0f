#pragma once
// The run's random generator: a subtractive generator with a 55-word lag table, all
// arithmetic modulo 2^32.

#include <array>
#include <cstdint>

namespace qm::formula {

class SubtractiveRandom {
 public:
  explicit SubtractiveRandom(std::uint32_t seed = 0) { reseed(seed); }
  void reseed(std::uint32_t seed);
  std::uint32_t next();
  // rnd(a, b): one draw always; b < a gives 0.
  std::int32_t between(std::int32_t a, std::int32_t b);

 private:
  std::array<std::uint32_t, 56> s_{};  // s_[1..55]
  int p1_ = 0;
  int p2_ = 31;
};

}  // namespace qm::formula
