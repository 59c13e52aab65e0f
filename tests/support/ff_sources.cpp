#include "ff_sources.h"

namespace qm::test {

std::string afsSource(const std::string& title, const std::string& r) {
  std::string out = "%RGB-1.0\r0\r9\r0\r0\r0\r0\r0\r0\r" + r + "\r\rg\r\rb\r\ra\r\r";
  if (title.empty()) return out;
  out += "Tests\r\r" + title + "\r\rAnn\r\rFree\r\r";
  for (int k = 1; k <= 8; ++k) out += std::to_string(k) + ": " + (k == 2 ? "Amount" : "") + "\r\r";
  return out;
}

std::string afsFilter(const std::array<std::string, 4>& rgba, int slider0) {
  std::string out = "%RGB-1.0\r" + std::to_string(slider0) + "\r0\r0\r0\r0\r0\r0\r0\r";
  for (const auto& formula : rgba) out += formula + "\r\r";
  out += "Tests\r\rT\r\rAnn\r\rFree\r\r";
  for (int k = 1; k <= 8; ++k) out += std::to_string(k) + ": \r\r";
  return out;
}

std::string txtSource(const std::string& title, const std::string& fileName) {
  return "Category: Tests\r\nTitle: " + title + "\r\nFilename: " + fileName +
         "\r\n\r\nR:r\r\n\r\nG:g\r\n\r\nB:b\r\n\r\nA:a\r\n";
}

std::string ffxSource(const ff::FFRecord& r, std::string_view signature) {
  std::string out;
  auto u32 = [&out](std::size_t v) {
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>(v >> shift & 0xFF);
  };
  auto text = [&](std::string_view t) { u32(t.size()), out += t; };
  for (std::string_view t : {signature, std::string_view(r.title), std::string_view(r.category),
                             std::string_view(r.author), std::string_view(r.copyright)})
    text(t);
  text("");
  for (const auto& formula : r.formulas) text(formula);
  for (std::size_t k = 0; k < 8; ++k) {
    text(r.controlNames[k]);
    out += '\0';
    u32(r.sliderValues[k]);
  }
  return out;
}

std::string fflEntryOf(const ff::FFRecord& r) {
  std::string out;
  for (const auto* text : {&r.fileName, &r.category, &r.title, &r.author, &r.copyright})
    out += *text + "\r\n";
  for (const auto& name : r.mapNames) out += name + "\r\n";
  for (const auto& name : r.controlNames) out += name + "\r\n";
  for (auto value : r.sliderValues) out += std::to_string(value) + "\r\n";
  for (const auto& formula : r.formulas) out += formula + "\r\n";
  return out;
}

std::string fflEntry(const std::string& fileName, const std::string& title, const std::string& r) {
  ff::FFRecord rec;
  rec.fileName = fileName;
  rec.category = "Cat";
  rec.title = title;
  rec.copyright = "Free";
  rec.author = "Ann";
  rec.formulas = {r, "g", "b", "a"};
  return fflEntryOf(rec);
}

std::string fflLibrary(const std::vector<std::string>& entries, const std::string& header) {
  std::string out = header + "\r\n" + std::to_string(entries.size()) + "\r\n";
  for (const auto& e : entries) out += e;
  return out;
}

}  // namespace qm::test
