#include "core/editor/formula_catalogue.h"

namespace qm::editor {
namespace {

constexpr CatalogueEntry kFunctions[] = {
    {"src(x,y,z)", "channel z of the pixel at x, y"},
    {"rad(d,m,z)", "channel z of the pixel at direction d, distance m"},
    {"cnv(m11,m12,m13,m21,m22,m23,m31,m32,m33,d)", "3x3 convolution divided by d"},
    {"ctl(i)", "value of slider i"},
    {"val(i,a,b)", "slider i scaled to a..b"},
    {"map(i,n)", "entry n of map i"},
    {"min(a,b)", "the smaller of a and b"},
    {"max(a,b)", "the larger of a and b"},
    {"abs(a)", "absolute value"},
    {"add(a,b,c)", "a + b, at most c"},
    {"sub(a,b,c)", "difference of a and b, at least c"},
    {"dif(a,b)", "absolute difference"},
    {"mix(a,b,n,d)", "a and b mixed n:d"},
    {"scl(a,il,ih,ol,oh)", "a scaled from il..ih to ol..oh"},
    {"sqr(x)", "square root"},
    {"sin(x)", "sine, 1024 units a turn, result -512..512"},
    {"cos(x)", "cosine, 1024 units a turn, result -512..512"},
    {"tan(x)", "tangent, 1024 units a turn"},
    {"r2x(d,m)", "x of direction d, distance m"},
    {"r2y(d,m)", "y of direction d, distance m"},
    {"c2d(x,y)", "direction of x, y"},
    {"c2m(x,y)", "distance of x, y"},
    {"get(i)", "storage cell i"},
    {"put(v,i)", "store v in cell i"},
    {"rnd(a,b)", "random number in a..b"},
    {"rst(i)", "seed the random numbers with i"},
};

constexpr CatalogueEntry kVariables[] = {
    {"r", "red"},
    {"g", "green"},
    {"b", "blue"},
    {"a", "alpha"},
    {"c", "this channel"},
    {"i", "luminance"},
    {"u", "blue chroma"},
    {"v", "red chroma"},
    {"x", "column"},
    {"y", "row"},
    {"z", "channel index"},
    {"X", "width"},
    {"Y", "height"},
    {"Z", "channels"},
    {"d", "direction from the centre"},
    {"D", "largest direction"},
    {"m", "distance from the centre"},
    {"M", "largest distance"},
};

}  // namespace

std::span<const CatalogueEntry> functionEntries() {
  return kFunctions;
}
std::span<const CatalogueEntry> variableEntries() {
  return kVariables;
}

std::size_t caretAfterInsert(std::string_view text, std::size_t at) {
  std::size_t paren = text.find('(');
  return at + (paren == std::string_view::npos ? text.size() : paren + 1);
}

}  // namespace qm::editor
