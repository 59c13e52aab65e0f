// The Windows-plugin driver without Wine: a scripted host process answers, and each run must
// end with the result, the message and the picture the user is owed. Also the set-up steps
// (prefix once, warm server, the 32-bit probe) and the command the host receives.

#include "core/plughost/foreign_host.h"

#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <thread>

#include "core/plughost/texts.h"
#include "plughost/wire.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace qm::plughost;
using Status = ForeignResult::Status;

// Answers from a script; "=N" as an answer first writes N over every pixel byte of the file
// named in the command, as a host that filtered would. An exhausted script either never ends
// (the host hangs) or ends the process.
struct Script {
  std::deque<std::string> answers;
  bool hangAtEnd = false;
};

class ScriptedProcess final : public HostProcess {
 public:
  ScriptedProcess(Script script, std::vector<std::string>& commands)
      : script_(std::move(script)), commands_(commands) {}
  bool writeLine(std::string_view line) override {
    commands_.emplace_back(line);
    return true;
  }
  ReadResult readLine(std::chrono::milliseconds wait) override {
    if (script_.answers.empty()) {
      if (!script_.hangAtEnd) return {ReadStatus::Ended, {}};
      std::this_thread::sleep_for(wait);
      return {ReadStatus::TimedOut, {}};
    }
    std::string answer = script_.answers.front();
    script_.answers.pop_front();
    if (answer == "...") {  // a pause of one poll
      std::this_thread::sleep_for(wait);
      return {ReadStatus::TimedOut, {}};
    }
    if (answer.starts_with("=")) {
      fillPixels(static_cast<char>(std::stoi(answer.substr(1))));
      return readLine(wait);
    }
    return {ReadStatus::Line, answer};
  }
  void kill() override { killed = true; }
  bool killed = false;

 private:
  void fillPixels(char value) {
    // run INDEX DIALOG PIXELS PLUGIN, the pixel file as Z:\dev\shm\...
    std::string path = commands_.back();
    for (int k = 0; k < 3; ++k) path = path.substr(path.find('\t') + 1);
    path = path.substr(2, path.find('\t') - 2);
    for (char& c : path)
      if (c == '\\') c = '/';
    std::fstream f(path, std::ios::binary | std::ios::in | std::ios::out);
    f.seekg(0, std::ios::end);
    const auto size = static_cast<std::size_t>(f.tellg());
    f.seekp(kWireHeaderSize);
    f << std::string(size - kWireHeaderSize, value);
  }
  Script script_;
  std::vector<std::string>& commands_;
};

class ScriptedLauncher final : public ProcessLauncher {
 public:
  std::unique_ptr<HostProcess> start(const ProcessLaunch& launch) override {
    started.push_back(launch.words);
    return std::make_unique<ScriptedProcess>(script, commands);
  }
  int runToEnd(const ProcessLaunch& launch, const std::function<void()>&) override {
    tools.push_back(launch.words);
    if (launch.words.size() > 1 && launch.words[1] == "wineboot")
      fs::create_directories(prefixToMake);
    if (launch.words.back() == "--probe") return probeExit;
    return 0;
  }
  Script script;
  int probeExit = 0;
  fs::path prefixToMake;
  std::vector<std::vector<std::string>> started, tools;
  std::vector<std::string> commands;
};

class RecordingProgress final : public qm::Progress {
 public:
  void status(std::string_view text) override { notes.emplace_back(text); }
  void percent(int value) override { percents.push_back(value); }
  bool cancelled() override { return cancelAfter >= 0 && ++polls > cancelAfter; }
  std::vector<std::string> notes;
  std::vector<int> percents;
  int cancelAfter = -1, polls = 0;
};

qm::host::Image picture() {
  auto image = qm::host::Image::blank(3, 2, false);
  for (std::size_t i = 0; i < image.rgba.size(); ++i)
    if (i % 4 != 3) image.rgba[i] = static_cast<std::uint8_t>(i * 9);
  return image;
}

struct Fixture {
  qm::test::TempFolder folder;
  ScriptedLauncher launcher;
  ForeignSetup setup() {
    launcher.prefixToMake = folder / "wine";
    return {WineTools{"/w/wine64", "/w/wineserver", "/w/wine"},
            HostPrograms{"/d/qm-plughost.exe", "/d/qm-plughost32.exe"}, folder / "wine"};
  }
};

