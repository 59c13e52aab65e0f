#pragma once
// Runs a Filter Factory record's formulas over a picture in place.

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/ff/record.h"
#include "core/formula/compiler.h"
#include "core/formula/engine.h"
#include "core/formula/thread_pool.h"
#include "core/host/image.h"
#include "core/host/image_library.h"

namespace qm::host {

struct FilterRun {
  std::array<std::uint8_t, 8> sliders{};
  formula::ThreadPool* pool = nullptr;
  std::function<bool()> cancelled;
  formula::Engine engine = formula::Engine::Automatic;
  // False where the caller drops the picture when the run is cancelled: a filter whose pixels
  // each read only themselves then overwrites the picture as it goes, with no second buffer.
  bool keepPictureOnCancel = true;
};

enum class RunOutcome { Done, BadFormula, Cancelled, BadArea };

struct RunReport {
  RunOutcome outcome = RunOutcome::Done;
  formula::CompileError error;  // for BadFormula
};

// A picture without alpha is a 3-channel image (the A formula is not even parsed); one with
// alpha is a 4-channel layer. area is clipped to the picture; x and y count from its
// top-left corner and X, Y are its size. On any outcome but Done the picture is unchanged
// (after a cancelled run only with keepPictureOnCancel).
RunReport runFilter(const std::array<std::string, 4>& formulas, Image& image, const Rect& area,
                    const FilterRun& run);

// "G formula, position 5: unknown name 'foo'" (position 1-based).
std::string describe(const formula::CompileError& error);

}  // namespace qm::host
