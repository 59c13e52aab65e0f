#pragma once
// The editor's rules for its eight sliders: which ones Randomize may change, and the ten
// memory spots that store and recall slider settings.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace qm::editor {

using SliderValues = std::array<std::uint8_t, 8>;

struct SliderState {
  std::array<std::string, 8> names;   // as shown in the name labels
  std::array<bool, 8> deactivated{};  // name struck through
  std::array<bool, 4> mapActive{};    // "Activate Map m" ticked
  SliderValues values{};
};

// True when Randomize may change slider k: not struck through, and named or in an active map.
bool randomizable(const SliderState& state, int k);

// Randomize: each slider Randomize may change gets round(255 * unit()), unit() in [0, 1).
void randomizeSliders(SliderState& state, const std::function<double()>& unit);
// The main window's File > Randomize: all eight sliders, whatever their names and maps.
void randomizeAllSliders(SliderState& state, const std::function<double()>& unit);

// Ten stores of eight slider values. After "Delete" a click on a spot empties it; otherwise a
// spot in use is recalled and an empty one stores the current values.
class MemorySpots {
 public:
  static constexpr int kCount = 10;
  enum class Action { Stored, Recalled, Emptied, None };

  bool inUse(int spot) const { return valid(spot) && spots_[spot].has_value(); }
  std::optional<SliderValues> values(int spot) const {
    return valid(spot) ? spots_[spot] : std::nullopt;
  }
  void set(int spot, const SliderValues& values) {
    if (valid(spot)) spots_[spot] = values;
  }
  void clearAll() { spots_ = {}; }

  // "Delete" pressed: the next click empties its spot.
  void armDelete() { deleteArmed_ = true; }
  bool deleteArmed() const { return deleteArmed_; }

  // A click on spot with the current slider values; a recall writes the stored ones into current.
  Action click(int spot, SliderValues& current);

 private:
  static bool valid(int spot) { return spot >= 0 && spot < kCount; }
  std::array<std::optional<SliderValues>, kCount> spots_;
  bool deleteArmed_ = false;
};

}  // namespace qm::editor
