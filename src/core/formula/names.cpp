#include "core/formula/names.h"

#include <array>
#include <utility>

namespace qm::formula {
namespace {

using K = NameInfo::Kind;

constexpr NameInfo pixel(PixelVar v) {
  return {K::Pixel, v, RunConst::Literal, 0, Function::Src, 0};
}
constexpr NameInfo constant(RunConst c) {
  return {K::Constant, PixelVar::X, c, 0, Function::Src, 0};
}
constexpr NameInfo literal(std::int32_t v) {
  return {K::Constant, PixelVar::X, RunConst::Literal, v, Function::Src, 0};
}
constexpr NameInfo function(Function f, int arity) {
  return {K::Function, PixelVar::X, RunConst::Literal, 0, f, arity};
}

// pow() belongs to a later patched build, not to the original, so it is an unknown name here.
// The two-clip names of the video variants (r0, src1, ...) are plain synonyms here, as the
// program has one source image. t, tmin, tmax and total have no known values in the original;
// we use 0, 0, 1 and 1 like the best-known clone. I, U, V, umax, vmax etc. keep the original's
// 255 and 0 even though they do not describe the real ranges of i, u and v.
constexpr std::pair<std::string_view, NameInfo> kNames[] = {
    {"x", pixel(PixelVar::X)},
    {"y", pixel(PixelVar::Y)},
    {"z", pixel(PixelVar::Z)},
    {"p", pixel(PixelVar::Z)},
    {"r", pixel(PixelVar::R)},
    {"g", pixel(PixelVar::G)},
    {"b", pixel(PixelVar::B)},
    {"a", pixel(PixelVar::A)},
    {"c", pixel(PixelVar::C)},
    {"i", pixel(PixelVar::I)},
    {"u", pixel(PixelVar::U)},
    {"v", pixel(PixelVar::V)},
    {"d", pixel(PixelVar::D)},
    {"m", pixel(PixelVar::M)},
    {"r0", pixel(PixelVar::R)},
    {"g0", pixel(PixelVar::G)},
    {"b0", pixel(PixelVar::B)},
    {"a0", pixel(PixelVar::A)},
    {"c0", pixel(PixelVar::C)},
    {"i0", pixel(PixelVar::I)},
    {"u0", pixel(PixelVar::U)},
    {"v0", pixel(PixelVar::V)},
    {"d0", pixel(PixelVar::D)},
    {"m0", pixel(PixelVar::M)},
    {"r1", pixel(PixelVar::R)},
    {"g1", pixel(PixelVar::G)},
    {"b1", pixel(PixelVar::B)},
    {"a1", pixel(PixelVar::A)},
    {"c1", pixel(PixelVar::C)},
    {"i1", pixel(PixelVar::I)},
    {"u1", pixel(PixelVar::U)},
    {"v1", pixel(PixelVar::V)},
    {"d1", pixel(PixelVar::D)},
    {"m1", pixel(PixelVar::M)},
    {"X", constant(RunConst::Width)},
    {"Y", constant(RunConst::Height)},
    {"Z", constant(RunConst::Channels)},
    {"M", constant(RunConst::MaxMagnitude)},
    {"xmax", constant(RunConst::Width)},
    {"ymax", constant(RunConst::Height)},
    {"zmax", constant(RunConst::Channels)},
    {"pmax", constant(RunConst::Channels)},
    {"mmax", constant(RunConst::MaxMagnitude)},
    {"D", literal(1024)},
    {"dmax", literal(1024)},
    {"R", literal(255)},
    {"G", literal(255)},
    {"B", literal(255)},
    {"A", literal(255)},
    {"C", literal(255)},
    {"I", literal(255)},
    {"U", literal(255)},
    {"V", literal(255)},
    {"rmax", literal(255)},
    {"gmax", literal(255)},
    {"bmax", literal(255)},
    {"amax", literal(255)},
    {"cmax", literal(255)},
    {"imax", literal(255)},
    {"umax", literal(255)},
    {"vmax", literal(255)},
    {"rmin", literal(0)},
    {"gmin", literal(0)},
    {"bmin", literal(0)},
    {"amin", literal(0)},
    {"cmin", literal(0)},
    {"imin", literal(0)},
    {"umin", literal(0)},
    {"vmin", literal(0)},
    {"dmin", literal(0)},
    {"mmin", literal(0)},
    {"xmin", literal(0)},
    {"ymin", literal(0)},
    {"zmin", literal(0)},
    {"pmin", literal(0)},
    {"t", literal(0)},
    {"tmin", literal(0)},
    {"tmax", literal(1)},
    {"total", literal(1)},
    {"src", function(Function::Src, 3)},
    {"src0", function(Function::Src, 3)},
    {"src1", function(Function::Src, 3)},
    {"rad", function(Function::Rad, 3)},
    {"rad0", function(Function::Rad, 3)},
    {"rad1", function(Function::Rad, 3)},
    {"cnv", function(Function::Cnv, 10)},
    {"cnv0", function(Function::Cnv, 10)},
    {"cnv1", function(Function::Cnv, 10)},
    {"ctl", function(Function::Ctl, 1)},
    {"val", function(Function::Val, 3)},
    {"map", function(Function::Map, 2)},
    {"min", function(Function::Min, 2)},
    {"max", function(Function::Max, 2)},
    {"abs", function(Function::Abs, 1)},
    {"add", function(Function::Add, 3)},
    {"sub", function(Function::Sub, 3)},
    {"dif", function(Function::Dif, 2)},
    {"mix", function(Function::Mix, 4)},
    {"scl", function(Function::Scl, 5)},
    {"sqr", function(Function::Sqr, 1)},
    {"sqrt", function(Function::Sqr, 1)},
    {"cos", function(Function::Cos, 1)},
    {"sin", function(Function::Sin, 1)},
    {"tan", function(Function::Tan, 1)},
    {"r2x", function(Function::R2x, 2)},
    {"r2y", function(Function::R2y, 2)},
    {"c2d", function(Function::C2d, 2)},
    {"c2m", function(Function::C2m, 2)},
    {"get", function(Function::Get, 1)},
    {"put", function(Function::Put, 2)},
    {"rnd", function(Function::Rnd, 2)},
    {"rst", function(Function::Rst, 1)},
};

}  // namespace

std::optional<NameInfo> lookupName(std::string_view name) {
  for (const auto& [text, info] : kNames)
    if (text == name) return info;
  return std::nullopt;
}

std::span<const std::pair<std::string_view, NameInfo>> knownNames() {
  return kNames;
}

int arityOf(Function f) {
  for (const auto& [text, info] : kNames)
    if (info.kind == K::Function && info.function == f) return info.arity;
  return 0;
}

}  // namespace qm::formula
