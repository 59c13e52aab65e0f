// Interval bounds of the compiled tier's values. Anything that could wrap gets the whole
// 32-bit range, so a bound is never wrong, only sometimes wider than it could be.

#include <algorithm>

#include "core/formula/compiled_lowering.h"

namespace qm::formula::compiled {
namespace {

struct Range {
  std::int64_t lo = INT32_MIN;
  std::int64_t hi = INT32_MAX;
};

constexpr Range kAll{};

Range fit(std::int64_t lo, std::int64_t hi) {
  if (lo < INT32_MIN || hi > INT32_MAX) return kAll;
  return {lo, hi};
}

Range product(const Range& a, const Range& b) {
  // Operands beyond 2^31 in magnitude would overflow int64 products; they are never narrow.
  const std::int64_t c[] = {a.lo * b.lo, a.lo * b.hi, a.hi * b.lo, a.hi * b.hi};
  return fit(*std::min_element(c, c + 4), *std::max_element(c, c + 4));
}

Range quotient(const Range& a, std::int32_t k) {
  if (k == 0) return {0, 0};
  if (k == -1) return fit(-a.hi, -a.lo);
  const std::int64_t x = a.lo / k, y = a.hi / k;
  return {std::min(x, y), std::max(x, y)};
}

Range boundOf(const Node& n, const std::vector<Value>& v, const Lowered& l) {
  auto r = [&](int k) { return Range{v[n.arg[k]].lo, v[n.arg[k]].hi}; };
  auto isConst = [&](int k) { return v[n.arg[k]].constant; };
  auto k1 = [&] { return v[n.arg[1]].k; };
  switch (n.step) {
    case Step::LoadX:  // lanes past the right edge count on up to the next multiple of 8
      return {0, (l.width + 7) / 8 * 8 - 1};
    case Step::LoadY:
      return {0, std::max(l.height - 1, 0)};
    case Step::LoadPixel:
    case Step::StorePixels:
      return kAll;
    case Step::Compute:
      break;
  }
  switch (n.op) {
    case Op::Add:
      return fit(r(0).lo + r(1).lo, r(0).hi + r(1).hi);
    case Op::Sub:
      return fit(r(0).lo - r(1).hi, r(0).hi - r(1).lo);
    case Op::Neg:
      return fit(-r(0).hi, -r(0).lo);
    case Op::Mul:
      return product(r(0), r(1));
    case Op::Div:
      return isConst(1) ? quotient(r(0), k1()) : kAll;
    case Op::BitAnd: {
      if (isConst(1) && k1() >= 0) return {0, k1()};
      if (r(0).lo >= 0 && r(1).lo >= 0) return {0, std::min(r(0).hi, r(1).hi)};
      if (r(0).lo >= 0) return {0, r(0).hi};
      if (r(1).lo >= 0) return {0, r(1).hi};
      return kAll;
    }
    case Op::Shr: {
      if (!isConst(1)) return kAll;
      const int s = k1() & 31;
      if (r(0).lo >= 0) return {r(0).lo >> s, r(0).hi >> s};
      return s == 0 ? kAll : Range{0, (std::int64_t{1} << (32 - s)) - 1};
    }
    case Op::Lt:
    case Op::Le:
    case Op::Eq:
    case Op::Ne:
    case Op::Not:
    case Op::LogAnd:
    case Op::LogOr:
      return {0, 1};
    case Op::Min:
      return {std::min(r(0).lo, r(1).lo), std::min(r(0).hi, r(1).hi)};
    case Op::Max:
      return {std::max(r(0).lo, r(1).lo), std::max(r(0).hi, r(1).hi)};
    case Op::Abs:
      if (r(0).lo >= 0) return r(0);
      if (r(0).lo == INT32_MIN) return kAll;
      return {r(0).hi < 0 ? -r(0).hi : 0, std::max(-r(0).lo, r(0).hi)};
    case Op::Select:
      return {std::min(r(1).lo, r(2).lo), std::max(r(1).hi, r(2).hi)};
    case Op::Src:
      return {0, 255};
    case Op::Cos:
    case Op::Sin:
      return {-513, 512};
    default:
      return kAll;
  }
}

}  // namespace

void boundValues(Lowered& l) {
  for (Value& v : l.values)
    if (v.constant) v.lo = v.hi = v.k;
  for (const Node& n : l.nodes) {
    if (n.dst < 0) continue;
    const Range r = boundOf(n, l.values, l);
    l.values[n.dst].lo = r.lo;
    l.values[n.dst].hi = r.hi;
  }
}

}  // namespace qm::formula::compiled
