#include "core/editor/slider_rules.h"

#include <cmath>

namespace qm::editor {

bool randomizable(const SliderState& state, int k) {
  if (k < 0 || k >= 8 || state.deactivated[k]) return false;
  return !state.names[k].empty() || state.mapActive[k / 2];
}

namespace {

std::uint8_t randomValue(const std::function<double()>& unit) {
  double value = std::round(255.0 * unit());
  return static_cast<std::uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
}

}  // namespace

void randomizeSliders(SliderState& state, const std::function<double()>& unit) {
  for (int k = 0; k < 8; ++k)
    if (randomizable(state, k)) state.values[k] = randomValue(unit);
}

void randomizeAllSliders(SliderState& state, const std::function<double()>& unit) {
  for (auto& value : state.values) value = randomValue(unit);
}

MemorySpots::Action MemorySpots::click(int spot, SliderValues& current) {
  if (!valid(spot)) return Action::None;
  if (deleteArmed_) {
    deleteArmed_ = false;
    spots_[spot].reset();
    return Action::Emptied;
  }
  if (spots_[spot]) {
    current = *spots_[spot];
    return Action::Recalled;
  }
  spots_[spot] = current;
  return Action::Stored;
}

}  // namespace qm::editor
