#include "core/ff/plugin_writer.h"

#include <gtest/gtest.h>

#include "core/ff/formula_cleanup.h"
#include "core/ff/plugin_reader.h"
#include "core/ff/plugin_template.h"
#include "support/ff_plugin_bytes.h"
#include "support/record_checks.h"
#include "support/temp_folder.h"

namespace qm::ff {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::writeFile;

std::string templateBytes(TemplateKind kind) {
  auto b = BuildTemplatePlugin(kind);
  return std::string(b.begin(), b.end());
}

FFRecord sample() {
  FFRecord rec;
  rec.fileName = "blur.afs";
  rec.category = "Blur";
  rec.title = "Soft Blur";
  rec.copyright = "(c) 2024 Me";
  rec.author = "Me";
  rec.controlNames = {"Radius", "", "", "", "Mix", "Amount", "", ""};
  rec.sliderValues = {12, 0, 0, 0, 200, 255, 0, 0};
  rec.mapNames = {"", "", "", "Curve"};
  rec.formulas = {"r+ctl(0)", "g", "b", "a"};
  return rec;
}

std::uint8_t byteAt(const std::string& file, std::size_t offset) {
  return static_cast<std::uint8_t>(file.at(offset));
}

class Write8bfTest : public ::testing::Test {
 protected:
  void SetUp() override {
    writeFile(program / "photo30.dll", templateBytes(TemplateKind::FF30));
    writeFile(program / "photo304.dll", templateBytes(TemplateKind::FF304));
    options.programDir = program.path();
    fs::create_directories(out.path());
  }
  WriteResult write(FFRecord& rec, bool preview = false, bool editor = false) {
    return Write8bf(out.path(), preview, editor, rec, options);
  }

