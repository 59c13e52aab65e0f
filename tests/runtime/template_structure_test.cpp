// The plugins written from the three runtime templates, checked byte by byte where hosts and
// readers look: PE headers of their architecture, one code descriptor naming an exported
// entry point, padded PIPL properties, the runtime before the resource data, the parameter
// block at the layout's offsets, and dump reading the record back; --arch and --ff-template
// choose among them.

#include <gtest/gtest.h>

#include "core/common/byte_view.h"
#include "core/ff/template_layout.h"
#include "runtime/wine_host.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace qm::ff::layout;

constexpr char kFormula[] = "src(x+1,y,z)^ctl(3)";

// The export names of a PE image; empty when its export directory cannot be walked.
std::vector<std::string> exportNames(const std::string& file, bool wide) {
  qm::ByteView b(reinterpret_cast<const std::uint8_t*>(file.data()), file.size());
  const std::size_t opt = kPeHeader + 24;
  const std::size_t sections = b.u16le(kPeHeader + 6).value_or(0);
  const std::size_t table = opt + b.u16le(kPeHeader + 20).value_or(0);
  auto fileOffset = [&](std::uint32_t rva) -> std::size_t {
    for (std::size_t k = 0; k < sections; ++k) {
      const std::size_t h = table + 40 * k;
      const std::uint32_t va = b.u32le(h + 12).value_or(0), size = b.u32le(h + 16).value_or(0);
      if (rva >= va && rva < va + size) return rva - va + b.u32le(h + 20).value_or(0);
    }
    return 0;
  };
  const std::size_t dir = fileOffset(b.u32le(opt + (wide ? 112 : 96)).value_or(0));
  std::vector<std::string> names;
  if (dir == 0) return names;
  const std::size_t count = b.u32le(dir + 24).value_or(0);
  const std::size_t list = fileOffset(b.u32le(dir + 32).value_or(0));
  for (std::size_t k = 0; k < count && list; ++k) {
    std::size_t at = fileOffset(b.u32le(list + 4 * k).value_or(0));
    std::string name;
    while (at && at < file.size() && file[at]) name += file[at++];
    names.push_back(name);
  }
  return names;
}

struct Layout {
  std::size_t size;
  long d;
  std::uint16_t machine;
  std::uint16_t magic;
  std::uint32_t codeKey;  // the PIPL code descriptor of the architecture
};
constexpr Layout kX64{kSize64, kD64, 0x8664, 0x20B, 0x38363634};
constexpr Layout kX86{kSize30, kD30, 0x014C, 0x10B, 0x77783836};
constexpr Layout kX86v304{kSize304, kD304, 0x014C, 0x10B, 0x77783836};

void expectLayout(const fs::path& plugin, const Layout& l) {
  SCOPED_TRACE(plugin.filename().string());
  const std::string file = qm::test::readFile(plugin);
  ASSERT_EQ(file.size(), l.size);
  qm::ByteView b(reinterpret_cast<const std::uint8_t*>(file.data()), file.size());
  EXPECT_EQ(b.u32le(kPeHeader), 0x4550u);
  EXPECT_EQ(b.u16le(kPeHeader + 4), l.machine);
  EXPECT_EQ(b.u16le(kPeHeader + 24), l.magic);

  // Every section but the resources ends before the resource data.
  const std::size_t sections = b.u16le(kPeHeader + 6).value_or(0);
  const std::size_t table = kPeHeader + 24 + b.u16le(kPeHeader + 20).value_or(0);
  ASSERT_GE(sections, 2u);
  for (std::size_t k = 0; k + 1 < sections; ++k)
    EXPECT_LE(b.u32le(table + 40 * k + 20).value_or(0) + b.u32le(table + 40 * k + 16).value_or(0),
              at(l.d, kRsrcRaw));

  // PIPL: padded lengths, one code descriptor, of this architecture, naming an export.
  const std::size_t pipl = at(l.d, kPipl);
  EXPECT_EQ(b.u16le(pipl), 1u);
  std::size_t p = pipl + 10, codeDescriptors = 0;
  std::string entry;
  for (std::uint32_t k = 0; k < b.u32le(pipl + 6).value_or(0); ++k) {
    const std::uint32_t key = b.u32le(p + 4).value_or(0), length = b.u32le(p + 12).value_or(1);
    EXPECT_EQ(length % 4, 0u) << "property " << k;
    if (key == 0x77783836 || key == 0x38363634) {
      ++codeDescriptors;
      EXPECT_EQ(key, l.codeKey);
      entry = std::string(file.c_str() + p + 16);
    }
    if (key == 0x6D6F6465) {
      EXPECT_EQ(b.u16le(p + 16), kModesRuntime);
    }
    p += 16 + length;
  }
  EXPECT_EQ(codeDescriptors, 1u);
  const auto exports = exportNames(file, l.magic == 0x20B);
  EXPECT_NE(std::find(exports.begin(), exports.end(), entry), exports.end()) << entry;

  // The parameter block at the layout's offsets, and dump reading the record back.
  EXPECT_EQ(std::string(file.c_str() + inBlock(l.d, kFormulas)), kFormula);
  EXPECT_EQ(std::string(file.c_str() + inBlock(l.d, kTitle)), "Shape");
  EXPECT_EQ(b.u8(inBlock(l.d, kSliderValues + 3 * kWordSize)), 4u);
  auto dump = qm::test::cli({"dump", plugin.string()});
  EXPECT_NE(dump.out.find("Title:     Shape"), std::string::npos) << dump.out;
  EXPECT_NE(dump.out.find(std::string("R: ") + kFormula), std::string::npos) << dump.out;
}

