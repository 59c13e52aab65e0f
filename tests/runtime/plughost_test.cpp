// Our plugin host under wine64, held to our own test filter (two filters in one file, about
// box, dialog, advanceState with tiles, Start/Continue bands) through quillmark-cli apply and
// info, every way a run can fail, and our runtime's plugins run as foreign plugins against
// apply's engine. One program folder (and so one Wine prefix) serves every test program run.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>

#include <QImage>
#include <algorithm>
#include <nlohmann/json.hpp>

#include "core/plughost/foreign_host.h"
#include "core/plughost/texts.h"
#include "platform/image_codec.h"
#include "platform/posix_host_process.h"
#include "runtime/wine_host.h"

namespace {

namespace fs = std::filesystem;
using qm::test::RawPicture;

// What the test filter computes, in C++: Shift (filter 1) and Invert (filter 2).
RawPicture shifted(RawPicture p) {
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x)
      for (int c = 0; c < p.channels; ++c) {
        auto& v = p.pixels[(static_cast<std::size_t>(y) * p.width + x) * p.channels + c];
        v = static_cast<std::uint8_t>(v + 40 + 3 * x + 5 * y + 11 * c);
      }
  return p;
}
RawPicture inverted(RawPicture p) {
  for (std::size_t i = 0; i < p.pixels.size(); ++i)
    if (static_cast<int>(i % p.channels) < 3)
      p.pixels[i] = static_cast<std::uint8_t>(255 - p.pixels[i]);
  return p;
}

std::string firstDifference(const RawPicture& got, const RawPicture& expected) {
  if (got.pixels.size() != expected.pixels.size()) return "sizes differ";
  auto [g, e] = std::mismatch(got.pixels.begin(), got.pixels.end(), expected.pixels.begin());
  if (g == got.pixels.end()) return "same";
  return "byte " + std::to_string(g - got.pixels.begin()) + ": " + std::to_string(*g) +
         " instead of " + std::to_string(*e);
}

// A picture file of the pattern: RGB, RGBA, or 8-bit grey.
void writePicture(const fs::path& file, const RawPicture& p) {
  if (p.channels != 1) {
    ASSERT_TRUE(qm::platform::QtImageCodec().write(qm::test::toImage(p), file));
    return;
  }
  QImage grey(p.width, p.height, QImage::Format_Grayscale8);
  for (int y = 0; y < p.height; ++y)
    std::copy_n(p.pixels.data() + static_cast<std::size_t>(y) * p.width, p.width, grey.scanLine(y));
  ASSERT_TRUE(grey.save(QString::fromStdString(file.string())));
}

RawPicture readPicture(const fs::path& file, int channels) {
  auto image = qm::platform::QtImageCodec().read(file);
  if (!image) return {};
  RawPicture p = qm::test::fromImage(*image, channels == 1 ? 3 : channels);
  if (channels == 1) {
    RawPicture grey{p.width, p.height, 1, {}};
    for (std::size_t i = 0; i < p.pixels.size(); i += 3) grey.pixels.push_back(p.pixels[i]);
    return grey;
  }
  return p;
}

class PlugHost : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!fs::exists(QM_WINE)) return;
    folder_ = new qm::test::TempFolder;
    program_ = fs::path(QM_PLUGHOST_TEST_DIR);
    fs::create_directories(program_);
    for (int channels : {1, 3, 4})
      writePicture(*folder_ / ("in" + std::to_string(channels) + ".png"),
                   qm::test::patternPicture(45, 31, channels));
    // The first run sets the prefix up; other test programs of this run wait for it and then
    // find it ready.
    const int lock = ::open((program_ / "setup.lock").c_str(), O_CREAT | O_RDWR, 0600);
    ::flock(lock, LOCK_EX);
    apply({QM_TEST_FILTER, (*folder_ / "in3.png").string(), (*folder_ / "warm.png").string()});
    ::flock(lock, LOCK_UN);
    ::close(lock);
  }
  static void TearDownTestSuite() { delete folder_; }
  void SetUp() override {
    if (!folder_) GTEST_SKIP() << "wine64 is not installed";
  }

  static qm::test::ProgramRun apply(std::vector<std::string> args,
                                    std::vector<std::string> env = {}) {
    std::vector<std::string> all = std::move(env);
    all.insert(all.end(),
               {QM_CLI, "--program-dir", program_.string(), "apply", "--overwrite", "all"});
    all.insert(all.end(), args.begin(), args.end());
    return qm::test::runProgram("/usr/bin/env", all);
  }

  static inline qm::test::TempFolder* folder_ = nullptr;
  static inline fs::path program_;
};

