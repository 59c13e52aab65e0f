// A plugin written over a template that holds longer texts (a user template made from an
// earlier plugin) reads back with the new texts only, never with the end of the old ones.

#include <gtest/gtest.h>

#include "core/ff/plugin_reader.h"
#include "core/ff/plugin_template.h"
#include "core/ff/plugin_writer.h"
#include "support/temp_folder.h"

namespace qm::ff {
namespace {

namespace fs = std::filesystem;

FFRecord fullRecord() {
  FFRecord r;
  r.fileName = "old.8bf";
  r.category = "Long Category Name";
  r.title = "A Rather Long Title";
  r.author = "Quillmark Author";
  r.copyright = "Copyright Someone";
  r.controlNames = {"Amount", "Angle", "Size", "Depth", "", "", "", ""};
  r.mapNames = {"", "", "Curve Map", ""};
  r.formulas = {"src(x,y,z)*ctl(0)/255", "g", "b", "a"};
  return r;
}

TEST(PluginWriterLeftovers, ShorterAndEmptyTextsReadBackAsWritten) {
  struct Case {
    const char* what;
    void (*change)(FFRecord&);
  };
  const Case cases[] = {
      {"empty author", [](FFRecord& r) { r.author.clear(); }},
      {"empty copyright", [](FFRecord& r) { r.copyright.clear(); }},
      {"shorter title", [](FFRecord& r) { r.title = "Short"; }},
      {"empty category", [](FFRecord& r) { r.category.clear(); }},
      {"map gone", [](FFRecord& r) { r.mapNames[2].clear(); }},
      {"slider name gone", [](FFRecord& r) { r.controlNames[1].clear(); }},
      {"shorter formula", [](FFRecord& r) { r.formulas[0] = "r"; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    test::TempFolder dir;
    FFOptions options;
    options.programDir = dir.path();
    const auto bytes = BuildTemplatePlugin(TemplateKind::FF30);
    test::writeFile(dir / "photo30.dll", std::string(bytes.begin(), bytes.end()));
    FFRecord old = fullRecord();
    options.userTemplate = Write8bf(dir.path(), false, false, old, options).written;
    ASSERT_FALSE(options.userTemplate.empty());

    options.usedFF = FFTemplate::User;
    FFRecord changed = fullRecord();
    changed.fileName = "new.8bf";
    c.change(changed);
    const auto written = Write8bf(dir.path(), false, false, changed, options).written;
    FFRecord back;
    ASSERT_TRUE(Read8bf(written, back, false, false, options));
    EXPECT_EQ(back.author, changed.author);
    EXPECT_EQ(back.copyright, changed.copyright);
    EXPECT_EQ(back.title, changed.title);
    EXPECT_EQ(back.mapNames, changed.mapNames);
    EXPECT_EQ(back.controlNames, changed.controlNames);
    EXPECT_EQ(back.formulas, changed.formulas);
  }
}

}  // namespace
}  // namespace qm::ff
