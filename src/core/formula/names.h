#pragma once
// Every name the formula language knows: pixel variables, run constants and functions.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <utility>

namespace qm::formula {

// Values that change per pixel (c and z are resolved per channel by the compiler).
enum class PixelVar : std::uint8_t { X, Y, R, G, B, A, I, U, V, D, M, C, Z };

// Values fixed for the run. Literal carries its value in NameInfo::value.
enum class RunConst : std::uint8_t { Width, Height, Channels, MaxMagnitude, Literal };

enum class Function : std::uint8_t {
  Src,
  Rad,
  Cnv,
  Ctl,
  Val,
  Map,
  Min,
  Max,
  Abs,
  Add,
  Sub,
  Dif,
  Mix,
  Scl,
  Sqr,
  Cos,
  Sin,
  Tan,
  R2x,
  R2y,
  C2d,
  C2m,
  Get,
  Put,
  Rnd,
  Rst
};

struct NameInfo {
  enum class Kind : std::uint8_t { Pixel, Constant, Function } kind = Kind::Constant;
  PixelVar pixel = PixelVar::X;
  RunConst constant = RunConst::Literal;
  std::int32_t value = 0;
  Function function = Function::Src;
  int arity = 0;
};

std::optional<NameInfo> lookupName(std::string_view name);
// Every known name, in a fixed order (for completion lists).
std::span<const std::pair<std::string_view, NameInfo>> knownNames();
int arityOf(Function f);

}  // namespace qm::formula
