#include <gtest/gtest.h>

#include <filesystem>

#include "core/ff/plugin_reader.h"
#include "core/ff/plugin_template.h"
#include "core/plugins/read_com8bf.h"
#include "support/ff_plugin_bytes.h"
#include "support/temp_folder.h"

namespace qm::ff {
namespace {

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

// The catalogue reading below walks the headers and resources; these are the parts it ignores.
TEST_P(Templates, IsAResourceOnlyI386Image) {
  ASSERT_EQ(bytes.size(), GetParam().size);
  EXPECT_EQ(pe.u16le(132), 0x014C);
  EXPECT_EQ(pe.u16le(152), 0x10B);    // PE32
  EXPECT_EQ(pe.u32le(152 + 16), 0u);  // no entry point: no code
  EXPECT_EQ(pe.u32le(396), at(29184));
  EXPECT_EQ(*pe.u32le(396) + *pe.u32le(392), bytes.size());
}

TEST_P(Templates, ReadsAsAFilterFactoryPluginAndACatalogueEntry) {
  auto table = plugins::ReadCom8bfBytes(pe, "photo.8bf", FFOptions{});
  ASSERT_EQ(table.filters.size(), 1u);
  EXPECT_EQ(table.filters[0].position, GetParam().size == 57344 ? 31064 : 23896);
  EXPECT_TRUE(pe.matches(GetParam().signature, std::string_view("Filter Factory\0", 15)));
  FFRecord rec;
  ASSERT_TRUE(Read8bfBytes(pe, "photo.dll", rec, false, false, FFOptions{}));
  EXPECT_EQ(rec.title, kTemplateTitle);
  EXPECT_EQ(rec.category, kTemplateCategory);
  EXPECT_EQ(rec.formulas, (std::array<std::string, 4>{"r", "g", "b", "a"}));
  EXPECT_EQ(rec.controlNames, (std::array<std::string, 8>{}));
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
    // The shipped ones may carry the plugin runtime before the resources; from there on they
    // are what the builder makes.
    const std::size_t resources = kind == TemplateKind::FF30 ? 29184 : 29184 - 7168;
    ASSERT_EQ(test::readFile(file).size(), built.size()) << name;
    EXPECT_EQ(test::readFile(file).substr(resources),
              std::string(built.begin() + resources, built.end()))
        << name;
  }
}

}  // namespace
}  // namespace qm::ff
