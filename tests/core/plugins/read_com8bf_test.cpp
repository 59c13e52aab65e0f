#include "core/plugins/read_com8bf.h"

#include <gtest/gtest.h>

#include "core/plugins/pe_header.h"
#include "support/pe_builder.h"

namespace qm::plugins {
namespace {

using test::buildPe;
using test::Bytes;
using test::PeImage;
using test::PiplFilter;

FilterTable read(const Bytes& bytes, std::string_view name = "x.8bf") {
  return ReadCom8bfBytes(ByteView(bytes.data(), bytes.size()), name, {});
}

PeImage piplImage(std::vector<PiplFilter> filters) {
  PeImage image;
  test::ResourceType pipl{"PIPL", 0, {}};
  for (const auto& f : filters) pipl.items.push_back(test::piplData(f));
  image.resources.push_back(pipl);
  return image;
}

TEST(ReadCom8bf, OneFilterGivesCategoryTitlePositionAndRoom) {
  PiplFilter command{"Twirl", "Blur", false, 0};
  auto built = buildPe(piplImage({command}));
  FilterTable t = read(built.bytes);
  ASSERT_TRUE(t.ok);
  ASSERT_EQ(t.filters.size(), 1u);
  EXPECT_EQ(t.filters[0].category, "Blur");
  EXPECT_EQ(t.filters[0].title, "Twirl");
  // Position: 1-based file position of the first category character.
  std::size_t firstChar = built.dataOffsets[0] + test::piplCategoryTextOffset(command);
  EXPECT_EQ(t.filters[0].position, static_cast<std::int32_t>(firstChar + 1));
  EXPECT_EQ(built.bytes[firstChar], 'B');
  // "Blur" padded to 8 data bytes: 3 zero bytes, then the next property.
  EXPECT_EQ(t.filters[0].room, 7u);
}

TEST(ReadCom8bf, RoomCountsZerosUpToTheNextNonZeroByte) {
  struct Case {
    const char* category;
    std::size_t dataSize;
    std::uint32_t room;
  };
  for (Case c :
       {Case{"Blur", 8, 7}, Case{"Blur", 36, 35}, Case{"Stylize", 8, 7}, Case{"Blur", 300, 0}}) {
    auto built = buildPe(piplImage({PiplFilter{"T", c.category, false, c.dataSize}}));
    EXPECT_EQ(read(built.bytes).filters[0].room, c.room) << c.dataSize;
  }
}

TEST(ReadCom8bf, ThreeFiltersInDirectoryOrderEachWithItsOwnCategory) {
  auto built = buildPe(
      piplImage({PiplFilter{"One", std::nullopt, false, 0}, PiplFilter{"Two", "Noise", true, 0},
                 PiplFilter{"Three", "Stylize", false, 0}}));
  FilterTable t = read(built.bytes);
  ASSERT_EQ(t.filters.size(), 3u);
  EXPECT_FALSE(t.ok);  // filter 1 has no category
  EXPECT_EQ(t.filters[0].title, "One");
  EXPECT_EQ(t.filters[0].category, "");
  EXPECT_EQ(t.filters[0].position, 0);
  EXPECT_EQ(t.filters[1].title, "Two");
  EXPECT_EQ(t.filters[1].category, "Noise");
  EXPECT_EQ(t.filters[2].title, "Three");
  EXPECT_EQ(t.filters[2].category, "Stylize");
}

TEST(ReadCom8bf, PimiCategoriesAndBfmTitlesWithoutPipl) {
  PeImage image;
  image.resources.push_back(
      {"PIMI", 0, {test::pimiData("Artistic", 40), test::pimiData("Gl", 10)}});
  image.resources.push_back({"_8BFM", 0, {test::bfmData("Watercolor"), test::bfmData("Glow")}});
  FilterTable t = read(buildPe(image).bytes);
  ASSERT_TRUE(t.ok);
  ASSERT_EQ(t.filters.size(), 2u);
  EXPECT_EQ(t.filters[0].category, "Artistic");
  EXPECT_EQ(t.filters[0].title, "Watercolor");
  EXPECT_EQ(t.filters[0].room, 40u - 19u);
  EXPECT_EQ(t.filters[1].category, "Gl");
  EXPECT_EQ(t.filters[1].title, "Glow");
  EXPECT_EQ(t.filters[1].room, 0u);  // size 10 is not above 19
  EXPECT_EQ(t.filters[0].position, 0);
}

TEST(ReadCom8bf, PiplWinsOverPimiAndBfm) {
  PeImage image = piplImage({PiplFilter{"FromPipl", "PiplCat", false, 0}});
  image.resources.push_back({"PIMI", 0, {test::pimiData("PimiCat", 30)}});
  image.resources.push_back({"_8BFM", 0, {test::bfmData("FromBfm")}});
  FilterTable t = read(buildPe(image).bytes);
  ASSERT_TRUE(t.ok);
  // PIMI is read first, then the PIPL starts the filters afresh.
  EXPECT_EQ(t.filters[0].category, "PiplCat");
  EXPECT_EQ(t.filters[0].title, "FromPipl");
}

TEST(ReadCom8bf, Pe32PlusAndIdTypesBesideNamedOnes) {
  PeImage image = piplImage({PiplFilter{"Wide", "Sharpen", false, 0}});
  image.pe64 = true;
  image.machine = 0x8664;
  image.resources.push_back({"", 16, {test::versionData({{{"FileDescription", "x"}}})}});
  auto bytes = buildPe(image).bytes;
  FilterTable t = read(bytes);
  EXPECT_TRUE(t.ok);
  EXPECT_EQ(t.filters[0].category, "Sharpen");
  auto file = FileBytes::fromMemory(ByteView(bytes.data(), bytes.size()));
  EXPECT_EQ(peArchitecture(file), "x64");
}

TEST(ReadCom8bf, ArchitectureNames) {
  for (auto [machine, name] :
       std::vector<std::pair<std::uint16_t, std::string>>{{0x014C, "x86"},
                                                          {0x8664, "x64"},
                                                          {0xAA64, "arm64"},
                                                          {0x01C4, "arm"},
                                                          {0x1234, "0x1234"}}) {
    PeImage image = piplImage({PiplFilter{"A", "B", false, 0}});
    image.machine = machine;
    auto bytes = buildPe(image).bytes;
    auto file = FileBytes::fromMemory(ByteView(bytes.data(), bytes.size()));
    EXPECT_EQ(peArchitecture(file), name);
  }
  Bytes notPe(2000, 'x');
  auto file = FileBytes::fromMemory(ByteView(notPe.data(), notPe.size()));
  EXPECT_EQ(peArchitecture(file), std::nullopt);
}

TEST(ReadCom8bf, NoRsrcHeaderFails) {
  Bytes bytes(5000, 0);
  FilterTable t = read(bytes);
  EXPECT_FALSE(t.ok);
  ASSERT_EQ(t.filters.size(), 1u);
  EXPECT_EQ(t.filters[0].category, "");
}

TEST(ReadCom8bf, EveryTruncationIsSafeAndKeepsWhatWasRead) {
  auto built = buildPe(piplImage({PiplFilter{"Twirl", "Blur", false, 0}}));
  for (std::size_t n = 0; n <= built.bytes.size(); n += 7) {
    Bytes cut(built.bytes.begin(), built.bytes.begin() + static_cast<std::ptrdiff_t>(n));
    FilterTable t = read(cut);
    if (t.ok) {
      EXPECT_EQ(t.filters[0].category, "Blur");
    }
  }
  EXPECT_TRUE(read(built.bytes).ok);
}

TEST(ReadCom8bf, HostileOffsetsAndCountsStopTheReader) {
  auto built = buildPe(piplImage({PiplFilter{"Twirl", "Blur", false, 0}}));
  const std::size_t section = 0x400;
  struct Patch {
    std::size_t at;
    std::uint8_t value;
  };
  // Name offset far out, type directory offset far out, 255 filters, ID count huge.
  for (Patch p : {Patch{section + 16, 0xFF}, Patch{section + 18, 0x7F}, Patch{section + 20, 0xF0},
                  Patch{section + 22, 0x7F}, Patch{section + 12, 0}, Patch{section + 14, 0xFF}}) {
    Bytes b = built.bytes;
    b[p.at] = p.value;
    (void)read(b);  // must neither crash nor hang
  }
  // A type directory that claims 255 filters whose entries run out of the section.
  Bytes b = built.bytes;
  std::size_t typeDir = section + 16 + 8;
  b[typeDir + 14] = 0xFF;
  FilterTable t = read(b);
  ASSERT_EQ(t.filters.size(), 255u);
  EXPECT_TRUE(t.ok);  // filter 1 was read before the walk left the section
  EXPECT_EQ(t.filters[0].category, "Blur");
}

TEST(ReadCom8bf, ZeroNamedEntriesUseTheIdCountHighByteFirstAsBound) {
  auto built = buildPe(piplImage({PiplFilter{"Twirl", "Blur", false, 0}}));
  const std::size_t root = 0x400;
  struct Case {
    std::uint8_t b14, b15;
    bool ok;
  };
  for (Case c : {Case{0, 0, false}, Case{0, 1, true}, Case{1, 0, true}}) {
    Bytes b = built.bytes;
    b[root + 12] = 0;
    b[root + 13] = 0;
    b[root + 14] = c.b14;
    b[root + 15] = c.b15;
    EXPECT_EQ(read(b).ok, c.ok) << int(c.b14) << "," << int(c.b15);
  }
}

TEST(ReadCom8bf, MacBinOfAnotherSizeIsNotReadAsFilterFactory) {
  Bytes bytes(1000, 0);
  FilterTable t = read(bytes, "plug.bin");
  EXPECT_FALSE(t.ok);
}

}  // namespace
}  // namespace qm::plugins
