#pragma once
// Shared by the source fuzzers: touches every byte of a record so the sanitizers see any
// text that was built from memory it should not have read.

#include <cstddef>

#include "core/ff/options.h"
#include "core/ff/record.h"

namespace qm::ff::fuzz {

inline std::size_t touchRecord(const FFRecord& rec) {
  std::size_t sum = rec.photoshopDialect ? 1 : 0;
  auto add = [&sum](const std::string& text) {
    for (char c : text) sum += static_cast<unsigned char>(c);
  };
  for (const auto* text : {&rec.fileName, &rec.category, &rec.title, &rec.copyright, &rec.author})
    add(*text);
  for (const auto& name : rec.controlNames) add(name);
  for (const auto& name : rec.mapNames) add(name);
  for (const auto& formula : rec.formulas) add(formula);
  for (auto value : rec.sliderValues) sum += value;
  return sum;
}

// Runs read(rec, options) once with and once without optimisation, touching each result.
template <class Read>
void readWithAndWithoutOptimising(Read read) {
  for (bool noOptimize : {false, true}) {
    FFOptions options;
    options.noOptimize = noOptimize;
    FFRecord rec;
    read(rec, options);
    volatile std::size_t sink = touchRecord(rec);
    (void)sink;
  }
}

}  // namespace qm::ff::fuzz
