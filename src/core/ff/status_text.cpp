#include "core/ff/status_text.h"

#include <cstdio>

namespace qm::ff {

std::string signedNumber(long long value) {
  return (value < 0 ? "" : " ") + std::to_string(value);
}

std::string countOf(long long done, long long total) {
  return signedNumber(done) + " of " + signedNumber(total);
}

// Elapsed time with two decimals: whole seconds say nothing on a run of small files.
std::string countOfWithTime(long long done, long long total, double seconds) {
  char elapsed[32];
  std::snprintf(elapsed, sizeof elapsed, "%.2f", seconds);
  return countOf(done, total) + "  " + elapsed + " sec.";
}

}  // namespace qm::ff
