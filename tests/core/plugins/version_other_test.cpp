#include <gtest/gtest.h>

#include "core/plugins/other8b.h"
#include "core/plugins/version_resource.h"
#include "support/pe_builder.h"
#include "support/temp_folder.h"

namespace qm::plugins {
namespace {

ByteView view(const test::Bytes& b) {
  return ByteView(b.data(), b.size());
}

TEST(VersionResource, EachKeyFindsItsValue) {
  test::Bytes data = test::versionData({{{"FileDescription", "Blur Tools"},
                                         {"InternalName", "Export Thing"},
                                         {"ProductName", "Suite"}}});
  EXPECT_EQ(ReadVersionRessourceBytes(view(data), VersionKey::FileDescription), "Blur Tools");
  EXPECT_EQ(ReadVersionRessourceBytes(view(data), VersionKey::InternalName), "Export Thing");
  EXPECT_EQ(ReadVersionRessourceBytes(view(data), VersionKey::ProductName), "Suite");
}

TEST(VersionResource, TwoLanguagesRunTogetherAndOddOffsetsAreIgnored) {
  test::Bytes data = test::versionData({{{"InternalName", "Eins"}}, {{"InternalName", "Two"}}});
  EXPECT_EQ(ReadVersionRessourceBytes(view(data), VersionKey::InternalName), "EinsTwo");
  test::Bytes odd{0};
  odd.insert(odd.end(), data.begin(), data.end());
  EXPECT_EQ(ReadVersionRessourceBytes(view(odd), VersionKey::InternalName), "");
}

TEST(VersionResource, ValueStopsAtThe300ByteWindowAndAtTheEnd) {
  std::string longValue(200, 'v');
  test::Bytes data = test::versionData({{{"ProductName", longValue}}});
  EXPECT_EQ(ReadVersionRessourceBytes(view(data), VersionKey::ProductName), std::string(151, 'v'));
  // The record starts at 64 (after the block and language headers), its value at 96.
  test::Bytes cut(data.begin(), data.begin() + 116);
  EXPECT_EQ(ReadVersionRessourceBytes(view(cut), VersionKey::ProductName), std::string(10, 'v'));
}

TEST(DisplayName, CutAtFirstDotOrUnderscoreAndUpperCased) {
  struct Case {
    const char* file;
    const char* name;
  };
  for (Case c :
       {Case{"blur_fx.8be", "Blur_fx"}, Case{"myplug_api", "Myplug"}, Case{"sample.tub", "Sample"},
        Case{"noext", "Noext"}, Case{"\xC3\xA9t\xC3\xA9.p", "\xC3\x89t\xC3\xA9"},
        Case{"\xC3\x9F"
             "ab.p",
             "\xC3\x9F"
             "ab"},
        Case{".hidden", ""}}) {
    EXPECT_EQ(displayNameFromFileName(c.file), c.name) << c.file;
  }
}

TEST(ReadOther8b, CategoryFromTheTableAndNameFromTheVersionResource) {
  PlugTypeTable table =
      makeTypeTable({{"PS Export Plugin (8be|1)", true}, {"PSP 7 Tube (tub|3)", true}});
  test::PeImage image;
  image.resources.push_back({"", 16, {test::versionData({{{"InternalName", "Export Thing"}}})}});
  auto bytes = test::buildPe(image).bytes;
  OtherResult r = ReadOther8bBytes(view(bytes), "name.8be", table);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.category, "[PS Export Plugin]");
  EXPECT_EQ(r.name, "Export Thing");
  OtherResult noVersion = ReadOther8bBytes(ByteView(), "quiet_8be", table);
  EXPECT_EQ(noVersion.name, "Quiet");
  OtherResult tube = ReadOther8bBytes(view(bytes), "sample.tub", table);
  EXPECT_EQ(tube.category, "[PSP 7 Tube]");
  EXPECT_EQ(tube.name, "Sample");
  OtherResult other = ReadOther8bBytes(view(bytes), "thing.xyz", table);
  EXPECT_EQ(other.category, "[Other Plugins]");
  EXPECT_EQ(other.name, "Thing");
}

TEST(ReadOther8b, FromFileAndUnreadableFileFallsBackToTheName) {
  test::TempFolder dir;
  test::PeImage image;
  image.resources.push_back({"", 16, {test::versionData({{{"FileDescription", "Import Magic"}}})}});
  test::writeFile(dir / "magic.8ba", test::asString(test::buildPe(image).bytes));
  PlugTypeTable table = makeTypeTable({{"PS Import Plugin (8ba|0)", true}});
  EXPECT_EQ(ReadOther8b(dir / "magic.8ba", table).name, "Import Magic");
  EXPECT_EQ(ReadOther8b(dir / "missing.8ba", table).name, "Missing");
}

}  // namespace
}  // namespace qm::plugins
