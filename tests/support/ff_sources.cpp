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

std::string fflEntry(const std::string& fileName, const std::string& title, const std::string& r) {
  std::string out = fileName + "\r\nCat\r\n" + title + "\r\nAnn\r\nFree\r\n";
  for (int i = 0; i < 12; ++i) out += "\r\n";  // maps and sliders unnamed
  for (int i = 0; i < 8; ++i) out += "0\r\n";
  return out + r + "\r\ng\r\nb\r\na\r\n";
}

std::string fflLibrary(const std::vector<std::string>& entries, const std::string& header) {
  std::string out = header + "\r\n" + std::to_string(entries.size()) + "\r\n";
  for (const auto& e : entries) out += e;
  return out;
}

}  // namespace qm::test
