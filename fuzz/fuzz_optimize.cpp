// OptimizeCode and Correctprmcode over arbitrary formula text. NUL bytes split the input into
// the four formulas.

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/ff/formula_cleanup.h"
#include "fuzz_source_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qm::ff::FFRecord rec;
  std::size_t channel = 0;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0 && channel < 3) {
      ++channel;
      continue;
    }
    rec.formulas[channel] += static_cast<char>(data[i]);
  }
  qm::ff::FFRecord plain = rec;
  qm::ff::OptimizeCode(rec, false);
  qm::ff::OptimizeCode(plain, true);
  std::size_t sum = qm::ff::fuzz::touchRecord(rec) + qm::ff::fuzz::touchRecord(plain);
  for (const auto& formula : rec.formulas) {
    sum += qm::ff::Correctprmcode(formula).size();
    sum += qm::ff::GetUntill(formula, ',').size();
  }
  volatile std::size_t sink = sum;
  (void)sink;
  return 0;
}
