// The readers that find category and title in a plugin file: Photoshop resources, Premiere
// records, version resources and the type table's other plugins.

#include <gtest/gtest.h>

#include <random>

#include "core/plugins/other8b.h"
#include "core/plugins/pe_header.h"
#include "core/plugins/read_com8bf.h"
#include "core/plugins/read_comprm.h"
#include "core/plugins/version_resource.h"
#include "support/pe_builder.h"
#include "support/premiere_records.h"
#include "support/temp_folder.h"

namespace qm::plugins {
namespace {

using test::buildPe;
using test::Bytes;
using test::PeImage;
using test::PiplFilter;

ByteView view(const Bytes& b) {
  return ByteView(b.data(), b.size());
}

FilterTable read(const Bytes& bytes, std::string_view name = "x.8bf") {
  return ReadCom8bfBytes(view(bytes), name, {});
}

std::optional<std::string> architectureOf(const Bytes& bytes) {
  auto file = FileBytes::fromMemory(view(bytes));
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

TEST(ReadCom8bf, PimiCategoriesAndBfmTitlesWithoutPiplWhichWinsOverThem) {
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
  // PIMI is read first, then a PIPL starts the filters afresh.
  PeImage both = piplImage({PiplFilter{"FromPipl", "PiplCat", false, 0}});
  both.resources.insert(both.resources.end(), image.resources.begin(), image.resources.end());
  FilterTable p = read(buildPe(both).bytes);
  EXPECT_EQ(std::tie(p.ok, p.filters[0].category, p.filters[0].title),
            std::tuple(true, "PiplCat", "FromPipl"));
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
    std::tie(b[root + 12], b[root + 13], b[root + 14], b[root + 15]) =
        std::tuple(0, 0, c.b14, c.b15);
    EXPECT_EQ(read(b).ok, c.ok) << int(c.b14) << "," << int(c.b15);
  }
}

PrmResult readPrm(const std::string& bytes) {
  return ReadComprmBytes(
      ByteView(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

std::vector<std::pair<std::size_t, std::size_t>> spans(std::size_t low, std::size_t size) {
  std::vector<std::pair<std::size_t, std::size_t>> out;
  for (const auto& w : comprmWindows(low, size)) out.emplace_back(w.start, w.end);
  return out;
}

TEST(ReadComprmWindows, FractionsRoundToNearestEvenAndLargeFilesGetAnEarlyWindow) {
  const auto w = spans(1024, 10050);
  ASSERT_EQ(w.size(), 7u);
  // 98 % of 10050 = 9849; 85 % = 8542.5, tie to even.
  using Span = std::pair<std::size_t, std::size_t>;
  EXPECT_EQ((std::vector{w[0], w[1], w[6]}),
            (std::vector<Span>{{1024, 8024}, {9849, 10050}, {0, 4824}}));
  EXPECT_EQ(w[2].first, 8542u);
  const auto big = spans(0, 2000000);
  ASSERT_EQ(big.size(), 8u);
  EXPECT_EQ((std::vector{big[2], big[7]}), (std::vector<Span>{{0, 220000}, {220000, 960000}}));
}

TEST(ReadComprm, VideoFilterNameAtPlus16WhenByteAtPlus8IsBelow3) {
  for (bool at16 : {true, false}) {
    std::string file(20000, '\0');
    const std::size_t record = 5002;  // the search tests offsets 2 mod 4
    test::placeAt(file, record, test::vfltRecord("Ripple", at16));
    PrmResult r = readPrm(file);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.filter.category, "[Premiere Video]");
    EXPECT_EQ(r.filter.title, "Ripple");
    std::size_t name = record + (at16 ? 16 : 8);
    EXPECT_EQ(r.filter.position, static_cast<std::int32_t>(name + 1));
  }
}

TEST(ReadComprm, RecordsFollowedByMAreSkippedAndTinyFilesFindNothing) {
  std::string file(20000, '\0');
  std::string record = test::vfltRecord("Ripple", false);
  record[4] = 'M';
  test::placeAt(file, 5002, record);
  EXPECT_FALSE(readPrm(file).ok);
  for (std::size_t n : {0u, 3u, 6u}) EXPECT_EQ(readPrm(std::string(n, 'x')).filter.category, "");
}

TEST(ReadComprm, AudioFilterAndTransition) {
  std::string audio(20000, '\0');
  test::placeAt(audio, 9002, test::afltRecord("Echo"));
  PrmResult a = readPrm(audio);
  EXPECT_EQ(a.filter.category, "[Premiere Audio]");
  EXPECT_EQ(a.filter.title, "Echo");
  EXPECT_EQ(a.filter.position, 9011);
  struct Case {
    std::string first, zeros, second, title;
  };
  for (const Case& c : {Case{"Wipe", std::string(3, '\0'), "Clock Wipe", "Wipe"},
                        Case{"A Long Name", std::string(1, '\0'), "Short", "Short"},
                        Case{"Fade", std::string("\0ab\0", 4), "Cross Fade", "Fade"}}) {
    std::string file(20000, '\0');
    test::placeAt(file, 9002, test::spfxRecord(c.first, c.zeros, c.second));
    PrmResult t = readPrm(file);
    EXPECT_EQ(t.filter.category, "[Premiere Transition]");
    EXPECT_EQ(t.filter.title, c.title) << c.first;
    EXPECT_EQ(t.filter.position, 9011);
  }
}

TEST(ReadComprm, PiplPropertiesInAPremiere5Plugin) {
  test::PeImage image;
  test::PiplFilter command{"Glow", "Stylize", false, 0};
  image.resources.push_back({"PIPL", 0, {test::piplData(command)}});
  image.totalSize = 12000;
  auto built = test::buildPe(image);
  // PIPL properties follow a 10-byte header, so they stand at offsets 2 mod 4 as searched.
  PrmResult r = readPrm(test::asString(built.bytes));
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.filter.category, "Stylize");
  EXPECT_EQ(r.filter.title, "Glow");
  std::size_t firstChar = built.dataOffsets[0] + test::piplCategoryTextOffset(command);
  EXPECT_EQ(r.filter.position, static_cast<std::int32_t>(firstChar + 1));
  EXPECT_EQ(r.filter.room, 7u);  // no zero byte before the next property
}

TEST(ReadComprm, EmptyFirstTransitionNameBeforeALongerSecond) {
  // Found by fuzzing: an empty title inside the file was copied from a null buffer.
  std::string file = std::string("ab") + test::spfxRecord("", "", "Second") + "tail";
  PrmResult r = readPrm(file);
  EXPECT_EQ(r.filter.category, "[Premiere Transition]");
  EXPECT_EQ(r.filter.title, "");
  EXPECT_FALSE(r.ok);
}

// The scan reads big files from disk in chunks; whatever the chunk edges cut, the result
// must be the one the in-memory reader gives.
TEST(ReadComprmFromDisk, RecordsAcrossChunkEdgesReadAsInMemory) {
  test::TempFolder dir;
  std::mt19937 random(7);
  int found = 0;
  // Offsets 2 mod 4 just before, on and after the 64 KiB edges, and deep into the file.
  for (std::size_t record :
       {65530u, 65534u, 65538u, 131066u, 131070u, 196602u, 262142u, 300002u, 390002u}) {
    std::string bytes(400000, '\0');
    for (auto& b : bytes) b = static_cast<char>(random() % 200 + 20);  // no tag letters' runs
    test::placeAt(bytes, record, test::vfltRecord("Ripple", record % 8 == 2));
    const PrmResult fromDisk = ReadComprm(test::writeFile(dir / "r.prm", bytes));
    const PrmResult inMemory = readPrm(bytes);
    EXPECT_EQ(std::tie(fromDisk.ok, fromDisk.filter.category, fromDisk.filter.title,
                       fromDisk.filter.position),
              std::tie(inMemory.ok, inMemory.filter.category, inMemory.filter.title,
                       inMemory.filter.position))
        << record;
    found += inMemory.ok ? 1 : 0;
  }
  EXPECT_GT(found, 0) << "no placement fell into a searched window";
}

TEST(VersionResource, EachKeyFindsItsValueLanguagesRunTogetherOddOffsetsAreIgnored) {
  Bytes keys = test::versionData({{{"FileDescription", "Blur Tools"},
                                   {"InternalName", "Export Thing"},
                                   {"ProductName", "Suite"}}});
  EXPECT_EQ(ReadVersionRessourceBytes(view(keys), VersionKey::FileDescription), "Blur Tools");
  EXPECT_EQ(ReadVersionRessourceBytes(view(keys), VersionKey::ProductName), "Suite");
  Bytes data = test::versionData({{{"InternalName", "Eins"}}, {{"InternalName", "Two"}}});
  EXPECT_EQ(ReadVersionRessourceBytes(view(data), VersionKey::InternalName), "EinsTwo");
  Bytes odd{0};
  odd.insert(odd.end(), data.begin(), data.end());
  EXPECT_EQ(ReadVersionRessourceBytes(view(odd), VersionKey::InternalName), "");
}

TEST(VersionResource, ValueStopsAtThe300ByteWindowAndAtTheEnd) {
  std::string longValue(200, 'v');
  Bytes data = test::versionData({{{"ProductName", longValue}}});
  EXPECT_EQ(ReadVersionRessourceBytes(view(data), VersionKey::ProductName), std::string(151, 'v'));
  // The record starts at 64 (after the block and language headers), its value at 96.
  Bytes cut(data.begin(), data.begin() + 116);
  EXPECT_EQ(ReadVersionRessourceBytes(view(cut), VersionKey::ProductName), std::string(10, 'v'));
}

TEST(DisplayName, CutAtFirstDotOrUnderscoreAndUpperCased) {
  // clang-format off
  for (auto [file, name] : {std::pair{"blur_fx.8be", "Blur_fx"}, {"myplug_api", "Myplug"},
           {"sample.tub", "Sample"}, {"noext", "Noext"}, {".hidden", ""},
           {"\xC3\xA9t\xC3\xA9.p", "\xC3\x89t\xC3\xA9"}, {"\xC3\x9F" "ab.p", "\xC3\x9F" "ab"}})
    EXPECT_EQ(displayNameFromFileName(file), name) << file;
  // clang-format on
}

TEST(ReadOther8b, CategoryFromTheTableAndNameFromTheVersionResource) {
  PlugTypeTable table =
      makeTypeTable({{"PS Export Plugin (8be|1)", true}, {"PSP 7 Tube (tub|3)", true}});
  PeImage image;
  image.resources.push_back({"", 16, {test::versionData({{{"InternalName", "Export Thing"}}})}});
  auto bytes = buildPe(image).bytes;
  EXPECT_TRUE(ReadOther8bBytes(view(bytes), "name.8be", table).ok);
  // clang-format off
  for (auto [file, category, name] : {
           std::tuple{"name.8be", "[PS Export Plugin]", "Export Thing"},
           {"sample.tub", "[PSP 7 Tube]", "Sample"}, {"thing.xyz", "[Other Plugins]", "Thing"}}) {
    OtherResult r = ReadOther8bBytes(view(bytes), file, table);
    EXPECT_EQ(std::tie(r.category, r.name), std::tuple(category, name)) << file;
  }
  // clang-format on
  EXPECT_EQ(ReadOther8bBytes(ByteView(), "quiet_8be", table).name, "Quiet");
}

TEST(ReadOther8b, FromFileAndUnreadableFileFallsBackToTheName) {
  test::TempFolder dir;
  PeImage image;
  image.resources.push_back({"", 16, {test::versionData({{{"FileDescription", "Import Magic"}}})}});
  test::writeFile(dir / "magic.8ba", test::asString(buildPe(image).bytes));
  PlugTypeTable table = makeTypeTable({{"PS Import Plugin (8ba|0)", true}});
  EXPECT_EQ(ReadOther8b(dir / "magic.8ba", table).name, "Import Magic");
  EXPECT_EQ(ReadOther8b(dir / "missing.8ba", table).name, "Missing");
}

}  // namespace
}  // namespace qm::plugins
