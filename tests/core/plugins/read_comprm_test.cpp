#include "core/plugins/read_comprm.h"

#include <gtest/gtest.h>

#include <random>

#include "support/pe_builder.h"
#include "support/premiere_records.h"
#include "support/temp_folder.h"

namespace qm::plugins {
namespace {

PrmResult read(const std::string& bytes) {
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
    PrmResult r = read(file);
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
  EXPECT_FALSE(read(file).ok);
  for (std::size_t n : {0u, 3u, 6u}) EXPECT_EQ(read(std::string(n, 'x')).filter.category, "");
}

TEST(ReadComprm, AudioFilterAndTransition) {
  std::string audio(20000, '\0');
  test::placeAt(audio, 9002, test::afltRecord("Echo"));
  PrmResult a = read(audio);
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
    PrmResult t = read(file);
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
  PrmResult r = read(test::asString(built.bytes));
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
  PrmResult r = read(file);
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
    const PrmResult inMemory = read(bytes);
    EXPECT_EQ(std::tie(fromDisk.ok, fromDisk.filter.category, fromDisk.filter.title,
                       fromDisk.filter.position),
              std::tie(inMemory.ok, inMemory.filter.category, inMemory.filter.title,
                       inMemory.filter.position))
        << record;
    found += inMemory.ok ? 1 : 0;
  }
  EXPECT_GT(found, 0) << "no placement fell into a searched window";
}

}  // namespace
}  // namespace qm::plugins
