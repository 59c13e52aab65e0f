// The plugin templates and what the writer makes of them.

#include "core/ff/plugin_writer.h"

#include <gtest/gtest.h>

#include "core/ff/plugin_reader.h"
#include "core/ff/plugin_template.h"
#include "core/plugins/read_com8bf.h"
#include "support/ff_plugin_bytes.h"
#include "support/record_checks.h"
#include "support/temp_folder.h"

namespace qm::ff {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using test::readFile;
using test::writeFile;
constexpr std::size_t v = 31260;  // the 3.0 template's data block

std::string templateBytes(TemplateKind kind) {
  auto b = BuildTemplatePlugin(kind);
  return std::string(b.begin(), b.end());
}

FFRecord sample() {
  // clang-format off
  return {.fileName = "blur.afs", .category = "Blur", .title = "Soft Blur",
          .copyright = "(c) 2024 Me", .author = "Me",
          .controlNames = {"Radius", "", "", "", "Mix", "Amount", "", ""},
          .sliderValues = {12, 0, 0, 0, 200, 255, 0, 0}, .mapNames = {"", "", "", "Curve"},
          .formulas = {"r+ctl(0)", "g", "b", "a"}};
  // clang-format on
}

// Each text must sit at its offset in the file.
void expectBytes(const std::string& file,
                 std::initializer_list<std::pair<std::size_t, std::string>> fields) {
  for (const auto& [at, bytes] : fields) EXPECT_EQ(file.substr(at, bytes.size()), bytes) << at;
}

class Write8bfTest : public ::testing::Test {
 protected:
  void SetUp() override {
    writeFile(program / "photo30.dll", templateBytes(TemplateKind::FF30));
    writeFile(program / "photo304.dll", templateBytes(TemplateKind::FF304));
    options.programDir = program.path();
  }
  WriteResult write(FFRecord& rec, bool editor = false) {
    return Write8bf(out.path(), false, editor, rec, options);
  }
  std::string bytesOf(FFRecord rec, bool editor = false) {
    return readFile(write(rec, editor).written);
  }
  FFRecord readBack(const fs::path& file, bool namesOnly = false) {
    FFRecord back;
    EXPECT_TRUE(Read8bf(file, back, namesOnly, false, options)) << file;
    return back;
  }
  void useUserTemplate(std::size_t size, const test::FFPluginFields& fields = {}) {
    options.usedFF = FFTemplate::User;
    options.userTemplate = writeFile(program / "mine.8bf", test::ffPluginBytes(size, fields));
  }

