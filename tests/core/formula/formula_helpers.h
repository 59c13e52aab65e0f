#pragma once
// Small images and one-call evaluation for the formula tests.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/formula/compiler.h"
#include "core/formula/reference_interpreter.h"
#include "core/formula/render.h"

namespace qm::formula::testing {

struct Picture {
  int width = 0;
  int height = 0;
  int channels = 4;  // bytes per pixel
  std::vector<std::uint8_t> bytes;

  Picture(int w, int h, int z) : width(w), height(h), channels(z), bytes(std::size_t(w) * h * z) {}
  std::uint8_t* at(int x, int y) { return bytes.data() + (std::size_t(y) * width + x) * channels; }
  ImageView view() const {
    return {bytes.data(), width, height, channels, channels, std::ptrdiff_t(width) * channels};
  }
  MutableImageView mutableView() {
    return {bytes.data(), channels, std::ptrdiff_t(width) * channels};
  }
};

inline Picture uniform(int w, int h, std::array<std::uint8_t, 4> rgba, int z = 4) {
  Picture p(w, h, z);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int k = 0; k < z; ++k) p.at(x, y)[k] = rgba[k];
  return p;
}

// Every pixel different, so sampling mistakes show.
inline Picture gradient(int w, int h, int z = 4) {
  Picture p(w, h, z);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int k = 0; k < z; ++k) p.at(x, y)[k] = std::uint8_t(x * 7 + y * 13 + k * 50);
  return p;
}

struct Context {
  int width = 100;
  int height = 100;
  int x = 0;
  int y = 0;
  std::array<std::uint8_t, 4> rgba{10, 20, 30, 255};
  std::array<std::uint8_t, 8> sliders{};
};

// The unclamped value of formula as the R formula at ctx's pixel of a uniform image.
inline std::int32_t valueOf(const std::string& formula, const Context& ctx = {}) {
  FilterSetup setup{ctx.width, ctx.height, 4, ctx.sliders, {}};
  auto program = compileFilter({formula, "0", "0", "0"}, setup);
  EXPECT_TRUE(program.has_value())
      << formula << ": " << (program ? "" : program.error().error.message);
  if (!program) return 0;
  Picture in = uniform(ctx.width, ctx.height, ctx.rgba);
  ReferenceInterpreter interpreter(*program, in.view());
  RunState state(0);
  std::array<std::uint8_t, 4> out{};
  interpreter.runPixel(ctx.x, ctx.y, out.data(), state);
  return interpreter.lastValue(0);
}

// Runs the filter over a copy of in and returns the result's bytes.
inline std::vector<std::uint8_t> applyFilter(const std::array<std::string, 4>& formulas,
                                             const Picture& in, RenderOptions options = {},
                                             std::array<std::uint8_t, 8> sliders = {}) {
  FilterSetup setup{in.width, in.height, in.channels, sliders, {}};
  auto program = compileFilter(formulas, setup);
  EXPECT_TRUE(program.has_value()) << (program ? "" : program.error().error.message);
  Picture out = in;
  if (program) render(*program, in.view(), out.mutableView(), options);
  return out.bytes;
}

}  // namespace qm::formula::testing
