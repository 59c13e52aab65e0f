#include "core/ff/ffl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ff_sources.h"
#include "support/view_of.h"

namespace qm::ff {
namespace {

using test::fflEntry;
using test::fflLibrary;
using test::viewOf;

TEST(FFLTextReader, EveryLineEndingEndsALineAndAFinalOneAddsNothing) {
  std::string text = "a\r\nb\rc\nd\r\n";
  FFLTextReader reader(viewOf(text));
  std::vector<std::string> lines;
  while (!reader.atEnd()) lines.push_back(reader.nextLine());
  EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(reader.nextLine(), "");
}

TEST(LenientNumber, SkipsBlanksAndLineFeedsStopsAtNonDigitClamps) {
  // clang-format off
  const std::pair<const char*, unsigned long long> cases[] = {
      {"  \n7x", 7}, {"", 0}, {"-5", 0}, {"300", 255}, {"99999999999999999999999", 255},
      {"\t3", 0}};
  // clang-format on
  for (auto [text, expected] : cases) EXPECT_EQ(lenientNumber(text, 255), expected) << text;
}

// The plain fields are covered by the conversion round trip; these are the entry's quirks.
TEST(ReadFFLEntry, QuotesCopyrightSignAndValues) {
  const std::string entry = fflEntry("wave.8bf", "Wave");
  std::vector<std::string> lines;
  for (std::size_t at = 0, end; (end = entry.find("\r\n", at)) != std::string::npos; at = end + 2)
    lines.push_back(entry.substr(at, end - at));
  ASSERT_EQ(lines.size(), 29u);
  lines[4] = "\xA9 1999 Ann";
  lines[17] = " 12";
  lines[18] = "300";
  lines[19] = "200";
  lines[25] = "r*2";
  lines[26] = "g/2";
  lines[27] = "\"";  // B takes G's formula as read just before
  auto join = [&lines](const std::string& ending) {
    std::string out;
    for (const auto& l : lines) out += l + ending;
    return out;
  };
  std::string text = join("\r\n") + "next";
  FFLTextReader reader(viewOf(text));
  FFRecord rec;
  rec.photoshopDialect = false;
  ReadFFLEntry(reader, rec);
  EXPECT_EQ(rec.copyright, "Copyright \xA9 1999 Ann");
  EXPECT_EQ(rec.sliderValues, (std::array<std::uint8_t, 8>{12, 255, 200, 0, 0, 0, 0, 0}));
  EXPECT_EQ(rec.formulas, (std::array<std::string, 4>{"r*2", "g/2", "g/2", "a"}));
  EXPECT_FALSE(rec.photoshopDialect);
  EXPECT_EQ(reader.nextLine(), "next");
  lines[26] = "\"";
  text = join("\n");
  FFLTextReader quoted(viewOf(text));
  ReadFFLEntry(quoted, rec);
  EXPECT_EQ(rec.formulas, (std::array<std::string, 4>{"r*2", "r*2", "r*2", "a"}));
}

// The dialect from the entry's name is checked through LoadFFLEntry below.
TEST(ReadFFLEntryII, SkipsTheByteAfterEachCr) {
  // The byte after a CR is dropped whatever it is; a lone LF stays in the line.
  std::string odd = "ab\rXcd\n\rYef";
  ByteCursor cursor(viewOf(odd));
  FFRecord rec;
  ReadFFLEntryII(cursor, rec);
  EXPECT_EQ(rec.fileName + "|" + rec.category + "|" + rec.title, "ab|cd\n|ef");
}

TEST(IndexFFL, RecordsPositionsOfEveryEntryPlaceholdersIncluded) {
  const std::string first = fflEntry("one.8bf", "One");
  auto text =
      fflLibrary({first, fflEntry("//o.8bf", "Gone"), fflEntry("three.prm", "Three")}, "FFL1.1");
  auto index = IndexFFL(viewOf(text));
  ASSERT_TRUE(index.has_value());
  EXPECT_EQ(index->header + "|" + index->declaredCount, "FFL1.1|3");
  ASSERT_EQ(index->entries.size(), 3u);
  const std::size_t start = std::string("FFL1.1\r\n3\r\n").size();
  EXPECT_EQ(index->entries[0].position, start);
  EXPECT_EQ(index->entries[1].position, start + first.size());
  EXPECT_EQ(text.substr(index->entries[2].position, 9), "three.prm");
  EXPECT_EQ(std::tie(index->entries[0].placeholder, index->entries[1].placeholder),
            std::tuple(false, true));
  EXPECT_EQ(
      index->entries[1].title + "|" + index->entries[2].category + "|" + index->entries[2].author,
      "Gone|Cat|Ann");
}

TEST(IndexFFL, RejectsAnyOtherFirstLine) {
  for (std::string header : {"FFL2.0", "ffl1.0", "FFL1.0 ", "", "%RGB-1.0"})
    EXPECT_FALSE(IndexFFL(viewOf(fflLibrary({fflEntry("a.8bf", "A")}, header)))) << header;
  // Read by byte access, an LF-only library is a single line.
  EXPECT_FALSE(IndexFFL(viewOf("FFL1.0\n1\na.8bf\n")));
  EXPECT_FALSE(IndexFFL(ByteView()));
}

TEST(LoadFFLEntry, CountsFromOneAndChecksRange) {
  auto text = fflLibrary({fflEntry("a.8bf", "A"), fflEntry("//b.8bf", "B"),
                          fflEntry("c.prm", "C", "r + val(0,0,255)")});
  EXPECT_FALSE(LoadFFLEntry(viewOf(text), 0));
  EXPECT_FALSE(LoadFFLEntry(viewOf(text), 4));
  auto second = LoadFFLEntry(viewOf(text), 2);
  auto third = LoadFFLEntry(viewOf(text), 3);
  ASSERT_TRUE(second && third);
  EXPECT_EQ(second->title + third->title, "BC");
  EXPECT_TRUE(second->photoshopDialect);
  EXPECT_FALSE(third->photoshopDialect);              // its name ends in .prm
  EXPECT_EQ(third->formulas[0], "r + val(0,0,255)");  // not optimised
}

}  // namespace
}  // namespace qm::ff
