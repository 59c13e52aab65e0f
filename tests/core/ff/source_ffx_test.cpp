#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/ff/sources.h"
#include "support/temp_folder.h"
#include "support/view_of.h"

namespace qm::ff {
namespace {

using qm::test::viewOf;

std::string u32(std::uint32_t v) {
  return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF),
          static_cast<char>(v >> 16 & 0xFF), static_cast<char>(v >> 24)};
}

std::string field(const std::string& text) {
  return u32(static_cast<std::uint32_t>(text.size())) + text;
}

std::string ffxFile(const std::string& signature = "FFX1.0") {
  std::string out = field(signature) + field("Title") + field("Cat") + field("Auth") +
                    field("Copy") + field("skipped") + field("r + 1") + field("g") + field("b") +
                    field("a");
  for (std::uint32_t k = 0; k < 8; ++k)
    out += field(k % 2 ? "" : "Ctl" + std::to_string(k)) + "\x7F" + u32(0x1200 + k * 30);
  return out;
}

TEST(ReadFFX, SignatureMustStartWithFFX) {
  for (std::string signature : {"FFY1.0", "FF", "", "ffx1.0"}) {
    FFRecord rec;
    EXPECT_FALSE(ReadFFXBytes(viewOf(ffxFile(signature)), "f.ffx", rec)) << signature;
  }
  FFRecord rec;
  EXPECT_TRUE(ReadFFXBytes(viewOf(ffxFile("FFX")), "f.ffx", rec));
  EXPECT_FALSE(ReadFFXBytes(ByteView(), "f.ffx", rec));
}

TEST(ReadFFX, CutShortReadsWhatIsThere) {
  const std::string full = ffxFile();
  std::string cut = full.substr(0, full.find("Copy") + 2);
  FFRecord rec;
  ASSERT_TRUE(ReadFFXBytes(viewOf(cut), "f.ffx", rec));
  EXPECT_EQ(rec.author, "Auth");
  EXPECT_EQ(rec.copyright, "Co");
  EXPECT_EQ(rec.formulas, (std::array<std::string, 4>{}));

  // A length far past the end is clipped; the half number after it reads 0.
  std::string huge = field("FFX") + u32(0xFFFFFFF0u) + "tail";
  ASSERT_TRUE(ReadFFXBytes(viewOf(huge), "f.ffx", rec));
  EXPECT_EQ(rec.title, "tail");
  EXPECT_EQ(rec.category, "");

  std::string lastValueCut = full.substr(0, full.size() - 2);
  ASSERT_TRUE(ReadFFXBytes(viewOf(lastValueCut), "f.ffx", rec));
  EXPECT_EQ(rec.sliderValues[6], 180);
  EXPECT_EQ(rec.sliderValues[7], 0);
}

TEST(ReadFFX, FromFile) {
  qm::test::TempFolder dir;
  FFRecord rec;
  ASSERT_TRUE(ReadFFX(qm::test::writeFile(dir / "On Disk.ffx", ffxFile()), rec));
  EXPECT_EQ(rec.fileName, "On Disk.ffx");
}

}  // namespace
}  // namespace qm::ff
