// A filter over many pictures: where the results go, what is kept, failed or stopped, and the
// summary both programs show.

#include "core/apply/batch_apply.h"

#include <gtest/gtest.h>

#include <atomic>

#include "core/common/same_file.h"
#include "support/scripted_ports.h"
#include "support/temp_folder.h"

namespace qm::apply {
namespace {

namespace fs = std::filesystem;

// A "picture" is a file that says "pic"; its result holds the first pixel's red after the filter.
class FakePictures final : public PictureFiles {
 public:
  std::atomic<int> reads{0};
  int cancelAtRead = 0;  // the read that presses Escape; 0: never
  std::atomic<bool> cancelled{false};

  std::optional<host::Image> read(const fs::path& file) override {
    if (++reads == cancelAtRead) cancelled = true;
    if (test::readFile(file) != "pic") return std::nullopt;
    host::Image image;
    image.width = 1;
    image.height = 1;
    image.rgba = {10, 20, 30, 255};
    return image;
  }
  std::string whyUnreadable(const fs::path&) override { return "cannot read the picture"; }
  std::optional<std::vector<std::uint8_t>> encode(const host::Image& image, const fs::path&,
                                                  const EncodeRequest&) override {
    return std::vector<std::uint8_t>{'R', image.rgba[0]};
  }
};

TEST(BatchApply, ResultsKeptFailedAndStoppedAreSummed) {
  const struct {
    const char* name;
    BatchOptions options;    // dest relative to the test folder
    OverwriteAnswer answer;  // for the one existing result, out/b_x.png
    int cancelAtRead;
    std::vector<std::string> written;  // relative to the test folder
    std::vector<std::string> failed;   // "where: reason" with the folder as "@/"
    std::string summary;
    bool stopped;
    std::size_t finished;
  } cases[] = {
      {"all run",
       {"out", "_x", "png", 1},
       OverwriteAnswer::OverwriteAll,
       0,
       {"out/a_x.png", "out/b_x.png"},
       {"@/in/c.png: cannot read the picture"},
       "2 written, 0 skipped, 1 failed",
       false,
       3},
      {"b kept",
       {"out", "_x", "png", 2},
       OverwriteAnswer::Ignore,
       0,
       {"out/a_x.png"},
       {"@/in/c.png: cannot read the picture"},
       "1 written, 1 skipped, 1 failed",
       false,
       2},
      {"beside the inputs, own names",
       {"", "", "", 1},
       OverwriteAnswer::OverwriteAll,
       0,
       {},
       {"@/in/a.png: would replace its own input", "@/in/b.png: would replace its own input",
        "@/in/c.png: would replace its own input"},
       "0 written, 0 skipped, 3 failed",
       false,
       3},
      {"Escape at the second picture",
       {"out", "_x", "png", 1},
       OverwriteAnswer::OverwriteAll,
       2,
       {"out/a_x.png"},
       {},
       "1 written, 0 skipped, 0 failed",
       true,
       1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempFolder dir;
    const fs::path in = dir / "in";
    const std::vector<fs::path> pictures = {test::writeFile(in / "a.png", "pic"),
                                            test::writeFile(in / "b.png", "pic"),
                                            test::writeFile(in / "c.png", "no picture")};
    test::writeFile(dir / "out" / "b_x.png", "old");
    ApplySetup setup;
    setup.filterFile = dir / "f.afs";
    setup.formulas = {"r*2", "g", "b", "a"};
    BatchOptions options = c.options;
    if (!options.dest.empty()) options.dest = dir.path() / options.dest;
    FakePictures files;
    files.cancelAtRead = c.cancelAtRead;
    test::ScriptedPrompter prompter;
    prompter.overwriteAnswers = {c.answer};
    batch::OverwriteCheck overwrite(prompter);

    BatchApply batch(setup, files, pictures, options);
    EXPECT_FALSE(batch.makeDestination());
    std::vector<fs::path> keptNow;
    ASSERT_TRUE(
        batch.decide(overwrite, [&](const BatchItem& item) { keptNow.push_back(item.output); }));
    int done = 0;
    batch.run([&] { return files.cancelled.load(); }, [&] { ++done; });
    const BatchSummary summary = batch.summary();

    std::vector<fs::path> written;
    for (const auto& file : c.written) written.push_back(dir / file);
    EXPECT_EQ(summary.written, written);
    for (const auto& file : written) EXPECT_EQ(test::readFile(file), std::string("R\x14"));
    std::vector<std::string> failed;
    for (const auto& failure : summary.failed) failed.push_back(failure.line());
    std::vector<std::string> expectedFailed;
    for (std::string line : c.failed)
      expectedFailed.push_back(line.replace(0, 1, dir.path().string()));
    EXPECT_EQ(failed, expectedFailed);
    EXPECT_EQ(summaryLine(summary), c.summary);
    EXPECT_EQ(summary.stopped, c.stopped);
    EXPECT_EQ(summary.finished, c.finished);
    EXPECT_EQ(summary.keptOutputs, keptNow);
    const bool kept =
        c.answer == OverwriteAnswer::Ignore || c.cancelAtRead != 0 || c.options.dest.empty();
    EXPECT_EQ(test::readFile(dir / "out" / "b_x.png") == "old", kept);
    EXPECT_LE(done, static_cast<int>(c.finished));
  }
}

}  // namespace
}  // namespace qm::apply
