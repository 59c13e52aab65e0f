#include "core/outside/temp_cleaning.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/temp_folder.h"

namespace qm::outside {
namespace {

namespace fs = std::filesystem;

// Real files, links and a named pipe (a socket or pipe a running program left); only the owner and
// the age of some are faked.
TEST(TempCleaning, RemovesOnlyOurOldFilesLinksAndEmptiedFolders) {
  test::TempFolder root;
  test::TempFolder outside;
  fs::path tmp = root / "tmp";
  fs::path target = test::writeFile(outside / "kept.txt", "outside");
  test::writeFile(tmp / "old.txt", "x");
  test::writeFile(tmp / "theirs.txt", "x");
  test::writeFile(tmp / "recent.txt", "x");
  test::writeFile(tmp / "sub" / "old.txt", "x");
  test::writeFile(tmp / "busy" / "recent.txt", "x");
  test::writeFile(tmp / "foreign" / "old.txt", "x");
  fs::create_symlink(target, tmp / "link");
  fs::create_directory_symlink(outside.path(), tmp / "folderlink");
  ASSERT_EQ(::mkfifo((tmp / "pipe").c_str(), 0600), 0);

  // The disk's own answers two days from now, with owner and age faked by name.
  FactsOf disk = diskFacts(std::chrono::system_clock::now() + std::chrono::hours(48));
  FactsOf facts = [&](const fs::path& p) {
    std::optional<EntryFacts> f = disk(p);
    std::string name = p.filename().string();
    if (f && (name == "theirs.txt" || name == "foreign")) f->ownedByUs = false;
    if (f && name == "recent.txt") f->recent = true;
    return f;
  };

  CleaningResult result = cleanTemporaryFolder(tmp, facts);

  EXPECT_EQ(result.removed, 5);  // old.txt, sub/old.txt, sub, link, folderlink
  EXPECT_EQ(result.recent, 2);   // recent.txt twice
  EXPECT_EQ(result.bytes, 2u);   // the two old.txt files, not the disk's change
  for (const char* gone : {"old.txt", "sub", "link", "folderlink"})
    EXPECT_FALSE(fs::exists(fs::symlink_status(tmp / gone))) << gone;
  for (const char* kept :
       {"theirs.txt", "recent.txt", "pipe", "busy/recent.txt", "foreign/old.txt"})
    EXPECT_TRUE(fs::exists(tmp / kept)) << kept;
  EXPECT_TRUE(fs::is_directory(tmp));
  EXPECT_EQ(test::readFile(target), "outside");
  EXPECT_TRUE(fs::exists(outside.path()));
}

TEST(TempCleaning, DiskFactsTellKindOwnerAndAge) {
  test::TempFolder dir;
  fs::path file = test::writeFile(dir / "f", "x");
  fs::create_symlink(dir / "missing", dir / "l");
  auto now = std::chrono::system_clock::now();
  auto f = diskFacts(now)(file);
  ASSERT_TRUE(f);
  EXPECT_EQ(std::tie(f->kind, f->ownedByUs, f->recent), std::tuple(EntryKind::File, true, true));
  EXPECT_FALSE(diskFacts(now + std::chrono::hours(25))(file)->recent);
  EXPECT_EQ(diskFacts(now)(dir / "l")->kind, EntryKind::Link);
  EXPECT_EQ(diskFacts(now)(dir.path())->kind, EntryKind::Folder);
  EXPECT_FALSE(diskFacts(now)(dir / "none"));
}

TEST(TempCleaning, TheBytesRemovedAreWrittenInMegabytesWithWhatStayedAndWhy) {
  CleaningResult result;
  result.bytes = 2u << 20;
  EXPECT_EQ(cleaningText(result), " 2.00 MB gained by cleaning the Temporary folder.");
  result = {1, 3, 1, "/tmp/x: Permission denied", 512u << 10};
  EXPECT_EQ(cleaningText(result),
            " 0.50 MB gained by cleaning the Temporary folder.\n\n3 of your files or folders "
            "changed in the last 24 hours were kept.\n\n1 could not be removed (/tmp/x: "
            "Permission denied).");
}

}  // namespace
}  // namespace qm::outside
