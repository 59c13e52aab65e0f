// .ffx: a run of length-prefixed texts (4-byte little-endian length, then the bytes).

#include <cstdint>
#include <string>

#include "core/ff/plugin_file_io.h"
#include "core/ff/sources.h"

namespace qm::ff {

namespace {

// Reads the .ffx fields in order. A file cut short is read as far as it goes: a length is
// clipped to the bytes that are left and a missing number reads 0.
class FfxReader {
 public:
  explicit FfxReader(ByteView bytes) : bytes_(bytes) {}

  std::uint32_t number() {
    auto value = bytes_.u32le(position_);
    advance(4);
    return value.value_or(0);
  }

  std::string text() {
    std::uint32_t length = number();
    ByteView field = bytes_.sub(position_, length);
    advance(field.size());
    return std::string(field.data(), field.data() + field.size());
  }

  void skipByte() { advance(1); }

 private:
  void advance(std::size_t count) {
    position_ = bytes_.size() - position_ < count ? bytes_.size() : position_ + count;
  }

  ByteView bytes_;
  std::size_t position_ = 0;
};

}  // namespace

bool ReadFFXBytes(ByteView bytes, std::string_view fileName, FFRecord& rec) {
  rec.IniVars();
  rec.fileName = std::string(fileName);
  FfxReader file(bytes);
  if (!file.text().starts_with("FFX")) return false;
  rec.title = file.text();
  rec.category = file.text();
  rec.author = file.text();
  rec.copyright = file.text();
  file.text();
  for (auto& formula : rec.formulas) formula = file.text();
  for (std::size_t k = 0; k < rec.controlNames.size(); ++k) {
    rec.controlNames[k] = file.text();
    file.skipByte();
    rec.sliderValues[k] = static_cast<std::uint8_t>(file.number() & 0xFF);
  }
  return true;
}

bool ReadFFX(const std::filesystem::path& file, FFRecord& rec) {
  auto bytes = readSourceFile(file);
  if (!bytes) return false;
  return ReadFFXBytes(ByteView(*bytes), recordFileName(file), rec);
}

}  // namespace qm::ff
