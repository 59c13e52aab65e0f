#pragma once
// The closing words of a conversion run in the window: how many files were written, which
// inputs were skipped and why, which could not be read or written and why, and where a
// stopped run stopped. Warnings (texts cut to their fields) stand apart from the failures.

#include <string>

#include "core/ff/convert.h"

namespace qm::ff {

struct ConvertSummary {
  std::string text;
  bool problems = false;  // something could not be read or written
};

// target is the run's output format (what a skipped input was skipped for). Each line is
// said once, however many architectures met the same problem; a section names ten and counts
// the rest.
ConvertSummary convertSummary(const ConvertReport& report, int target);

}  // namespace qm::ff
