#pragma once
// A program whose pixels depend on each other (random numbers, cells read before they are
// written) split by channel: the channels whose values read that state must run in the
// original's pixel order; the others can run on a fast tier at the same time.

#include <optional>

#include "core/formula/program.h"

namespace qm::formula {

struct ChannelSplit {
  Program ordered;      // stores the channels that read state, and does every state change
  Program independent;  // stores the other channels, reads and changes no state
};

// Empty when no channel can leave pixel order.
std::optional<ChannelSplit> splitByPixelOrder(const Program& program);

}  // namespace qm::formula
