#pragma once
// The reference: runs the instruction list one pixel at a time, exactly in the original's
// order, with real storage cells and the random generator. Every faster path must give the
// same bytes as this one.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/formula/image_view.h"
#include "core/formula/program.h"
#include "core/formula/random.h"

namespace qm::formula {

// What one run shares across all its pixels and channels.
struct RunState {
  explicit RunState(std::uint32_t seed) : random(seed) {}
  std::array<std::int32_t, 256> cells{};
  SubtractiveRandom random;
  std::optional<std::int32_t> nextSeed;  // the last rst() argument, masked to 15 bits
};

class ReferenceInterpreter {
 public:
  ReferenceInterpreter(const Program& program, const ImageView& input);
  // Computes every channel of pixel (x, y) and writes them to out[0..Z-1].
  void runPixel(int x, int y, std::uint8_t* out, RunState& state);
  // The unclamped value channel ch produced in the last runPixel (an editor can show it).
  std::int32_t lastValue(int ch) const { return lastValues_[ch & 3]; }

 private:
  void loadInputs(int x, int y);
  const Program& p_;
  ImageView in_;
  std::vector<std::int32_t> regs_;
  std::array<std::int32_t, 4> lastValues_{};
};

}  // namespace qm::formula
