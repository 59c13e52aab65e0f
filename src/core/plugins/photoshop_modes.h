#pragma once
// Photoshop's own built-in filters, listed beside plugins in a Photoshop mode.

#include <span>
#include <string_view>

namespace qm::plugins {

// The filters Photoshop has built in for category; empty for any other category.
std::span<const std::string_view> builtInFilters(std::string_view category);

// Captions of a pane's two Photoshop-mode boxes (pane 0 left, 1 right).
std::string_view oldModeCaption(int pane);
std::string_view newModeCaption(int pane);

}  // namespace qm::plugins