  test::TempFolder program;
  test::TempFolder out;
  FFOptions options;
};

// Through both templates and through user templates made from earlier plugins, whose longer
// texts must not show through the new, shorter or empty ones.
TEST_F(Write8bfTest, RoundTripThroughEveryTemplate) {
  // clang-format off
  const test::FFPluginFields old{.title = "A Rather Long Title", .category = "Long Category Name",
      .copyright = "Copyright Someone", .author = "Quillmark Author",
      .controlNames = {"Amount", "Angle", "Size", "Depth", "Long", "Long", "Long", "Long"},
      .mapNames = {"Long map", "Long map", "Long map", "Long map"},
      .formulas = {"src(x,y,z)*ctl(0)/255", "src(x,y,z)*2", "src(x,y,z)*3", "src(x,y,z)*4"}};
  const struct {
    FFTemplate choice;
    std::size_t size, titleLength;
  } cases[] = {{FFTemplate::FF30, 57344, 31010}, {FFTemplate::FF304, 49152, 31010 - 7168},
      {FFTemplate::User, 49152, 31010 - 7168}, {FFTemplate::User, 49664, 34926},
      {FFTemplate::User, 57344, 31010}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    FFRecord rec = sample();
    options.usedFF = c.choice;
    if (c.choice == FFTemplate::User) {
      useUserTemplate(c.size, old);
      rec.author = rec.copyright = "";
    }
    auto result = write(rec);
    ASSERT_EQ(result.error, "");
    EXPECT_EQ(result.written, out / "blur.8bf");
    const std::string file = readFile(result.written);
    EXPECT_EQ(file.size(), c.size);
    EXPECT_EQ(file.substr(c.titleLength, 36), "\x09Soft Blur" + std::string(26, '\0'));
    test::expectSameFields(readBack(result.written), rec);
  }
}

TEST_F(Write8bfTest, OutputNames) {
  const struct {
    std::string fileName, written, recordAfter;
  } cases[] = {// clang-format off
      {"Twirl_8bf", "Twirl.8bf", "Twirl_8bf"}, {"Twirl", "Twirl.8bf", "Twirl.8bf"},
      {"a.b", "a.8bf", "a.b"}, {"../../evil.afs", "evil.8bf", "../../evil.afs"}};
  // clang-format on
  for (const auto& c : cases) {
    FFRecord rec = sample();
    rec.fileName = c.fileName;
    EXPECT_EQ(write(rec).written, out / c.written) << c.fileName;
    EXPECT_EQ(rec.fileName, c.recordAfter);
  }
  EXPECT_FALSE(fs::exists(out.path().parent_path() / "evil.8bf"));
  // A Premiere filter's category is renamed.
  FFRecord rec = sample();
  rec.category = "[Premiere FF]";
  rec.photoshopDialect = false;
  ASSERT_EQ(write(rec).error, "");
  EXPECT_EQ(readBack(out / "blur.8bf").category, "Premiere(converted)");
}

TEST_F(Write8bfTest, FieldsAtTheirOffsets) {
  FFRecord rec = sample();
  rec.mapNames[1] = "Map one";
  rec.controlNames[2] = "Hidden A";  // belongs to map 1 now
  rec.controlNames[3] = "Hidden B";
  const std::string file = readFile(write(rec).written);
  expectBytes(file, {{31010, "\x09Soft Blur\0"s}, {31062, "\4Blur\0"s}, {v + 96, "Blur\0"s}});
  expectBytes(file, {{v + 352, "Soft Blur\0"s}, {v + 1120 + 256, "Map one\0"s}});
  expectBytes(file, {{v + 2144 + 5 * 256, "Amount\0"s}, {v + 4192, "r+ctl(0)\0\0\0\0"s}});
  // Slider 5's value, standalone, dialog and the RGB-only mode.
  expectBytes(file, {{v + 20, "\xFF"s}, {v - 4, "\1"s}, {v + 32, "\1"s}, {31154, "\x10\0"s}});
  // The used flags of maps 0-3 and sliders 0-7, one per four bytes.
  std::string used;
  for (std::size_t k = 0; k < 12; ++k) used += file[v + 48 + 4 * k];
  EXPECT_EQ(used, "\0\1\0\1\1\0\0\0\1\1\0\0"s);
  FFRecord back = readBack(out / "blur.8bf");
  EXPECT_EQ(back.controlNames[2], "");
  EXPECT_EQ(back.mapNames[1], "Map one");
}

TEST_F(Write8bfTest, LongTextsAreCutToTheirFields) {
  FFRecord rec = sample();
  rec.title = std::string(60, 'T');
  rec.category = std::string(40, 'C');
  rec.copyright = std::string(300, 'c');
  rec.formulas[1] = "g" + std::string(1019, ' ');  // a longer one is refused
  // The properties after both menu fields keep their headers.
  const std::string file = readFile(write(rec).written);
  const std::string c255 = std::string(255, 'c') + '\0',
                    g1020 = "g" + std::string(1019, ' ') + "\0\0\0\0"s;
  expectBytes(file, {{31010, '\x22' + std::string(34, 'T') + '\0'}, {31046, "MIB8gtac"}});
  expectBytes(file, {{31062, '\x22' + std::string(34, 'C') + '\0'}, {31098, "MIB8srev"}});
  expectBytes(file, {{v + 608, c255}, {v + 864, "Me\0"s}, {v + 5216, g1020}, {v + 6240, "b\0"s}});
  FFRecord back = readBack(out / "blur.8bf");
  EXPECT_EQ(back.title, std::string(34, 'T'));
  EXPECT_EQ(back.category, std::string(34, 'C'));
}

TEST_F(Write8bfTest, CompilationOptions) {
  // The 3.04 template with a dialog byte of 7: "No Dialog" writes 0 into our own template, and
  // "All Modes" offers the modes our runtime runs.
  std::string tpl = templateBytes(TemplateKind::FF304);
  tpl[v - 7168 + 32] = 7;
  writeFile(program / "photo304.dll", tpl);
  options.usedFF = FFTemplate::FF304;
  const struct {
    bool allModes, editorPlugin, noDialog, editorFlag;
    std::string modes, standalone, dialog;
  } cases[] = {// clang-format off
      {false, false, false, false, "\x10\0"s, "\1", "\1"},
      {true, false, false, false, "\x58\0"s, "\1", "\1"},
      {false, true, false, false, "\x10\0"s, "\0"s, "\1"},
      {false, false, true, false, "\x10\0"s, "\1", "\0"s},
      {false, false, false, true, "\x10\0"s, "\0"s, "\1"}};
  // clang-format on
  for (const auto& c : cases) {
    options.allModes = c.allModes;
    options.editorPlugin = c.editorPlugin;
    options.noDialog = c.noDialog;
    expectBytes(bytesOf(sample(), c.editorFlag),
                {{31154 - 7168, c.modes}, {v - 7168 - 4, c.standalone}, {v - 7168 + 32, c.dialog}});
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
  // The template's modes, not all of them; no dialog; standalone.
  expectBytes(file, {{31154, "\x10\0"s}, {v + 32, "\0"s}, {v - 4, "\1"s}});
  EXPECT_FALSE(fs::exists(out / "blur.8bf"));

  // A second preview patches the existing temp.dll, wherever the output goes.
  rec.title = "Second";
  ASSERT_EQ(Write8bf(out.path(), true, true, rec, options).error, "");
  EXPECT_EQ(readBack(out / "temp.dll", true).title, "Second");
  EXPECT_EQ(readFile(out / "temp.dll")[v - 4], '\0');

  fs::remove(program / "photo30.dll");
  fs::remove(program / "temp.dll");
  result = Write8bf(program.path(), true, false, rec, options);
  EXPECT_EQ(result.written, fs::path());
  EXPECT_NE(result.error, "");
}

TEST_F(Write8bfTest, VarnetAboutText) {
  useUserTemplate(49664);
  auto wide = [](std::string_view s) {
    std::string w;
    for (char c : s) w += std::string{c, '\0'};
    return w;
  };
  const struct {
    std::string author, copyright, about;
  } cases[] = {// clang-format off
      {"Me", "(c) 2024 Me", wide("Me ((c) 2024 Me)") + "\0\0\0"s},
      {std::string(70, 'x'), "c", wide(std::string(57, 'x') + "...") + '\0'},
      // 60 characters exactly are shortened too; 59 are not.
      {std::string(56, 'y'), "z", wide(std::string(56, 'y') + " ...")},
      {std::string(55, 'y'), "z", wide(std::string(55, 'y') + " (z)")}};
  // clang-format on
  for (const auto& c : cases) {
    FFRecord rec = sample();
    rec.author = c.author;
    rec.copyright = c.copyright;
    expectBytes(bytesOf(rec), {{42334, c.about}, {35070, "\x10"}});
  }
}

TEST_F(Write8bfTest, LargePreviewLayoutFromTheProgramFolder) {
  writeFile(program / "bigpreview.bin", "BIG");
  writeFile(program / "megapreview.bin", "MEGA");
  const struct {
    bool big, mega;
    std::string expected;
  } cases[] = {{false, false, "\0\0\0\0"s}, {true, false, "BIG\0"s}, {true, true, "MEGA"}};
  for (const auto& c : cases) {
    options.bigPreview = c.big;
    options.megaPreview = c.mega;
    EXPECT_EQ(bytesOf(sample()).substr(43808, 4), c.expected);
  }
  // Not in the third-party layout.
  useUserTemplate(49664);
  EXPECT_EQ(bytesOf(sample()).substr(43808 - 4668, 4), "\0\0\0\0"s);
}

TEST_F(Write8bfTest, RefusalsWriteNothing) {
  FFRecord rec = sample();
  writeFile(out / "blur.8bf", "old contents");
  auto refused = [&](const fs::path& folder = {}) {
    auto result = Write8bf(folder.empty() ? out.path() : folder, false, false, rec, options);
    EXPECT_EQ(result.written, fs::path());
    EXPECT_NE(result.error, "");
    return result.error;
  };
  options.usedFF = FFTemplate::Macintosh;
  EXPECT_NE(refused().find("Macintosh"), std::string::npos);
  options.usedFF = FFTemplate::User;
  options.userTemplate = writeFile(program / "odd.8bf", std::string(50176, '\0'));
  refused();
  options.userTemplate.clear();
  EXPECT_EQ(refused(), kNoUserTemplate);
  options.usedFF = FFTemplate::FF30;
  fs::remove(program / "photo30.dll");
  refused();
  writeFile(program / "photo30.dll", std::string(1000, '\0'));
  refused();
  EXPECT_EQ(readFile(out / "blur.8bf"), "old contents");
  EXPECT_EQ(rec.fileName, "blur.afs");

  // A folder that does not exist: nothing is created.
  writeFile(program / "photo30.dll", templateBytes(TemplateKind::FF30));
  refused(out / "missing");
  EXPECT_FALSE(fs::exists(out / "missing"));
  EXPECT_EQ(std::distance(fs::directory_iterator(out.path()), fs::directory_iterator()), 1);
}

// The templates as built and as shipped: resource-only i386 images (the catalogue reads their
// headers and resources) that read as Filter Factory plugins.
TEST(Templates, BuiltAndShipped) {
  const struct {
    TemplateKind kind;
    const char* name;
    std::size_t size, shift, signature, position;  // shift: offsets before the 3.0 ones
  } cases[] = {{TemplateKind::FF30, "photo30.dll", 57344, 0, 28208, 31064},
               {TemplateKind::FF304, "photo304.dll", 49152, 7168, 21024, 23896}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string bytes = templateBytes(c.kind);
    const ByteView pe = test::viewOf(bytes);
    ASSERT_EQ(bytes.size(), c.size);
    EXPECT_EQ(pe.u16le(132), 0x014C);
    EXPECT_EQ(pe.u16le(152), 0x10B);    // PE32
    EXPECT_EQ(pe.u32le(152 + 16), 0u);  // no entry point: no code
    EXPECT_EQ(pe.u32le(396), 29184 - c.shift);
    EXPECT_EQ(*pe.u32le(396) + *pe.u32le(392), bytes.size());
    EXPECT_TRUE(pe.matches(c.signature, std::string_view("Filter Factory\0", 15)));
    auto table = plugins::ReadCom8bfBytes(pe, "photo.8bf", FFOptions{});
    ASSERT_EQ(table.filters.size(), 1u);
    EXPECT_EQ(table.filters[0].position, c.position);
    FFRecord rec;
    ASSERT_TRUE(Read8bfBytes(pe, "photo.dll", rec, false, false, FFOptions{}));
    EXPECT_EQ(std::tie(rec.title, rec.category),
              std::tuple(std::string(kTemplateTitle), std::string(kTemplateCategory)));
    EXPECT_EQ(rec.formulas, (std::array<std::string, 4>{"r", "g", "b", "a"}));
    EXPECT_EQ(rec.controlNames, (std::array<std::string, 8>{}));
    // The shipped ones may carry the plugin runtime before the resources; from there on they
    // are what the builder makes.
    const std::string shipped = readFile(fs::path(QM_DATA_DIR) / c.name);
    ASSERT_EQ(shipped.size(), bytes.size()) << "templates not built";
    EXPECT_EQ(shipped.substr(29184 - c.shift), bytes.substr(29184 - c.shift));
  }
}

}  // namespace
}  // namespace qm::ff