  test::TempFolder program;
  test::TempFolder out;
  FFOptions options;
};

TEST_F(Write8bfTest, RoundTripThroughBothTemplates) {
  for (auto [choice, size] : {std::pair{FFTemplate::FF30, 57344u}, {FFTemplate::FF304, 49152u}}) {
    options.usedFF = choice;
    FFRecord rec = sample();
    auto result = write(rec);
    ASSERT_EQ(result.error, "");
    EXPECT_EQ(result.written, out / "blur.8bf");
    EXPECT_EQ(fs::file_size(result.written), size);
    FFRecord back;
    ASSERT_TRUE(Read8bf(result.written, back, false, false, options));
    test::expectSameFields(back, rec);
  }
}

TEST_F(Write8bfTest, OutputNames) {
  const struct {
    std::string fileName;
    std::string written;
    std::string recordAfter;
  } cases[] = {
      {"blur.afs", "blur.8bf", "blur.afs"},
      {"Twirl_8bf", "Twirl.8bf", "Twirl_8bf"},
      {"TWIRL_8BF", "TWIRL.8bf", "TWIRL_8BF"},
      {"Twirl", "Twirl.8bf", "Twirl.8bf"},
      {"a.txt", "a.8bf", "a.txt"},
      {"a.b", "a.8bf", "a.b"},
      {"../../evil.afs", "evil.8bf", "../../evil.afs"},
  };
  for (const auto& c : cases) {
    FFRecord rec = sample();
    rec.fileName = c.fileName;
    auto result = write(rec);
    EXPECT_EQ(result.written, out / c.written) << c.fileName;
    EXPECT_TRUE(fs::exists(out / c.written)) << c.fileName;
    EXPECT_EQ(rec.fileName, c.recordAfter);
  }
  EXPECT_FALSE(fs::exists(out.path().parent_path() / "evil.8bf"));
}

TEST_F(Write8bfTest, FieldsAtTheirOffsets) {
  FFRecord rec = sample();
  rec.mapNames[1] = "Map one";
  rec.controlNames[2] = "Hidden A";  // belongs to map 1 now
  rec.controlNames[3] = "Hidden B";
  std::string file = readFile(write(rec).written);
  const std::size_t v = 31260;
  EXPECT_EQ(byteAt(file, 31010), 9);
  EXPECT_EQ(file.substr(31011, 10), std::string("Soft Blur\0", 10));
  EXPECT_EQ(byteAt(file, 31062), 4);
  EXPECT_EQ(file.substr(31063, 5), std::string("Blur\0", 5));
  EXPECT_EQ(file.substr(v + 96, 5), std::string("Blur\0", 5));
  EXPECT_EQ(file.substr(v + 352, 10), std::string("Soft Blur\0", 10));
  EXPECT_EQ(byteAt(file, v + 52), 1);  // map 1 used
  EXPECT_EQ(byteAt(file, v + 72), 0);  // its sliders 2 and 3 not
  EXPECT_EQ(byteAt(file, v + 76), 0);
  EXPECT_EQ(file.substr(v + 1120 + 256, 8), std::string("Map one\0", 8));
  EXPECT_EQ(byteAt(file, v + 60), 1);  // map 3
  EXPECT_EQ(byteAt(file, v + 64), 1);  // slider 0 named
  EXPECT_EQ(byteAt(file, v + 68), 0);  // slider 1 not
  EXPECT_EQ(byteAt(file, v + 80), 1);  // slider 4
  EXPECT_EQ(byteAt(file, v + 84), 1);  // slider 5
  EXPECT_EQ(file.substr(v + 2144 + 5 * 256, 7), std::string("Amount\0", 7));
  EXPECT_EQ(byteAt(file, v + 20), 255);
  EXPECT_EQ(file.substr(v + 4192, 12), std::string("r+ctl(0)\0\0\0\0", 12));
  EXPECT_EQ(byteAt(file, v - 4), 1);   // standalone
  EXPECT_EQ(byteAt(file, v + 32), 1);  // dialog
  EXPECT_EQ(byteAt(file, 31154), 16);  // RGB only
  EXPECT_EQ(byteAt(file, 31155), 0);

  FFRecord back;
  ASSERT_TRUE(Read8bf(out / "blur.8bf", back, false, false, options));
  EXPECT_EQ(back.controlNames[2], "");
  EXPECT_EQ(back.mapNames[1], "Map one");
}

TEST_F(Write8bfTest, LongTextsAreCutToTheirFields) {
  FFRecord rec = sample();
  rec.title = std::string(60, 'T');
  rec.category = std::string(40, 'C');
  rec.copyright = std::string(300, 'c');
  rec.formulas[1] = std::string(1020, 'g');  // a longer one is refused
  std::string file = readFile(write(rec).written);
  const std::size_t v = 31260;
  EXPECT_EQ(byteAt(file, 31010), 34);
  EXPECT_EQ(file.substr(31011, 35), std::string(34, 'T') + '\0');
  EXPECT_EQ(byteAt(file, 31062), 34);
  EXPECT_EQ(file.substr(31063, 35), std::string(34, 'C') + '\0');
  // The properties after both menu fields keep their headers.
  EXPECT_EQ(file.substr(31046, 8), "MIB8gtac");
  EXPECT_EQ(file.substr(31098, 8), "MIB8srev");
  EXPECT_EQ(file.substr(v + 608, 256), std::string(255, 'c') + '\0');
  EXPECT_EQ(file.substr(v + 864, 3), std::string("Me\0", 3));
  EXPECT_EQ(file.substr(v + 5216, 1024), std::string(1020, 'g') + std::string(4, '\0'));
  EXPECT_EQ(file.substr(v + 6240, 2), std::string("b\0", 2));

  FFRecord back;
  ASSERT_TRUE(Read8bf(out / "blur.8bf", back, false, false, options));
  EXPECT_EQ(back.title, std::string(34, 'T'));
  EXPECT_EQ(back.category, std::string(34, 'C'));
}

TEST_F(Write8bfTest, CompilationOptions) {
  struct Case {
    bool allModes, editorPlugin, noDialog, editorFlag;
    std::uint16_t modes;
    std::uint8_t standalone, dialog;
  };
  // The 3.04 template with a dialog byte of 7 shows whether "No Dialog" leaves it alone.
  std::string tpl = templateBytes(TemplateKind::FF304);
  tpl[31260 - 7168 + 32] = 7;
  writeFile(program / "photo304.dll", tpl);
  options.usedFF = FFTemplate::FF304;
  const std::size_t v = 31260 - 7168;
  const Case cases[] = {
      {false, false, false, false, 16, 1, 1}, {true, false, false, false, 0xFFFF, 1, 1},
      {false, true, false, false, 16, 0, 1},  {false, false, true, false, 16, 1, 7},
      {false, false, false, true, 16, 0, 1},
  };
  for (const auto& c : cases) {
    options.allModes = c.allModes;
    options.editorPlugin = c.editorPlugin;
    options.noDialog = c.noDialog;
    FFRecord rec = sample();
    std::string file = readFile(write(rec, false, c.editorFlag).written);
    EXPECT_EQ(byteAt(file, 31154 - 7168) | byteAt(file, 31155 - 7168) << 8, c.modes);
    EXPECT_EQ(byteAt(file, v - 4), c.standalone);
    EXPECT_EQ(byteAt(file, v + 32), c.dialog);
  }
}

TEST_F(Write8bfTest, PreviewBuildsTempDllFromPhoto30) {
  options.usedFF = FFTemplate::FF304;  // ignored by the preview
  options.allModes = true;
  FFRecord rec = sample();
  auto result = Write8bf(program.path(), true, false, rec, options);
  ASSERT_EQ(result.error, "");
  EXPECT_EQ(result.written, program / "temp.dll");
  std::string file = readFile(result.written);
  ASSERT_EQ(file.size(), 57344u);
  EXPECT_EQ(byteAt(file, 31154), 16);  // the template's, not 0xFFFF
  EXPECT_EQ(byteAt(file, 31155), 0);
  EXPECT_EQ(byteAt(file, 31260 + 32), 0);  // no dialog
  EXPECT_EQ(byteAt(file, 31260 - 4), 1);
  EXPECT_FALSE(fs::exists(out / "blur.8bf"));

  // A second preview patches the existing temp.dll, wherever the output goes.
  rec.title = "Second";
  result = Write8bf(out.path(), true, true, rec, options);
  ASSERT_EQ(result.error, "");
  FFRecord back;
  ASSERT_TRUE(Read8bf(out / "temp.dll", back, true, false, options));
  EXPECT_EQ(back.title, "Second");
  EXPECT_EQ(byteAt(readFile(out / "temp.dll"), 31260 - 4), 0);

  fs::remove(program / "photo30.dll");
  fs::remove(program / "temp.dll");
  result = Write8bf(program.path(), true, false, rec, options);
  EXPECT_EQ(result.written, fs::path());
  EXPECT_NE(result.error, "");
}

TEST_F(Write8bfTest, PremiereRecordIsTranslatedOnce) {
  FFRecord rec = sample();
  rec.category = "[Premiere FF]";
  rec.formulas = {"r+ctl(0)", "mix(r,g,ctl(1),255)", "b", "a"};
  rec.photoshopDialect = false;
  std::array<std::string, 4> translated;
  for (std::size_t k = 0; k < 4; ++k) translated[k] = Correctprmcode(rec.formulas[k]);
  ASSERT_EQ(write(rec).error, "");
  EXPECT_EQ(rec.category, "Premiere(converted)");
  EXPECT_TRUE(rec.photoshopDialect);
  EXPECT_EQ(rec.formulas, translated);
  FFRecord back;
  ASSERT_TRUE(Read8bf(out / "blur.8bf", back, false, false, options));
  EXPECT_EQ(back.category, "Premiere(converted)");
  EXPECT_EQ(back.formulas, translated);
}

TEST_F(Write8bfTest, UserTemplates) {
  test::FFPluginFields old;
  old.title = "Old";
  old.category = "Old";
  old.formulas = {"r", "g", "b", "a"};
  const struct {
    std::size_t size;
    std::size_t titleLength;
  } cases[] = {{49152, 31010 - 7168}, {49664, 34926}, {57344, 31010}};
  for (const auto& c : cases) {
    options.usedFF = FFTemplate::User;
    options.userTemplate = writeFile(program / "mine.8bf", test::ffPluginBytes(c.size, old));
    FFRecord rec = sample();
    auto result = write(rec);
    ASSERT_EQ(result.error, "") << c.size;
    std::string file = readFile(result.written);
    EXPECT_EQ(file.size(), c.size);
    EXPECT_EQ(byteAt(file, c.titleLength), 9) << c.size;
    FFRecord back;
    ASSERT_TRUE(Read8bf(result.written, back, false, false, options)) << c.size;
    EXPECT_EQ(back.title, "Soft Blur");
    EXPECT_EQ(back.mapNames, rec.mapNames);
    EXPECT_EQ(back.formulas, rec.formulas);
  }
}

TEST_F(Write8bfTest, VarnetAboutText) {
  options.usedFF = FFTemplate::User;
  options.userTemplate =
      writeFile(program / "varnet.8bf", test::ffPluginBytes(49664, test::FFPluginFields{}));
  auto wide = [](std::string_view s) {
    std::string w;
    for (char c : s) w += std::string{c, '\0'};
    return w;
  };
  FFRecord rec = sample();
  std::string file = readFile(write(rec).written);
  EXPECT_EQ(file.substr(42334, 2 * 17 + 1), wide("Me ((c) 2024 Me)") + std::string(3, '\0'));
  EXPECT_EQ(byteAt(file, 35070), 16);

  rec.author = std::string(70, 'x');
  file = readFile(write(rec).written);
  EXPECT_EQ(file.substr(42334, 2 * 60 + 1), wide(std::string(57, 'x') + "...") + '\0');
  // 60 characters exactly are shortened too; 59 are not.
  rec.author = std::string(56, 'y');
  rec.copyright = "z";  // 56 + " (" + 1 + ")" = 60
  file = readFile(write(rec).written);
  EXPECT_EQ(file.substr(42334, 120), wide(std::string(56, 'y') + " ..."));
  rec.author = std::string(55, 'y');
  file = readFile(write(rec).written);
  EXPECT_EQ(file.substr(42334, 118), wide(std::string(55, 'y') + " (z)"));
}

TEST_F(Write8bfTest, LargePreviewLayoutFromTheProgramFolder) {
  writeFile(program / "bigpreview.bin", "BIG");
  writeFile(program / "megapreview.bin", "MEGA");
  const struct {
    bool big, mega;
    std::string expected;
  } cases[] = {{false, false, std::string(4, '\0')},
               {true, false, std::string("BIG\0", 4)},
               {true, true, "MEGA"}};
  for (const auto& c : cases) {
    options.bigPreview = c.big;
    options.megaPreview = c.mega;
    FFRecord rec = sample();
    EXPECT_EQ(readFile(write(rec).written).substr(43808, 4), c.expected);
  }
  // Not in the third-party layout.
  options.usedFF = FFTemplate::User;
  options.userTemplate = writeFile(program / "v.8bf", test::ffPluginBytes(49664, {}));
  FFRecord rec = sample();
  EXPECT_EQ(readFile(write(rec).written).substr(43808 - 4668, 4), std::string(4, '\0'));
}

TEST_F(Write8bfTest, RefusalsWriteNothing) {
  FFRecord rec = sample();
  writeFile(out / "blur.8bf", "old contents");

  options.usedFF = FFTemplate::Macintosh;
  auto result = write(rec);
  EXPECT_EQ(result.written, fs::path());
  EXPECT_NE(result.error.find("Macintosh"), std::string::npos);

  options.usedFF = FFTemplate::User;
  options.userTemplate = writeFile(program / "odd.8bf", std::string(50176, '\0'));
  result = write(rec);
  EXPECT_EQ(result.written, fs::path());
  EXPECT_NE(result.error, "");

  options.usedFF = FFTemplate::FF30;
  fs::remove(program / "photo30.dll");
  result = write(rec);
  EXPECT_NE(result.error, "");

  writeFile(program / "photo30.dll", std::string(1000, '\0'));
  result = write(rec);
  EXPECT_NE(result.error, "");

  EXPECT_EQ(readFile(out / "blur.8bf"), "old contents");
  EXPECT_EQ(rec.fileName, "blur.afs");

  // A folder that does not exist: nothing is created.
  writeFile(program / "photo30.dll", templateBytes(TemplateKind::FF30));
  result = Write8bf(out / "missing", false, false, rec, options);
  EXPECT_EQ(result.written, fs::path());
  EXPECT_NE(result.error, "");
  EXPECT_FALSE(fs::exists(out / "missing"));
  EXPECT_EQ(std::distance(fs::directory_iterator(out.path()), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace qm::ff
