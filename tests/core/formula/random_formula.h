#pragma once
// Random well-formed formulas over the whole language, for comparing the two interpreters.

#include <random>
#include <string>

namespace qm::formula::testing {

inline std::string randomFormula(std::mt19937& rng, int depth) {
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  static const char* kLeaves[] = {
      "x", "y", "z",   "r",   "g",    "b",     "a",          "c",           "i", "u",
      "v", "d", "m",   "X",   "Y",    "Z",     "M",          "D",           "0", "1",
      "2", "7", "255", "256", "1024", "65536", "2147483647", "-2147483648", "31"};
  static const char* kBinary[] = {"+",  "-",  "*",  "/", "%", "<<", ">>", "<",  "<=", ">",
                                  ">=", "==", "!=", "&", "^", "|",  "&&", "||", ","};
  static const char* kUnary[] = {"-", "!", "~", "+"};
  struct Fn {
    const char* name;
    int arity;
  };
  static const Fn kFunctions[] = {{"src", 3}, {"rad", 3}, {"cnv", 10}, {"ctl", 1}, {"val", 3},
                                  {"map", 2}, {"min", 2}, {"max", 2},  {"abs", 1}, {"add", 3},
                                  {"sub", 3}, {"dif", 2}, {"mix", 4},  {"scl", 5}, {"sqr", 1},
                                  {"cos", 1}, {"sin", 1}, {"tan", 1},  {"r2x", 2}, {"r2y", 2},
                                  {"c2d", 2}, {"c2m", 2}, {"get", 1},  {"put", 2}};
  if (depth <= 0 || pick(5) == 0) return kLeaves[pick(std::size(kLeaves))];
  switch (pick(6)) {
    case 0:
      return std::string(kUnary[pick(4)]) + "(" + randomFormula(rng, depth - 1) + ")";
    case 1:
      return "(" + randomFormula(rng, depth - 1) + "?" + randomFormula(rng, depth - 1) + ":" +
             randomFormula(rng, depth - 1) + ")";
    case 2: {
      // The idiom that keeps cells inside one pixel: write, then read.
      const std::string cell = std::to_string(pick(3));
      return "(put(" + randomFormula(rng, depth - 1) + "," + cell + ")," +
             randomFormula(rng, depth - 1) + "+get(" + cell + "))";
    }
    case 3: {
      const Fn& fn = kFunctions[pick(std::size(kFunctions))];
      std::string s = std::string(fn.name) + "(";
      for (int k = 0; k < fn.arity; ++k) s += (k ? "," : "") + randomFormula(rng, depth - 2);
      return s + ")";
    }
    default:
      return "(" + randomFormula(rng, depth - 1) + kBinary[pick(std::size(kBinary))] +
             randomFormula(rng, depth - 1) + ")";
  }
}

}  // namespace qm::formula::testing
