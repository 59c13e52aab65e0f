#pragma once
// The input layout of the formula fuzzers: width, height, channels (and language bits) and
// eight slider bytes, then up to four formulas separated by NUL bytes; the picture's bytes
// come from a hash of the whole input.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/formula/compiler.h"

struct FormulaInput {
  qm::formula::FilterSetup setup;
  std::array<std::string, 4> formulas;
  std::vector<std::uint8_t> picture;  // width * height RGBA pixels
};

inline std::optional<FormulaInput> readFormulaInput(const std::uint8_t* data, std::size_t size) {
  if (size < 11) return std::nullopt;
  FormulaInput in;
  in.setup.width = 1 + data[0] % 12;
  in.setup.height = 1 + data[1] % 9;
  in.setup.channels = data[2] & 1 ? 4 : 3;
  for (int k = 0; k < 8; ++k) in.setup.sliders[k] = data[3 + k];
  int which = 0;
  for (std::size_t i = 11; i < size; ++i) {
    if (data[i] == 0) {
      if (++which == 4) break;
      continue;
    }
    in.formulas[which] += static_cast<char>(data[i]);
  }
  in.picture.resize(static_cast<std::size_t>(in.setup.width) * in.setup.height * 4);
  std::uint32_t h = 2166136261u;
  for (std::size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 16777619u;
  for (auto& b : in.picture) {
    h = h * 1103515245u + 12345u;
    b = static_cast<std::uint8_t>(h >> 24);
  }
  return in;
}
