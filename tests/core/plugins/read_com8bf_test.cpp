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

std::optional<std::string> architectureOf(const Bytes& bytes) {
  auto file = FileBytes::fromMemory(ByteView(bytes.data(), bytes.size()));
  return peArchitecture(file);
}

PeImage piplImage(std::vector<PiplFilter> filters) {
  PeImage image;
  test::ResourceType pipl{"PIPL", 0, {}};
  for (const auto& f : filters) pipl.items.push_back(test::piplData(f));
  image.resources.push_back(pipl);
  return image;
}

TEST(ReadCom8bf, OneFilterGivesCategoryTitlePositionAndRoom) {
  struct Case {
    const char* category;
    std::size_t dataSize;  // 0: padded to the next multiple of 4
    std::uint32_t room;    // the zeros up to the next non-zero byte
  };
  for (Case c :
       {Case{"Blur", 0, 7}, Case{"Blur", 36, 35}, Case{"Stylize", 8, 7}, Case{"Blur", 300, 0}}) {
    SCOPED_TRACE(c.dataSize);
    const PiplFilter command{"Twirl", c.category, false, c.dataSize};
    const auto built = buildPe(piplImage({command}));
    const FilterTable t = read(built.bytes);
    ASSERT_TRUE(t.ok);
    ASSERT_EQ(t.filters.size(), 1u);
    // Position: 1-based file position of the first category character.
    const std::size_t firstChar = built.dataOffsets[0] + test::piplCategoryTextOffset(command);
    EXPECT_EQ(built.bytes[firstChar], c.category[0]);
    EXPECT_EQ(std::tie(t.filters[0].category, t.filters[0].title, t.filters[0].position,
                       t.filters[0].room),
              std::make_tuple(c.category, "Twirl", std::int32_t(firstChar + 1), c.room));
  }
}

TEST(ReadCom8bf, ThreeFiltersInDirectoryOrderEachWithItsOwnCategory) {
  auto built = buildPe(
      piplImage({PiplFilter{"One", std::nullopt, false, 0}, PiplFilter{"Two", "Noise", true, 0},
                 PiplFilter{"Three", "Stylize", false, 0}}));
  FilterTable t = read(built.bytes);
  EXPECT_FALSE(t.ok);  // filter 1 has no category
  std::vector<std::tuple<std::string, std::string, std::int32_t>> got;
  for (const auto& f : t.filters) got.emplace_back(f.title, f.category, f.position ? 1 : 0);
  EXPECT_EQ(got, (decltype(got){{"One", "", 0}, {"Two", "Noise", 1}, {"Three", "Stylize", 1}}));
}

TEST(ReadCom8bf, PimiCategoriesAndBfmTitlesWithoutPipl) {
  PeImage image;
  image.resources.push_back(
      {"PIMI", 0, {test::pimiData("Artistic", 40), test::pimiData("Gl", 10)}});
  image.resources.push_back({"_8BFM", 0, {test::bfmData("Watercolor"), test::bfmData("Glow")}});
  FilterTable t = read(buildPe(image).bytes);
  ASSERT_TRUE(t.ok);
  std::vector<std::tuple<std::string, std::string, std::uint32_t, std::int32_t>> got;
  for (const auto& f : t.filters) got.emplace_back(f.category, f.title, f.room, f.position);
  // Room is the PIMI size less 19, 0 when it is not above 19.
  EXPECT_EQ(got, (decltype(got){{"Artistic", "Watercolor", 21, 0}, {"Gl", "Glow", 0, 0}}));
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

TEST(ReadCom8bf, ArchitectureOfPe32AndPe32Plus) {
  for (auto [machine, name] : std::vector<std::pair<std::uint16_t, std::string>>{
           {0x014C, "x86"}, {0x8664, "x64"}, {0x1234, "0x1234"}}) {
    PeImage image = piplImage({PiplFilter{"Wide", "Sharpen", false, 0}});
    image.machine = machine;
    image.pe64 = machine == 0x8664;
    // An id type beside the named one.
    image.resources.push_back({"", 16, {test::versionData({{{"FileDescription", "x"}}})}});
    auto bytes = buildPe(image).bytes;
    EXPECT_EQ(read(bytes).filters[0].category, "Sharpen");
    EXPECT_EQ(architectureOf(bytes), name);
  }
  EXPECT_EQ(architectureOf(Bytes(2000, 'x')), std::nullopt);
}

TEST(ReadCom8bf, NoRsrcHeaderOrAMacBinOfAnotherSizeFails) {
  EXPECT_FALSE(read(Bytes(1000, 0), "plug.bin").ok);
  FilterTable t = read(Bytes(5000, 0));
  EXPECT_FALSE(t.ok);
  ASSERT_EQ(t.filters.size(), 1u);
  EXPECT_EQ(t.filters[0].category, "");
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

}  // namespace
}  // namespace qm::plugins
