#include "core/host/filter_loader.h"

#include <gtest/gtest.h>

#include "support/ff_plugin_bytes.h"
#include "support/ff_sources.h"
#include "support/temp_folder.h"

namespace qm::host::testing {
namespace {

using qm::test::fflEntry;

TEST(FilterLoader, LibraryEntriesByNumber) {
  qm::test::TempFolder dir;
  const auto lib =
      qm::test::writeFile(dir / "lib.ffl", "FFL1.0\r\n2\r\n" + fflEntry("one.8bf", "One", "r/2") +
                                               fflEntry("two.prm", "Two", "mix(r,g,1,2)"));
  auto first = loadFilter(lib.string() + "#1", {});
  ASSERT_TRUE(first);
  EXPECT_EQ(first->title, "One");
  EXPECT_EQ(first->formulas[0], "r/2");
  auto second = loadFilter(lib.string() + "#2", {});
  ASSERT_TRUE(second);
  // A Premiere entry comes back in the Photoshop dialect (mix takes its values swapped).
  EXPECT_TRUE(second->photoshopDialect);
  EXPECT_EQ(second->formulas[0], "mix(g,r,1,2)");
  // A whole library is not one filter.
  for (const char* bad : {"#3", "#x", "#", ""})
    EXPECT_FALSE(loadFilter(lib.string() + bad, {})) << bad;
}

TEST(FilterLoader, PluginsRunTheirFormulasAsStored) {
  qm::test::TempFolder dir;
  qm::test::FFPluginFields fields;
  fields.title = "Stored";
  fields.formulas = {"src(x,y,z)", "(76*r+150*g+29*b)/256", "b", "a"};
  const std::string bytes = qm::test::ffPluginBytes(57344, fields);
  for (const char* name : {"plain.8bf", "temp.dll", "off._bf"}) {
    qm::test::writeFile(dir / name, bytes);
    auto rec = loadPluginFilter(dir / name);
    ASSERT_TRUE(rec) << name;
    EXPECT_EQ(rec->formulas[0], "src(x,y,z)") << name;  // no optimiser rewrite to "c"
    EXPECT_EQ(rec->formulas[1], "(76*r+150*g+29*b)/256") << name;
  }
  qm::test::writeFile(dir / "notes.txt", "R: r");
  EXPECT_FALSE(loadPluginFilter(dir / "notes.txt"));
  qm::test::writeFile(dir / "random.8bf", std::string(57344, 'q'));
  EXPECT_FALSE(loadPluginFilter(dir / "random.8bf"));
  EXPECT_FALSE(loadPluginFilter(dir / "missing.8bf"));
}

TEST(FilterLoader, PremierePluginsAreTranslated) {
  qm::test::TempFolder dir;
  qm::test::PremiereFields fields;
  fields.menuName = "Fade";
  fields.formulas = {"mix(r,g,t,tmax)", "p", "b", "a"};
  qm::test::writeFile(dir / "fade.prm", qm::test::premiereFFBytes(50176, 0, fields));
  auto rec = loadPluginFilter(dir / "fade.prm");
  ASSERT_TRUE(rec);
  EXPECT_TRUE(rec->photoshopDialect);
  EXPECT_EQ(rec->formulas[0], "mix(g,r,t,255)");
  EXPECT_EQ(rec->formulas[1], "z");
}

}  // namespace
}  // namespace qm::host::testing
