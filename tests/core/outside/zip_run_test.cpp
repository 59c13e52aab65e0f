// Add to Zip then Test Zip with the real zip program, checked with unzip.
#include <gtest/gtest.h>

#include <cstdlib>

#include "core/outside/zip_commands.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace qm::outside {
namespace {

namespace fs = std::filesystem;

test::ProgramRun runIn(const CommandLine& line) {
  fs::path before = fs::current_path();
  fs::current_path(line.workingFolder);
  test::ProgramRun run = test::runProgram(line.program.string(), line.arguments);
  fs::current_path(before);
  return run;
}

TEST(ZipRun, ArchiveHoldsTheNamedFilesAndStoresTheListedSuffixes) {
  const char* path = std::getenv("PATH");
  auto zip = findZipProgram(path ? path : "", {});
  auto unzip = zip ? std::optional(zip->parent_path() / "unzip") : std::nullopt;
  if (!zip || !fs::exists(*unzip)) GTEST_SKIP() << "zip and unzip are not installed";

  test::TempFolder dir;
  std::string text(4000, 'a');
  test::writeFile(dir / "my filter.8bf", text);
  test::writeFile(dir / "picture.jpg", text);
  test::writeFile(dir / "-dash.txt", text);

  auto add = runIn(addToZipCommand(*zip, dir.path(), presetZipName("a.8bf"),
                                   {"my filter.8bf", "picture.jpg", "-dash.txt"}));
  ASSERT_EQ(add.exitCode, 0) << add.err;
  auto tested = runIn(testZipCommand(*zip, dir / "New.zip"));
  EXPECT_EQ(tested.exitCode, 0) << tested.err;
  EXPECT_NE(tested.out.find("OK"), std::string::npos) << tested.out;

  auto listing = test::runProgram(unzip->string(), {"-v", (dir / "New.zip").string()});
  ASSERT_EQ(listing.exitCode, 0);
  auto lineOf = [&](const std::string& name) {
    std::size_t at = listing.out.find(name);
    if (at == std::string::npos) return std::string();
    std::size_t start = listing.out.rfind('\n', at) + 1;
    return listing.out.substr(start, at - start);
  };
  EXPECT_NE(lineOf("my filter.8bf").find("Defl"), std::string::npos) << listing.out;
  EXPECT_NE(lineOf("picture.jpg").find("Stored"), std::string::npos) << listing.out;
  EXPECT_NE(lineOf("-dash.txt").find("Defl"), std::string::npos) << listing.out;

  test::writeFile(dir / "broken.zip", "PK\x03\x04 not really");
  EXPECT_NE(runIn(testZipCommand(*zip, dir / "broken.zip")).exitCode, 0);
}

}  // namespace
}  // namespace qm::outside