TEST_F(PlugHost, TestFilterRunsPixelExactOrFailsWithItsMessage) {
  const std::string plugin = QM_TEST_FILTER, plugin86 = QM_TEST_FILTER_X86;
  const auto wine = qm::plughost::findWine(qm::plughost::wineSearchFolders());
  const bool wine32 = wine && !wine->wine32.empty();
  const struct {
    std::string filter;  // the FILTER argument
    int channels;
    std::vector<std::string> extra;  // options, then "NAME=VALUE" for the environment
    RawPicture (*expected)(RawPicture);
    std::string message;  // when the run fails: the whole message line
  } cases[] = {
      {plugin, 3, {}, shifted, ""},
      {plugin + "#1", 4, {}, shifted, ""},
      {plugin + "#1", 1, {}, shifted, ""},
      {plugin + "#2", 3, {}, inverted, ""},
      {plugin + "#2", 4, {}, inverted, ""},
      {plugin + "#2",
       1,
       {},
       nullptr,
       plugin + "#2: the plugin stopped with an error (-30101: the plugin cannot filter this "
                "kind of picture)"},
      {plugin + "#3", 3, {}, nullptr, plugin + "#3: cannot be loaded: it holds fewer filters"},
      {plugin,
       3,
       {"QM_TEST_FILTER=crash"},
       nullptr,
       plugin + ": the plugin stopped with an error (0xC0000005: the plugin crashed: access "
                "violation)"},
      {plugin,
       3,
       {"QM_TEST_FILTER=error"},
       nullptr,
       plugin + ": the plugin stopped with an error (-30904: the test filter was told to fail)"},
      {plugin + "#2",
       3,
       {"QM_TEST_FILTER=mode"},
       nullptr,
       plugin + "#2: the plugin stopped with an error (-30101: the plugin cannot filter this "
                "kind of picture)"},
      {plugin,
       3,
       {"--timeout", "2", "QM_TEST_FILTER=hang"},
       nullptr,
       plugin + ": did not answer in 2 s and was stopped"},
      {plugin,
       3,
       {"QUILLMARK_WINE_DIR=" + folder_->path().string()},
       nullptr,
       plugin + ": " + std::string(qm::plughost::kNeedsWineText)},
      // Where the system has no 32-bit Wine (as on our machines), the one message says so.
      {plugin86,
       3,
       {},
       wine32 ? shifted : nullptr,
       wine32 ? "" : plugin86 + ": " + std::string(qm::plughost::kNo32BitText)},
  };
  int n = 0;
  for (const auto& c : cases) {
    const fs::path out = *folder_ / ("out" + std::to_string(n++) + ".png");
    SCOPED_TRACE(out.filename().string() + " " + c.filter + " " + std::to_string(c.channels));
    std::vector<std::string> options, env;
    for (const auto& e : c.extra) (e.find('=') != std::string::npos ? env : options).push_back(e);
    const fs::path in = *folder_ / ("in" + std::to_string(c.channels) + ".png");
    std::vector<std::string> args = {c.filter, in.string(), out.string()};
    args.insert(args.end(), options.begin(), options.end());
    const auto run = apply(args, env);
    if (!c.message.empty()) {
      EXPECT_EQ(run.exitCode, 1);
      EXPECT_EQ(run.err, c.message + "\n");
      EXPECT_FALSE(fs::exists(out)) << "a failed run wrote its picture";
      continue;
    }
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const RawPicture input = readPicture(in, c.channels);
    EXPECT_EQ(firstDifference(readPicture(out, c.channels), c.expected(input)), "same");
  }
}

