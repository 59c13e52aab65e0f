#include "core/formula/tables.h"

#include <cmath>
#include <numbers>

#include "core/formula/ops.h"

namespace qm::formula {
namespace {

// Entries where the original table is one above the truncated exact value.
constexpr int kCosBumps[] = {40,  72,  106, 113, 134, 136, 144, 145, 148, 152, 158, 159, 166, 170,
                             171, 175, 183, 192, 213, 216, 223, 229, 234, 238, 239, 240, 248};
constexpr int kAtanBumps[] = {
    1,    2,    84,   119,  212,  215,  219,  239,  276,  325,  334,  353,  371,  375,  381,  393,
    399,  403,  409,  410,  418,  419,  420,  423,  431,  447,  458,  462,  471,  475,  486,  501,
    514,  520,  533,  557,  573,  576,  582,  597,  608,  619,  632,  636,  645,  649,  657,  661,
    670,  687,  694,  701,  705,  712,  719,  732,  736,  750,  758,  761,  776,  784,  787,  799,
    805,  807,  809,  812,  817,  818,  822,  823,  828,  833,  835,  838,  841,  842,  852,  853,
    856,  859,  861,  863,  866,  870,  879,  880,  884,  892,  894,  895,  898,  899,  900,  906,
    907,  908,  912,  915,  917,  919,  922,  925,  930,  931,  932,  933,  934,  939,  940,  942,
    943,  945,  947,  949,  951,  952,  954,  955,  960,  961,  962,  963,  964,  968,  969,  970,
    972,  973,  975,  977,  979,  981,  982,  984,  985,  989,  990,  991,  992,  993,  994,  995,
    996,  997,  1000, 1001, 1003, 1004, 1006, 1007, 1008, 1009, 1010, 1012, 1013, 1014, 1015, 1016,
    1018, 1019, 1020, 1021, 1022, 1023, 1024};

std::uint64_t isqrt64(std::uint64_t v) {
  auto r = static_cast<std::uint64_t>(std::sqrt(static_cast<double>(v)));
  while (r * r > v) --r;
  while ((r + 1) * (r + 1) <= v) ++r;
  return r;
}

Tables build() {
  Tables t{};
  std::array<std::int32_t, 256> quarter{};
  for (int k = 0; k < 256; ++k)
    quarter[k] = static_cast<std::int32_t>(16384.0 * std::cos(k * std::numbers::pi / 512.0));
  for (int k : kCosBumps) quarter[k] += 1;
  for (int i = 0; i < 256; ++i) {
    t.cos[i] = quarter[i];
    t.cos[511 - i] = -quarter[i];
  }
  for (int i = 0; i < 512; ++i) t.cos[1023 - i] = t.cos[i];

  t.atan[0] = 0;
  for (int k = 1; k <= 1024; ++k)
    t.atan[k] = static_cast<std::int32_t>(65536.0 * std::atan(k / 1024.0));
  for (int k : kAtanBumps) t.atan[k] += 1;

  for (std::uint64_t k = 0; k < 1024; ++k)
    t.hyp[k] = static_cast<std::int32_t>(isqrt64(4096 * (1048576 + k * k))) - 65504;
  return t;
}

}  // namespace

const Tables& tables() {
  static const Tables instance = build();
  return instance;
}

std::int32_t angle(std::int32_t px, std::int32_t py) {
  return angle(tables(), px, py);
}
std::int32_t magnitude(std::int32_t a, std::int32_t b) {
  return magnitude(tables(), a, b);
}
std::int32_t radial(std::int32_t d, std::int32_t mag) {
  return radial(tables(), d, mag);
}
std::int32_t cosine(std::int32_t x) {
  return cosine(tables(), x);
}
std::int32_t sine(std::int32_t x) {
  return sine(tables(), x);
}
std::int32_t tangent(std::int32_t x) {
  return tangent(tables(), x);
}

}  // namespace qm::formula
