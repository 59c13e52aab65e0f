#include "core/plughost/answer.h"

#include <charconv>
#include <optional>
#include <vector>

namespace qm::plughost {
namespace {

std::vector<std::string_view> fields(std::string_view line) {
  std::vector<std::string_view> out;
  for (;;) {
    const auto tab = line.find('\t');
    out.push_back(line.substr(0, tab));
    if (tab == std::string_view::npos || out.size() == 4) return out;
    line.remove_prefix(tab + 1);
  }
}

std::optional<int> number(std::string_view text) {
  int v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return v;
}

}  // namespace

Answer parseAnswer(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  const auto f = fields(line);
  Answer a;
  using Kind = Answer::Kind;
  if (f[0] == "progress" && f.size() >= 3) {
    const auto done = number(f[1]), total = number(f[2]);
    if (!done || !total || *total <= 0 || *done < 0 || *done > *total) return a;
    a.kind = Kind::Progress;
    a.percent = static_cast<int>(static_cast<long long>(*done) * 100 / *total);
  } else if (f[0] == "dialog" && f.size() == 1) {
    a.kind = Kind::Dialog;
  } else if (f[0] == "dialog-end" && f.size() == 1) {
    a.kind = Kind::DialogEnd;
  } else if (f[0] == "done" && f.size() == 1) {
    a.kind = Kind::Done;
  } else if (f[0] == "cancelled" && f.size() == 1) {
    a.kind = Kind::Cancelled;
  } else if (f[0] == "error" && f.size() >= 2 && !f[1].empty()) {
    a.kind = Kind::Error;
    a.code = std::string(f[1]);
    if (f.size() >= 3) a.text = std::string(f[2]);
  }
  return a;
}

}  // namespace qm::plughost