TEST_F(PlugHost, BatchFormAndInfoSayWhatRunsAFile) {
  const fs::path dest = *folder_ / "batch";
  const auto run = apply({std::string(QM_TEST_FILTER) + "#2", "--dest", dest.string(),
                          (*folder_ / "in3.png").string(), (*folder_ / "in4.png").string()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  for (int channels : {3, 4}) {
    const std::string name = "in" + std::to_string(channels) + ".png";
    EXPECT_EQ(firstDifference(readPicture(dest / name, channels),
                              inverted(readPicture(*folder_ / name, channels))),
              "same");
  }

  // A 32-bit plugin of our runtime: runs only where 32-bit Wine is installed.
  const fs::path source = qm::test::writeFile(
      *folder_ / "half.afs", "%RGB-1.0\r0\r0\r0\r0\r0\r0\r0\r0\rr/2\r\rg/2\r\rb/2\r\ra\r\r");
  ASSERT_EQ(qm::test::cli({"convert", "--to", "8bf", "--arch", "x86", "--dest",
                           (*folder_ / "x86").string(), source.string()})
                .exitCode,
            0);
  const auto wine = qm::plughost::findWine(qm::plughost::wineSearchFolders());
  const struct {
    fs::path file;
    std::string runs, why;
  } rows[] = {
      {QM_TEST_FILTER, "wine", "a 64-bit Windows filter: our plugin host runs it under Wine"},
      {source, "engine", "a Filter Factory filter: the formula engine runs it"},
      {fs::path(QM_SOURCE_DIR) / "README.md", "no", "not a Windows plugin"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.file.string());
    const auto info = qm::test::cli({"info", "--json", row.file.string()});
    ASSERT_EQ(info.exitCode, 0) << info.err;
    const auto doc = nlohmann::json::parse(info.out);
    EXPECT_EQ(doc["runs"], row.runs);
    EXPECT_EQ(doc["why"], row.why);
  }
  if (!wine || wine->wine32.empty()) {
    // The 32-bit plugin is a Filter Factory plugin our engine runs; the host is asked only
    // through the driver, which must refuse it by name of the system's lack.
    qm::platform::PosixProcessLauncher launcher;
    qm::plughost::ForeignHost host(
        launcher, {wine, qm::plughost::findHostPrograms(QM_DATA_DIR, program_),
                   qm::plughost::winePrefix(program_), qm::plughost::WarmServer::AMinuteMore});
    auto image = qm::test::toImage(qm::test::patternPicture(5, 4, 3));
    const auto before = image.rgba;
    qm::SilentProgress progress;
    const auto result =
        host.run({*folder_ / "x86" / "half.8bf", 1, true, "half.8bf"}, image, {}, progress);
    EXPECT_EQ(result.message, "half.8bf: " + std::string(qm::plughost::kNo32BitText));
    EXPECT_EQ(image.rgba, before);
  }
}

TEST_F(PlugHost, EscapeReachesThePluginsAbortTest) {
  // Through the pixel file's abort word: the plugin stops itself and the picture stays.
  qm::platform::PosixProcessLauncher launcher;
  qm::plughost::ForeignHost host(
      launcher, {qm::plughost::findWine(qm::plughost::wineSearchFolders()),
                 qm::plughost::findHostPrograms(QM_DATA_DIR, program_),
                 qm::plughost::winePrefix(program_), qm::plughost::WarmServer::AMinuteMore});
  class EscapeAtFirstProgress final : public qm::Progress {
   public:
    void status(std::string_view) override {}
    void percent(int) override { pressed = true; }
    bool cancelled() override { return pressed; }
    bool pressed = false;
  } escape;
  ::setenv("QM_TEST_FILTER", "slow", 1);
  auto image = qm::test::toImage(qm::test::patternPicture(160, 110, 3));
  const auto before = image.rgba;
  const auto result = host.run({QM_TEST_FILTER, 1, false, "t"}, image, {}, escape);
  ::unsetenv("QM_TEST_FILTER");
  EXPECT_EQ(result.status, qm::plughost::ForeignResult::Status::Cancelled);
  EXPECT_EQ(result.message, "") << "the plugin never saw the abort word";
  EXPECT_EQ(image.rgba, before);
}

TEST_F(PlugHost, RuntimePluginsAsForeignPluginsMatchApply) {
  // The sample filters written as 64-bit plugins of our runtime, run by the host as any
  // Windows plugin, against the engine's apply of the same plugin.
  const fs::path dest = *folder_ / "runtime";
  std::vector<std::string> convert = {"convert",     "--to",   "8bf",
                                      "--no-dialog", "--dest", dest.string()};
  for (const auto& entry : fs::directory_iterator(fs::path(QM_SOURCE_DIR) / "data/samples"))
    if (entry.path().extension() == ".afs") convert.push_back(entry.path().string());
  ASSERT_EQ(qm::test::cli(convert).exitCode, 0);
  qm::platform::PosixProcessLauncher launcher;
  qm::plughost::ForeignHost host(
      launcher, {qm::plughost::findWine(qm::plughost::wineSearchFolders()),
                 qm::plughost::findHostPrograms(QM_DATA_DIR, program_),
                 qm::plughost::winePrefix(program_), qm::plughost::WarmServer::AMinuteMore});
  int plugins = 0;
  for (const auto& entry : fs::directory_iterator(dest)) {
    SCOPED_TRACE(entry.path().filename().string());
    for (int channels : {3, 4}) {
      const fs::path in = *folder_ / ("in" + std::to_string(channels) + ".png");
      const fs::path out = *folder_ / "engine.png";
      ASSERT_EQ(qm::test::cli({"apply", entry.path().string(), in.string(), out.string(),
                               "--overwrite", "all"})
                    .exitCode,
                0);
      auto image = *qm::platform::QtImageCodec().read(in);
      qm::SilentProgress progress;
      const auto result = host.run({entry.path(), 1, false, "x"}, image, {}, progress);
      ASSERT_EQ(result.status, qm::plughost::ForeignResult::Status::Done) << result.message;
      EXPECT_EQ(firstDifference(qm::test::fromImage(image, channels), readPicture(out, channels)),
                "same");
    }
    ++plugins;
  }
  EXPECT_GE(plugins, 3);
}

}  // namespace
