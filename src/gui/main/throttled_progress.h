#pragma once
// Progress that passes on at most a few status texts a second and each percent once: a scan
// of thousands of small files would otherwise spend more time posting texts to the window
// than reading files.

#include <chrono>
#include <string_view>

#include "core/common/ports.h"

namespace qm::gui {

class ThrottledProgress final : public Progress {
 public:
  explicit ThrottledProgress(Progress& target) : target_(target) {}

  void status(std::string_view text) override {
    const auto now = std::chrono::steady_clock::now();
    if (now - lastStatus_ < kInterval) return;
    lastStatus_ = now;
    target_.status(text);
  }
  void percent(int value) override {
    if (value == lastPercent_) return;
    lastPercent_ = value;
    target_.percent(value);
  }
  bool cancelled() override { return target_.cancelled(); }

 private:
  static constexpr std::chrono::milliseconds kInterval{40};
  Progress& target_;
  std::chrono::steady_clock::time_point lastStatus_{};
  int lastPercent_ = -1;
};

}  // namespace qm::gui