TEST(RuntimeTemplates, WrittenPluginsHaveTheLayoutTheirOptionsChoose) {
  qm::test::TempFolder folder;
  const std::string source = "%RGB-1.0\r1\r2\r3\r4\r5\r6\r7\r8\r" + std::string(kFormula) +
                             "\r\rg\r\rb\r\ra\r\rCat\r\rShape\r\rMe\r\rMine\r\r";
  const fs::path afs = qm::test::writeFile(folder / "shape.afs", source);
  const struct {
    std::vector<std::string> flags;
    std::vector<std::pair<const char*, Layout>> written;
  } cases[] = {
      {{}, {{"shape.8bf", kX64}}},
      {{"--ff-template", "3.04"}, {{"shape.8bf", kX86v304}}},
      {{"--arch", "x86"}, {{"shape.8bf", kX86}}},
      {{"--arch", "both"}, {{"shape.8bf", kX64}, {"shape.x86.8bf", kX86}}},
  };
  int n = 0;
  for (const auto& c : cases) {
    const fs::path dest = folder / std::to_string(n++);
    SCOPED_TRACE(dest.filename().string());
    std::vector<std::string> args = {"convert",     "--to",   "8bf",
                                     "--all-modes", "--dest", dest.string()};
    args.insert(args.end(), c.flags.begin(), c.flags.end());
    args.push_back(afs.string());
    auto run = qm::test::cli(args);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(std::distance(fs::directory_iterator(dest), fs::directory_iterator{}),
              std::ptrdiff_t(c.written.size()));
    for (const auto& [name, layout] : c.written) expectLayout(dest / name, layout);
  }
  auto bad = qm::test::cli({"convert", "--to", "8bf", "--arch", "arm", afs.string()});
  EXPECT_EQ(bad.exitCode, 2);
  EXPECT_EQ(bad.err, "quillmark-cli convert: --arch takes x64, x86 or both\n");
}

// "No Dialog" and "All Modes" decide the dialog word and the mode word of plugins from our
// three templates alike; a user's own template keeps its dialog word and offers every mode.
TEST(RuntimeTemplates, DialogAndModeWordsFollowTheOptions) {
  qm::test::TempFolder folder;
  const fs::path afs = qm::test::writeFile(
      folder / "w.afs", "%RGB-1.0\r0\r0\r0\r0\r0\r0\r0\r0\rr\r\rg\r\rb\r\ra\r\rC\r\rW\r\r\r\r\r\r");
  const std::string userTemplate = (fs::path(QM_DATA_DIR) / "photo30.dll").string();
  const struct {
    std::vector<std::string> templateFlags;
    long d;
    bool ours;
  } templates[] = {{{}, kD64, true},
                   {{"--arch", "x86"}, kD30, true},
                   {{"--ff-template", "3.04"}, kD304, true},
                   {{"--template", userTemplate}, kD30, false}};
  const struct {
    std::vector<std::string> flags;
    int dialogWord;  // from our templates; the user's keeps its 1
    std::uint16_t modesOurs, modesUsers;
  } options[] = {{{}, 1, kModesRgbOnly, kModesRgbOnly},
                 {{"--no-dialog"}, 0, kModesRgbOnly, kModesRgbOnly},
                 {{"--all-modes"}, 1, kModesRuntime, kModesAll},
                 {{"--no-dialog", "--all-modes"}, 0, kModesRuntime, kModesAll}};
  int n = 0;
  for (const auto& t : templates)
    for (const auto& o : options) {
      const fs::path dest = folder / std::to_string(n++);
      SCOPED_TRACE(dest.filename().string());
      std::vector<std::string> args = {"convert", "--to", "8bf", "--dest", dest.string()};
      args.insert(args.end(), t.templateFlags.begin(), t.templateFlags.end());
      args.insert(args.end(), o.flags.begin(), o.flags.end());
      args.push_back(afs.string());
      ASSERT_EQ(qm::test::cli(args).exitCode, 0);
      const std::string file = qm::test::readFile(dest / "w.8bf");
      qm::ByteView b(reinterpret_cast<const std::uint8_t*>(file.data()), file.size());
      EXPECT_EQ(b.u8(inBlock(t.d, kDialogWord)), t.ours ? o.dialogWord : 1);
      EXPECT_EQ(b.u16le(at(t.d, kModesWord)), t.ours ? o.modesOurs : o.modesUsers);
    }
}

}  // namespace
