#include "core/ff/formula_cleanup.h"

#include <array>
#include <cstddef>

namespace qm::ff {

namespace {

constexpr int kAnyChannel = -1;

struct Shortening {
  std::string_view from;
  std::string_view to;
  int channel;  // the only formula the rule applies to, or kAnyChannel
};

// Tried in this order at each position; a rule sees the text the previous rules left.
// The "p" forms stand after the "z" forms so they only fire where the "z" form did not
// (after a replacement the text at the position starts with "c" and cannot match).
constexpr std::array<Shortening, 15> kShortenings = {{
    {" ", "", kAnyChannel},
    {"src(x,y,z)", "c", kAnyChannel},
    {"src(x,y,p)", "c", kAnyChannel},
    {"src(x,y,0)", "c", 0},
    {"src(x,y,1)", "c", 1},
    {"src(x,y,2)", "c", 2},
    {"rad(d,m,z)", "c", kAnyChannel},
    {"rad(d,m,p)", "c", kAnyChannel},
    {"rad(d,m,0)", "c", 0},
    {"rad(d,m,1)", "c", 1},
    {"rad(d,m,2)", "c", 2},
    {"sqr(x*x+y*y)", "c2m(x,y)", kAnyChannel},
    {"sqr(m*m+d*d)", "c2m(m,d)", kAnyChannel},
    {"sqr(X*X+Y*Y)", "c2m(X,Y)", kAnyChannel},
    {"(76*r+150*g+29*b)/256", "i", kAnyChannel},
}};

bool at(const std::string& s, std::size_t i, std::string_view text) {
  return i <= s.size() && s.size() - i >= text.size() && s.compare(i, text.size(), text) == 0;
}

bool isControl(const std::string& s, std::size_t i) {
  return i < s.size() && static_cast<unsigned char>(s[i]) <= 9;
}

// One formula; i is the 0-based form of the scan position.
void optimizeFormula(std::string& s, int channel, bool noOptimize) {
  std::size_t i = 0;
  for (;; ++i) {
    for (;;) {
      if (at(s, i, "\\r") || at(s, i, "\\n")) {
        s.erase(i, 2);
        continue;
      }
      if (isControl(s, i)) {
        s.erase(i, 1);
        // At the last character the clean-up moves on without looking again, so a
        // control character that slides into the last place stays.
        if (!s.empty() && i + 1 < s.size()) continue;
      }
      if (i < s.size() && s[i] == 'T') s.replace(i, 1, "total");
      if (noOptimize) break;
      if (i < s.size() && s[i] == ' ') {
        s.erase(i, 1);
        continue;
      }
      break;
    }
    if (!noOptimize) {
      for (const auto& rule : kShortenings) {
        if (rule.channel != kAnyChannel && rule.channel != channel) continue;
        if (at(s, i, rule.from)) s.replace(i, rule.from.size(), rule.to);
      }
    }
    if (i + 1 >= s.size()) break;
  }
}

struct Translation {
  std::string_view from;
  std::string_view to;
  bool skipInserted;  // continue after the inserted text rather than at the next position
};

// Premiere names checked only where the character is not P, T or D.
constexpr std::array<Translation, 7> kRangeNames = {{
    {"tmax", "255", true},
    {"xmax", "X", false},
    {"xmin", "0", false},
    {"ymax", "Y", false},
    {"ymin", "0", false},
    {"dmax", "D", false},
    {"mmax", "M", false},
}};

// Returns the position where the scan goes on.
std::size_t translateAt(std::string& s, std::size_t i) {
  auto replace = [&](std::size_t length, std::string_view to, bool skipInserted) {
    s.replace(i, length, to);
    return skipInserted ? i + to.size() : i + 1;
  };
  switch (s[i]) {
    case 'P':
      return replace(1, "Z", false);
    case 'T':
      return replace(1, "total", true);
    case 'D':
      return replace(1, "512", true);
    default:
      break;
  }
  if (at(s, i, "pmax")) return replace(4, "Z", false);
  if (at(s, i, "pmin")) return replace(4, "0", false);
  if (s[i] == 'p' && !at(s, i, "put") && !at(s, i, "p(")) return replace(1, "z", false);
  if (at(s, i, "((56*b-19*r-37*g)/256)")) s.replace(i, 22, "u");
  if (at(s, i, "((78*r-65*g-13*g)/256)")) s.replace(i, 22, "v");
  if (at(s, i, "(M/2)")) {
    s.replace(i, 5, "M");
  } else if (at(s, i, "M/4")) {
    s.replace(i, 3, "M/2");
  } else if (at(s, i, "M/2")) {
    s.replace(i, 3, "M");
  } else if (at(s, i, "M")) {
    return replace(1, "(M/2)", true);
  }
  for (const auto& name : kRangeNames) {
    if (at(s, i, name.from)) return replace(name.from.size(), name.to, name.skipInserted);
  }
  return i + 1;
}

// mix(a,b,rest) -> mix(b,a,rest) for every mix; one without two top-level commas stays.
std::string swapMixArguments(std::string s) {
  constexpr std::string_view kMix = "mix(";
  std::size_t from = 0;
  while (true) {
    std::size_t found = s.find(kMix, from);
    if (found == std::string::npos) break;
    std::size_t argsStart = found + kMix.size();
    from = argsStart;
    std::string_view args(s);
    args.remove_prefix(argsStart);
    std::string first = GetUntill(args, ',');
    if (first.size() == args.size()) continue;
    std::string_view rest = args.substr(first.size() + 1);
    std::string second = GetUntill(rest, ',');
    if (second.size() == rest.size()) continue;
    std::string swapped = second + "," + first;
    s.replace(argsStart, swapped.size(), swapped);
  }
  return s;
}

}  // namespace

void OptimizeCode(FFRecord& rec, bool noOptimize) {
  for (std::size_t k = 0; k < rec.formulas.size(); ++k)
    optimizeFormula(rec.formulas[k], static_cast<int>(k), noOptimize);
}

std::string Correctprmcode(std::string_view formula) {
  std::string s(formula);
  for (std::size_t i = 0; i < s.size();) i = translateAt(s, i);
  return swapMixArguments(std::move(s));
}

std::string GetUntill(std::string_view text, char delimiter) {
  int depth = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == delimiter && depth == 0) return std::string(text.substr(0, i));
    if (c == '(') ++depth;
    if (c == ')') --depth;
  }
  return std::string(text);
}

}  // namespace qm::ff
