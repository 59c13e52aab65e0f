#pragma once
// The compiled tier's form of a program: every value written once, the pixel inputs spelled
// out as loads and arithmetic, constants kept apart so the code generator can use them as
// immediates, and one store of all channels at the end.

#include <array>
#include <climits>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/formula/program.h"

namespace qm::formula::compiled {

enum class Step : std::uint8_t {
  Compute,      // op over args
  LoadX,        // x of each lane
  LoadY,        // y, the same in every lane
  LoadPixel,    // the input pixel of each lane as one 32-bit word
  StorePixels,  // args: the values of the channels in `channel` (a bit mask), clamped
};

struct Node {
  Step step = Step::Compute;
  Op op = Op::Add;
  std::int32_t channel = 0;  // Cnv: the channel it reads; StorePixels: the channels written
  int argc = 0;
  std::array<int, 12> arg{};  // value ids
  int dst = -1;               // value id
  // Cnv whose weights and divisor are fixed: they are here, and args are x and y.
  bool fixedWeights = false;
  std::array<std::int32_t, 10> weights{};
};

struct Value {
  bool constant = false;
  std::int32_t k = 0;
  // Every lane's value lies in lo..hi (see boundValues); the whole range until then.
  std::int64_t lo = INT32_MIN;
  std::int64_t hi = INT32_MAX;
};

struct Lowered {
  std::vector<Node> nodes;
  std::vector<Value> values;
  int width = 0;
  int height = 0;
  int channels = 3;
};

// Empty when pixels depend on each other (random numbers, cells carried between pixels).
// The values come with the ranges boundValues gives them.
std::optional<Lowered> lower(const Program& program);

// Narrows each value's lo..hi from its operation and operands, so the code generator can drop
// clamps and sign fix-ups that cannot matter.
void boundValues(Lowered& lowered);

}  // namespace qm::formula::compiled
