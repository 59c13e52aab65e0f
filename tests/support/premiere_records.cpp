#include "premiere_records.h"

namespace qm::test {
namespace {

// Header bytes that are neither "M" at +4 nor "I" at +5.
constexpr std::string_view kHeader("\x01\x00\x00\x00", 4);

}  // namespace

std::string vfltRecord(std::string_view name, bool nameAt16) {
  const std::string at16 = nameAt16 ? '\2' + std::string(7, '\0') : std::string();
  return "tlFV" + std::string(kHeader) + at16 + std::string(name) + '\0';
}

std::string afltRecord(std::string_view name) {
  return "tlFA" + std::string(kHeader) + std::string(name) + '\0';
}

std::string spfxRecord(std::string_view first, std::string_view zeros, std::string_view second) {
  return "XFPS" + std::string(kHeader) + std::string(first) + '\0' + std::string(zeros) +
         std::string(second) + '\0';
}

void placeAt(std::string& image, std::size_t offset, std::string_view bytes) {
  if (image.size() < offset + bytes.size()) image.resize(offset + bytes.size(), '\0');
  image.replace(offset, bytes.size(), bytes);
}

}  // namespace qm::test
