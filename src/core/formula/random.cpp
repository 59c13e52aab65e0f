#include "core/formula/random.h"

#include "core/formula/ops.h"

namespace qm::formula {

void SubtractiveRandom::reseed(std::uint32_t seed) {
  std::uint32_t mj = 161803398u - (seed & 0x7FFFu);
  s_[55] = mj;
  std::uint32_t mk = 1;
  int k = 0;
  for (int n = 0; n < 54; ++n) {
    k = (k + 21) % 55;
    s_[k] = mk;
    mk = mj - mk;
    mj = s_[k];
  }
  for (int round = 0; round < 4; ++round)
    for (int j = 1; j <= 55; ++j) s_[j] -= s_[1 + (j + 30) % 55];
  p1_ = 0;
  p2_ = 31;
}

std::uint32_t SubtractiveRandom::next() {
  if (++p1_ == 56) p1_ = 1;
  if (++p2_ == 56) p2_ = 1;
  const std::uint32_t w = s_[p1_] - s_[p2_];
  s_[p1_] = w;
  return w;
}

std::int32_t SubtractiveRandom::between(std::int32_t a, std::int32_t b) {
  const std::uint32_t w = next();
  const std::int32_t n = ops::sub(b, a);
  if (n < 0) return 0;
  const std::uint32_t range = static_cast<std::uint32_t>(n) + 1u;  // never 0: n <= INT32_MAX
  return ops::add(a, static_cast<std::int32_t>(w % range));
}

}  // namespace qm::formula
