#pragma once
// Status line texts of the conversion run.

#include <string>

namespace qm::ff {

// A number as the status line shows it: a leading blank stands where a minus sign would.
std::string signedNumber(long long value);
// " k of  n"
std::string countOf(long long done, long long total);
// " k of  n  s.ss sec."
std::string countOfWithTime(long long done, long long total, double seconds);

}  // namespace qm::ff
