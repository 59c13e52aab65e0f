#pragma once
// The Filter Factory record: every reader fills it, every writer takes it as its only
// source. Texts hold Windows-1252 bytes exactly as read.

#include <array>
#include <cstdint>
#include <string>

namespace qm::ff {

struct FFRecord {
  std::string fileName;  // with extension, without folder
  std::string category;
  std::string title;
  std::string copyright;
  std::string author;
  std::array<std::string, 8> controlNames;  // empty = slider unused
  std::array<std::uint8_t, 8> sliderValues{};
  std::array<std::string, 4> mapNames;  // map i ties sliders 2i and 2i+1
  std::array<std::string, 4> formulas;  // R, G, B, A
  // True when the formulas use the Photoshop variable set, false for Premiere's.
  bool photoshopDialect = true;

  bool operator==(const FFRecord&) const = default;

  // Resets every field but photoshopDialect.
  void IniVars() {
    bool dialect = photoshopDialect;
    *this = FFRecord{};
    photoshopDialect = dialect;
  }
};

}  // namespace qm::ff
