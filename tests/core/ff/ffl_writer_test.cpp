// Library entries as written read back through the library readers; what an entry cannot hold
// is changed and named, and adding entries keeps the old ones byte for byte.

#include "core/ff/ffl_writer.h"

#include <gtest/gtest.h>

#include "core/ff/ffl.h"

namespace qm::ff {
namespace {

ByteView viewOf(const std::string& text) {
  return ByteView(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

FFRecord sampleRecord() {
  FFRecord rec;
  rec.fileName = "wave.8bf";
  rec.category = "Caf\xE9 Filters";
  rec.title = "Wave";
  rec.author = "A. Writer";
  rec.copyright = "Copyright 2001";
  rec.mapNames = {"Shift", "", "", ""};
  rec.controlNames = {"", "", "Amount", "", "", "", "", "Last"};
  rec.sliderValues = {0, 1, 2, 127, 128, 200, 254, 255};
  rec.formulas = {"r+ctl(2)", "g", "b", "a"};
  return rec;
}

TEST(FflWriter, EntriesReadBackWithWhatTheFormatCannotHoldNamed) {
  struct Case {
    const char* what;
    void (*change)(FFRecord&);
    std::vector<std::string> changedFields;
    void (*expected)(FFRecord&);
  };
  const Case cases[] = {
      {"plain", [](FFRecord&) {}, {}, [](FFRecord&) {}},
      {"copyright sign",
       [](FFRecord& r) { r.copyright = "\xA9 2001"; },
       {"copyright"},
       [](FFRecord& r) { r.copyright = "Copyright \xA9 2001"; }},
      {"formula line breaks",
       [](FFRecord& r) { r.formulas[0] = "r+\r\n1+\r2+\n3"; },
       {"formula line breaks"},
       [](FFRecord& r) { r.formulas[0] = "r+ 1+ 2+ 3"; }},
      {"quote formulas",
       [](FFRecord& r) { r.formulas[1] = "\"", r.formulas[2] = "\""; },
       {"G formula", "B formula"},
       [](FFRecord& r) { r.formulas[1] = r.formulas[2] = "r+ctl(2)"; }},
      {"deleted mark",
       [](FFRecord& r) { r.fileName = "//wave.8bf"; },
       {"file name"},
       [](FFRecord& r) { r.fileName = "wave.8bf"; }},
      {"Photoshop formulas under a Premiere name",
       [](FFRecord& r) { r.fileName = "wave.prm"; },
       {"file name"},
       [](FFRecord& r) { r.fileName = "wave.8bf"; }},
      {"Premiere formulas",
       [](FFRecord& r) { r.fileName = "wave.afs", r.photoshopDialect = false; },
       {"file name"},
       [](FFRecord& r) { r.fileName = "wave.prm", r.photoshopDialect = false; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FFRecord rec = sampleRecord();
    c.change(rec);
    ASSERT_FALSE(fflEntryRefusal(rec));
    auto storable = fflStorable(rec);
    EXPECT_EQ(storable.changedFields, c.changedFields);
    FFRecord expected = sampleRecord();
    c.expected(expected);
    EXPECT_EQ(storable.record, expected);

    const std::string library = fflLibraryText("FFL1.0", {storable.record, storable.record});
    auto index = IndexFFL(viewOf(library));
    ASSERT_TRUE(index);
    EXPECT_EQ(index->declaredCount, "2");
    ASSERT_EQ(index->entries.size(), 2u);
    EXPECT_FALSE(index->cutShort);
    EXPECT_EQ(LoadFFLEntry(viewOf(library), 2), expected);
    // The text reader (the one whole-library conversion uses) agrees.
    FFLTextReader text(viewOf(library));
    EXPECT_EQ(text.nextLine(), "FFL1.0");
    text.nextLine();
    FFRecord read;
    read.photoshopDialect = expected.photoshopDialect;
    EXPECT_TRUE(ReadFFLEntry(text, read));
    EXPECT_EQ(read, expected);
  }
}

TEST(FflWriter, LineBreaksInNamesAreRefused) {
  FFRecord rec = sampleRecord();
  rec.title = "Two\nLines";
  EXPECT_EQ(fflEntryRefusal(rec), "its title holds a line break");
  rec = sampleRecord();
  rec.controlNames[3] = "A\rB";
  EXPECT_EQ(fflEntryRefusal(rec), "a slider name holds a line break");
}

TEST(FflWriter, AddingKeepsOldEntriesAndCountsDeletedOnes) {
  FFRecord first = sampleRecord();
  FFRecord deleted = sampleRecord();
  deleted.fileName = "//old.8bf";
  // A count line that lies and blank lines after the last entry, as edited libraries have.
  std::string library =
      "FFL1.1\r\n7\r\n" + fflEntryText(first) + fflEntryText(deleted) + "\r\n\r\n";
  FFRecord added = sampleRecord();
  added.title = "Added";
  auto result = fflWithAddedEntries(viewOf(library), {added});
  ASSERT_TRUE(result);
  EXPECT_EQ(*result,
            "FFL1.1\r\n3\r\n" + fflEntryText(first) + fflEntryText(deleted) + fflEntryText(added));
  // A last line without its line end gets one before the new entries.
  std::string unended = fflLibraryText("FFL1.0", {first});
  unended.resize(unended.size() - 2);
  result = fflWithAddedEntries(viewOf(unended), {added});
  ASSERT_TRUE(result);
  EXPECT_EQ(*result, fflLibraryText("FFL1.0", {first, added}));

  const std::string cut = "FFL1.0\r\n1\r\nwave.8bf\r\nFilters\r\n";
  EXPECT_EQ(fflWithAddedEntries(viewOf(cut), {added}).error(),
            "the library ends inside an entry (damaged); nothing added");
  EXPECT_EQ(fflWithAddedEntries(viewOf("FFL2.0\r\n0\r\n"), {added}).error(),
            "not a Filter Factory library");
}

}  // namespace
}  // namespace qm::ff
