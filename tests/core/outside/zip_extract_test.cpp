// Unzip on crafted archives: what lands in the target, what is refused by name, and that
// nothing is written beside or above the target folder.

#include "core/outside/zip_extract.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>

#include "core/common/ports.h"
#include "support/scripted_ports.h"
#include "support/temp_folder.h"

namespace qm::outside {
namespace {

namespace fs = std::filesystem;

struct Member {
  std::string name;
  std::string bytes;
  bool link = false;
  bool deflate = false;
};

std::string u16(unsigned v) {
  return {char(v), char(v >> 8)};
}
std::string u32(std::uint32_t v) {
  return u16(v & 0xFFFF) + u16(v >> 16);
}

std::string deflated(const std::string& bytes) {
  z_stream s{};
  deflateInit2(&s, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::string out(bytes.size() + 64, '\0');
  s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  s.avail_in = static_cast<uInt>(bytes.size());
  s.next_out = reinterpret_cast<Bytef*>(out.data());
  s.avail_out = static_cast<uInt>(out.size());
  deflate(&s, Z_FINISH);
  out.resize(s.total_out);
  deflateEnd(&s);
  return out;
}

// A zip archive as Info-ZIP on Unix writes one: stored or deflated members, links with their
// Unix mode, a date of 2024-03-05 10:20.
std::string archive(const std::vector<Member>& members) {
  std::string local, central;
  for (const auto& m : members) {
    const std::string packed = m.deflate ? deflated(m.bytes) : m.bytes;
    const auto crc = static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(m.bytes.data()), uInt(m.bytes.size())));
    const std::string common = u16(m.deflate ? 8 : 0) + u16(10 << 11 | 20 << 5) +
                               u16(44 << 9 | 3 << 5 | 5) + u32(crc) + u32(uint32_t(packed.size())) +
                               u32(uint32_t(m.bytes.size())) + u16(uint16_t(m.name.size()));
    const std::uint32_t offset = std::uint32_t(local.size());
    local += u32(0x04034b50) + u16(20) + u16(0) + common + u16(0) + m.name + packed;
    const std::uint32_t mode = m.link ? 0120777u : 0100644u;
    central += u32(0x02014b50) + u16(3 << 8 | 30) + u16(20) + u16(0) + common + u16(0) + u16(0) +
               u16(0) + u16(0) + u32(mode << 16) + u32(offset) + m.name;
  }
  return local + central + u32(0x06054b50) + u16(0) + u16(0) + u16(uint16_t(members.size())) +
         u16(uint16_t(members.size())) + u32(uint32_t(central.size())) +
         u32(uint32_t(local.size())) + u16(0);
}

ByteView viewOf(const std::string& bytes) {
  return ByteView(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

std::vector<std::string> treeOf(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::recursive_directory_iterator(folder))
    names.push_back(e.path().lexically_relative(folder).string() + (e.is_symlink() ? "@" : ""));
  std::sort(names.begin(), names.end());
  return names;
}

TEST(Unzip, ListsMembersWithSizesAndDates) {
  const std::string zip = archive({{"Filters/Wave.8bf", std::string(5000, 'w'), false, true},
                                   {"Filters/", ""},
                                   {"readme.txt", "hello"}});
  auto members = readZipDirectory(viewOf(zip));
  ASSERT_TRUE(members);
  ASSERT_EQ(members->size(), 3u);
  EXPECT_EQ((*members)[0].name, "Filters/Wave.8bf");
  EXPECT_EQ((*members)[0].size, 5000u);
  EXPECT_LT((*members)[0].compressedSize, 100u);
  EXPECT_EQ(zipMemberDate((*members)[0]), "2024-03-05 10:20");
  EXPECT_TRUE((*members)[1].directory);
  auto bytes = unpackZipMember(viewOf(zip), (*members)[0]);
  ASSERT_TRUE(bytes);
  EXPECT_EQ(std::string(bytes->begin(), bytes->end()), std::string(5000, 'w'));

  for (const std::string& bad :
       {std::string("PK\3\4 not an archive"), zip.substr(0, zip.size() - 30),
        zip.substr(0, 40) + zip.substr(60)}) {
    auto read = readZipDirectory(viewOf(bad));
    if (read) {
      for (const auto& m : *read) (void)unpackZipMember(viewOf(bad), m);  // must not crash
    } else {
      EXPECT_TRUE(read.error() == "not a zip archive" ||
                  read.error() == "the archive's directory is damaged")
          << read.error();
    }
  }
  std::string flipped = zip;
  flipped[50] ^= 0x55;  // a byte of the first member's packed data
  EXPECT_FALSE(unpackZipMember(viewOf(flipped), (*members)[0]));
}

TEST(Unzip, WritesInsideTheTargetAndRefusesEscapesByName) {
  test::TempFolder dir;
  const fs::path target = dir / "target";
  fs::create_directories(dir / "outside");
  const std::string zip = archive({
      {"good/one.8bf", "one"},
      {"./two.afs", "two", false, true},
      {"../escape.txt", "x"},
      {"good/../../escape2.txt", "x"},
      {"/etc/absolute.txt", "x"},
      {"C:\\Windows\\drive.txt", "x"},
      {"win\\sub\\three.txt", "three"},
      {"inner", "good", true},
      {"outer", "../outside", true},
      {"outer/through.txt", "x"},
      {"abs", "/tmp", true},
  });
  fs::create_directories(dir / "in");
  const fs::path zipFile = test::writeFile(dir / "in/crafted.zip", zip);

  test::ScriptedPrompter prompter;
  batch::OverwriteCheck overwrite(prompter);
  SilentProgress progress;
  auto report = extractZip(zipFile, target, overwrite, progress);
  EXPECT_EQ(treeOf(target), (std::vector<std::string>{"good", "good/one.8bf", "inner@", "two.afs",
                                                      "win", "win/sub", "win/sub/three.txt"}));
  EXPECT_EQ(fs::read_symlink(target / "inner"), "good");
  EXPECT_EQ(treeOf(dir / "outside"), std::vector<std::string>{});
  EXPECT_FALSE(fs::exists(dir / "escape.txt") || fs::exists(dir / "escape2.txt"));
  EXPECT_EQ(
      problemLines(report.refused),
      (std::vector<std::string>{"../escape.txt: its name leads out of the folder (..)",
                                "good/../../escape2.txt: its name leads out of the folder (..)",
                                "/etc/absolute.txt: its name is absolute",
                                "C:\\Windows\\drive.txt: its name is absolute (a drive)",
                                "outer: it is a link that points out of the folder",
                                "outer/through.txt: its folder is a link in the archive",
                                "abs: it is a link that points out of the folder"}));
  EXPECT_EQ(report.written.size(), 4u);

  // A link the user keeps in the target that leads out is never written through.
  fs::create_directory_symlink(dir / "outside", target / "mine");
  const fs::path second =
      test::writeFile(dir / "in/second.zip", archive({{"mine/x.txt", "x"}, {"two.afs", "new"}}));
  prompter.overwriteAnswers = {OverwriteAnswer::Ignore};
  report = extractZip(second, target, overwrite, progress);
  EXPECT_EQ(treeOf(dir / "outside"), std::vector<std::string>{});
  EXPECT_EQ(problemLines(report.refused),
            std::vector<std::string>{
                "mine/x.txt: it would be written through a link that leads out of the folder"});
  EXPECT_EQ(report.skipped, std::vector<fs::path>{target / "two.afs"});
  EXPECT_EQ(test::readFile(target / "two.afs"), "two");
}

}  // namespace
}  // namespace qm::outside
