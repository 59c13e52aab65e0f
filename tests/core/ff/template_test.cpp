#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "core/ff/plugin_reader.h"
#include "core/ff/plugin_template.h"
#include "core/ff/plugin_writer.h"
#include "core/plugins/read_com8bf.h"
#include "support/ff_plugin_bytes.h"
#include "support/temp_folder.h"

namespace qm::ff {
namespace {

struct Located {
  std::size_t offset;
  std::size_t size;
};

// Follows the PE resource tree from the root the way a resource reader does:
// named type -> first id -> first language -> data entry.
std::optional<Located> findResource(ByteView pe, std::string_view type) {
  auto lfanew = pe.u32le(0x3C);
  if (!lfanew) return std::nullopt;
  std::size_t section = *lfanew + 4 + 20 + *pe.u16le(*lfanew + 20);
  std::size_t raw = *pe.u32le(section + 20);
  std::uint32_t va = *pe.u32le(section + 12);
  std::size_t named = *pe.u16le(raw + 12);
  for (std::size_t i = 0; i < named; ++i) {
    std::size_t entry = raw + 16 + 8 * i;
    std::size_t name = raw + (*pe.u32le(entry) & 0x7FFFFFFF);
    std::string text;
    for (std::size_t c = 0; c < *pe.u16le(name); ++c)
      text += static_cast<char>(*pe.u8(name + 2 + 2 * c));
    if (text != type) continue;
    std::size_t typeDir = raw + (*pe.u32le(entry + 4) & 0x7FFFFFFF);
    if (*pe.u32le(typeDir + 16) != 16) return std::nullopt;  // resource id
    std::size_t langDir = raw + (*pe.u32le(typeDir + 20) & 0x7FFFFFFF);
    std::size_t data = raw + *pe.u32le(langDir + 20);
    return Located{*pe.u32le(data) - va + raw, *pe.u32le(data + 4)};
  }
  return std::nullopt;
}

struct Kind {
  TemplateKind kind;
  std::size_t size;
  std::size_t shift;  // file offsets this much before the 3.0 ones
  std::size_t signature;
};

class Templates : public ::testing::TestWithParam<Kind> {
 protected:
  std::vector<std::uint8_t> bytes = BuildTemplatePlugin(GetParam().kind);
  ByteView pe{bytes.data(), bytes.size()};
  std::size_t at(std::size_t offset30) const { return offset30 - GetParam().shift; }
};

TEST_P(Templates, IsAResourceOnlyI386Image) {
  ASSERT_EQ(bytes.size(), GetParam().size);
  EXPECT_TRUE(pe.matches(0, "MZ"));
  EXPECT_EQ(pe.u32le(0x3C), 128u);
  EXPECT_TRUE(pe.matches(128, std::string_view("PE\0\0", 4)));
  EXPECT_EQ(pe.u16le(132), 0x014C);
  EXPECT_EQ(pe.u16le(134), 1);        // one section
  EXPECT_EQ(pe.u16le(152), 0x10B);    // PE32
  EXPECT_EQ(pe.u32le(152 + 16), 0u);  // no entry point: no code
  // The section header's name sits where a 4-byte stepped search from 373 finds "rsrc".
  EXPECT_TRUE(pe.matches(376, ".rsrc"));
  EXPECT_EQ(pe.u32le(388), 0xB000u);
  EXPECT_EQ(pe.u32le(396), at(29184));
  EXPECT_EQ(*pe.u32le(396) + *pe.u32le(392), bytes.size());
}

TEST_P(Templates, ResourcesAndPiplPropertiesSitAtTheKnownPlaces) {
  auto pipl = findResource(pe, "PIPL");
  auto parm = findResource(pe, "PARM");
  ASSERT_TRUE(pipl && parm);
  EXPECT_EQ(pipl->offset, at(30964));
  EXPECT_EQ(pipl->size, 286u);
  EXPECT_EQ(parm->offset, at(31252));
  EXPECT_EQ(parm->size, 8296u);

  // Properties in order, each header 16 bytes: vendor, key, id, length (keys little-endian).
  const std::pair<std::string_view, std::size_t> order[] = {
      {"dnik", 4}, {"eman", 36}, {"gtac", 36}, {"srev", 4},  {"ytrp", 4},
      {"edom", 4}, {"tsoh", 4},  {"68xw", 12}, {"icif", 28},
  };
  EXPECT_EQ(pe.u32le(pipl->offset + 6), 9u);
  std::size_t p = pipl->offset + 10;
  for (const auto& [key, length] : order) {
    EXPECT_TRUE(pe.matches(p, "MIB8")) << key;
    EXPECT_TRUE(pe.matches(p + 4, key)) << key;
    EXPECT_EQ(pe.u32le(p + 12), length) << key;
    p += 16 + length;
  }
  EXPECT_EQ(p, pipl->offset + pipl->size);
  EXPECT_TRUE(pe.matches(at(30994) + 4, "eman"));
  EXPECT_TRUE(pe.matches(at(31046) + 4, "gtac"));
  // The catalogue's 1-based category position is the header + 17 + 1.
  EXPECT_EQ(at(31046) + 17 + 1, GetParam().size == 57344 ? 31064u : 23896u);
  EXPECT_EQ(pe.u8(at(31062)), std::string_view(kTemplateCategory).size());
  EXPECT_TRUE(pe.matches(at(31063), kTemplateCategory));
  EXPECT_EQ(pe.u16le(at(31154)), 16);  // mode property: RGB only
  EXPECT_EQ(pe.u32le(parm->offset), 8296u);
}

TEST_P(Templates, ReadsAsAFilterFactoryPlugin) {
  EXPECT_TRUE(pe.matches(GetParam().signature, std::string_view("Filter Factory\0", 15)));
  FFRecord rec;
  ASSERT_TRUE(Read8bfBytes(pe, "photo.dll", rec, false, false, FFOptions{}));
  EXPECT_EQ(rec.title, kTemplateTitle);
  EXPECT_EQ(rec.category, kTemplateCategory);
  EXPECT_EQ(rec.formulas, (std::array<std::string, 4>{"r", "g", "b", "a"}));
  EXPECT_EQ(rec.controlNames, (std::array<std::string, 8>{}));
}

TEST_P(Templates, CatalogueFindsTheCategoryAtTheKnownPosition) {
  auto table = plugins::ReadCom8bfBytes(pe, "photo.8bf", FFOptions{});
  ASSERT_TRUE(table.ok);
  ASSERT_EQ(table.filters.size(), 1u);
  EXPECT_EQ(table.filters[0].category, kTemplateCategory);
  EXPECT_EQ(table.filters[0].title, kTemplateTitle);
  EXPECT_EQ(table.filters[0].position, GetParam().size == 57344 ? 31064 : 23896);
}

TEST_P(Templates, CatalogueSeesWhatTheWriterWrote) {
  test::TempFolder dir;
  test::writeFile(dir / "photo30.dll", std::string(bytes.begin(), bytes.end()));
  test::writeFile(dir / "photo304.dll", std::string(bytes.begin(), bytes.end()));
  FFOptions options;
  options.programDir = dir.path();
  options.usedFF = GetParam().kind == TemplateKind::FF30 ? FFTemplate::FF30 : FFTemplate::FF304;
  FFRecord rec;
  rec.fileName = "new.afs";
  rec.category = "Noise";
  rec.title = "Grain";
  auto written = Write8bf(dir.path(), false, false, rec, options).written;
  auto table = plugins::ReadCom8bf(written, options);
  ASSERT_TRUE(table.ok);
  EXPECT_EQ(table.filters[0].category, "Noise");
  EXPECT_EQ(table.filters[0].title, "Grain");
}

INSTANTIATE_TEST_SUITE_P(Both, Templates,
                         ::testing::Values(Kind{TemplateKind::FF30, 57344, 0, 28208},
                                           Kind{TemplateKind::FF304, 49152, 7168, 21024}),
                         [](const auto& info) {
                           return info.param.kind == TemplateKind::FF30 ? "photo30" : "photo304";
                         });

TEST(TemplateFiles, BuildWritesWhatTheBuilderMakes) {
  for (auto [name, kind] : {std::pair{"photo30.dll", TemplateKind::FF30},
                            std::pair{"photo304.dll", TemplateKind::FF304}}) {
    std::filesystem::path file = std::filesystem::path(QM_DATA_DIR) / name;
    ASSERT_TRUE(std::filesystem::exists(file)) << "templates not built: " << file;
    auto built = BuildTemplatePlugin(kind);
    EXPECT_EQ(test::readFile(file), std::string(built.begin(), built.end())) << name;
  }
}

}  // namespace
}  // namespace qm::ff