TEST(ForeignHost, RunEndsWithTheResultAndMessageOwed) {
  const std::string p = "Blur.8bf";
  const struct {
    std::vector<std::string> answers;
    bool hangs;
    Status status;
    std::string message;
    bool pictureChanged;
  } cases[] = {
      {{"progress\t50\t100", "=7", "done"}, false, Status::Done, "", true},
      {{"=7", "cancelled"}, false, Status::Cancelled, "", false},
      {{"=7", "error\t-30101\t"},
       false,
       Status::Failed,
       p + ": the plugin stopped with an error (-30101: the plugin cannot filter this kind of "
           "picture)",
       false},
      {{"error\t-30904\tno light source"},
       false,
       Status::Failed,
       p + ": the plugin stopped with an error (-30904: no light source)",
       false},
      {{"error\t5\t"},
       false,
       Status::Failed,
       p + ": the plugin stopped with an error (5: the plugin reported it itself)",
       false},
      {{"=7", "error\t0xC0000005\t"},
       false,
       Status::Failed,
       p + ": the plugin stopped with an error (0xC0000005: the plugin crashed: access "
           "violation)",
       false},
      {{"error\t0xC0000409\t"},
       false,
       Status::Failed,
       p + ": the plugin stopped with an error (0xC0000409: the plugin crashed)",
       false},
      {{"error\tload\tit holds fewer filters"},
       false,
       Status::Failed,
       p + ": cannot be loaded: it holds fewer filters",
       false},
      {{"progress\t1\t2", "=7"},
       false,
       Status::Failed,
       p + ": the plugin stopped with an error (exit: the host process ended without an "
           "answer)",
       false},
      {{"progress\tx\t2", "progress"},
       true,
       Status::Failed,
       p + ": did not answer in 1 s and was stopped",
       false},
      // The plugin's own dialog may stay open longer than the time limit.
      {{"dialog", "...", "...", "...", "...", "...", "...", "...", "...", "...", "...", "...",
        "...", "dialog-end", "=7", "done"},
       false,
       Status::Done,
       "",
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answers.front());
    Fixture f;
    f.launcher.script = {{c.answers.begin(), c.answers.end()}, c.hangs};
    ForeignHost host(f.launcher, f.setup());
    auto image = picture();
    const auto before = image;
    RecordingProgress progress;
    ForeignRunOptions options;
    options.timeout = std::chrono::seconds(1);
    const auto result = host.run({"/plugins/Blur.8bf", 2, false, p}, image, options, progress);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.message, c.message);
    if (c.pictureChanged) {
      EXPECT_EQ(image.rgba[0], 7);
      EXPECT_EQ(image.rgba[3], 255) << "no alpha: the fourth byte stays";
    } else {
      EXPECT_EQ(image.rgba, before.rgba);
    }
  }
}

TEST(ForeignHost, SetsUpOncePassesTheCommandAndStopsOnEscape) {
  Fixture f;
  f.launcher.script = {{"done"}, false};
  RecordingProgress progress;
  {
    ForeignHost host(f.launcher, f.setup());
    EXPECT_EQ(host.about({"/p/a b.8bf", 3, false, "a b.8bf"}, progress).status, Status::Done);
    EXPECT_EQ(host.about({"/p/a b.8bf", 3, false, "a b.8bf"}, progress).status, Status::Done);
    // A plugin that ignores its abort test is ended after a grace time.
    f.launcher.script = {{}, true};
    auto image = picture();
    progress.cancelAfter = progress.polls + 1;
    EXPECT_EQ(host.run({"/p/a.8bf", 1, false, "a.8bf"}, image, {}, progress).status,
              Status::Cancelled);
  }
  EXPECT_EQ(f.launcher.commands.front(), "about\t3\tZ:\\p\\a b.8bf");
  EXPECT_EQ(progress.notes, (std::vector<std::string>{std::string(kPreparingText), ""}));
  const std::vector<std::vector<std::string>> tools = {
      {"/w/wine64", "wineboot", "--init"}, {"/w/wineserver", "-p"}, {"/w/wineserver", "-k"}};
  EXPECT_EQ(f.launcher.tools, tools) << "the prefix is set up once and the server kept warm";
  EXPECT_EQ(f.launcher.started.front(),
            (std::vector<std::string>{"/w/wine64", "/d/qm-plughost.exe"}));
}

TEST(ForeignHost, SaysWhyAPluginCannotRunHere) {
  Fixture f;
  const struct {
    bool wine, wine32, hosts;
    int probeExit;
    bool x86;
    std::string_view message;
  } cases[] = {
      {false, false, true, 0, false, kNeedsWineText},
      {true, false, true, 0, true, kNo32BitText},
      {true, true, true, 1, true, kNo32BitText},  // installed, but the system cannot run it
      {true, true, false, 0, false, kNoHostText},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    ForeignSetup setup = f.setup();
    if (!c.wine) setup.wine.reset();
    if (setup.wine && !c.wine32) setup.wine->wine32.clear();
    if (!c.hosts) setup.hosts.reset();
    f.launcher.probeExit = c.probeExit;
    f.launcher.started.clear();
    ForeignHost host(f.launcher, setup);
    auto image = picture();
    RecordingProgress progress;
    const auto result = host.run({"/p/a.8bf", 1, c.x86, "a.8bf"}, image, {}, progress);
    EXPECT_EQ(result.status, Status::Failed);
    EXPECT_EQ(result.message, "a.8bf: " + std::string(c.message));
    EXPECT_TRUE(f.launcher.started.empty()) << "no host process for a refused plugin";
  }
}

}  // namespace
