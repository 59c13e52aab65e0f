#include "core/picture/plugin_preview.h"

#include <gtest/gtest.h>

#include "core/ff/ffl.h"
#include "core/host/fake_codec.h"
#include "core/host/preview_picture.h"
#include "support/ff_plugin_bytes.h"
#include "support/ff_sources.h"
#include "support/temp_folder.h"

namespace qm::picture {
namespace {

namespace fs = std::filesystem;
using host::testing::FakeCodec;
using host::testing::pattern;

class PluginPreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qm::test::FFPluginFields fields;
    fields.title = "Invert";
    fields.category = "Tests";
    fields.formulas = {"255-r", "g", "b", "a"};
    plugin =
        qm::test::writeFile(dir / "plugins" / "Invert.8bf", qm::test::ffPluginBytes(57344, fields));
    picture = qm::test::writeFile(dir / "Test.bmp", "picture");
    request.file = plugin;
    request.programDir = dir / "prog";
    request.picture = picture;
    request.thumb = pattern(4, 3, false);
  }
  PluginPreview preview(const std::function<bool()>& cancelled = {}) {
    return makePluginPreview(request, {codec, types, options}, cancelled);
  }
  fs::path cacheFile() const { return dir / "prog" / "cache" / "Invert.jpg"; }
  // Sets file's modification time to seconds after the test's start.
  void stamp(const fs::path& file, int seconds) {
    fs::last_write_time(file, start + std::chrono::seconds(seconds));
  }

  qm::test::TempFolder dir;
  FakeCodec codec;
  plugins::PlugTypeTable types;
  ff::FFOptions options;
  fs::path plugin, picture;
  PreviewRequest request;
  fs::file_time_type start = fs::file_time_type::clock::now();
};

TEST_F(PluginPreviewTest, FiltersThenReusesTheCacheUntilThePluginChanges) {
  PluginPreview first = preview();
  ASSERT_EQ(first.kind, PreviewKind::Filtered);
  ASSERT_TRUE(first.image.valid());
  EXPECT_EQ(first.image.pixel(2, 1)[0], 255 - 2);  // R inverted
  EXPECT_EQ(first.image.pixel(2, 1)[1], 1);
  ASSERT_TRUE(fs::exists(cacheFile()));

  // The cache answers while it is not older than plugin and picture; the engine does not run,
  // so a changed cache file shows.
  codec.write(pattern(2, 2, false), cacheFile());
  stamp(plugin, 0);
  stamp(picture, 0);
  stamp(cacheFile(), 0);
  PluginPreview second = preview();
  EXPECT_EQ(second.kind, PreviewKind::FromCache);
  EXPECT_EQ(second.image.width, 2);
  stamp(plugin, 10);  // the plugin changed
  EXPECT_EQ(preview().kind, PreviewKind::Filtered);
  stamp(cacheFile(), 20);
  EXPECT_EQ(preview().kind, PreviewKind::FromCache);
  stamp(picture, 30);  // the picture changed
  EXPECT_EQ(preview().kind, PreviewKind::Filtered);
  stamp(cacheFile(), 30);
  EXPECT_EQ(preview().kind, PreviewKind::FromCache);

  EXPECT_TRUE(host::deletePreviewCacheEntry(request.programDir, "Invert.8bf"));  // "Update"
  EXPECT_EQ(preview().kind, PreviewKind::Filtered);
}

TEST_F(PluginPreviewTest, NoCacheWhenSwitchedOffOrForSources) {
  request.cache.enabled = false;
  EXPECT_EQ(preview().kind, PreviewKind::Filtered);
  EXPECT_FALSE(fs::exists(cacheFile()));
  request.cache.enabled = true;
  request.file = qm::test::writeFile(dir / "Invert.afs", qm::test::afsSource("Inv", "255-r"));
  PluginPreview source = preview();
  ASSERT_EQ(source.kind, PreviewKind::Filtered);
  EXPECT_EQ(source.image.pixel(3, 0)[0], 255 - 3);
  EXPECT_FALSE(fs::exists(cacheFile()));
}

TEST_F(PluginPreviewTest, ALibraryEntryIsFoundByItsPosition) {
  const std::string library = qm::test::fflLibrary(
      {qm::test::fflEntry("A.8bf", "A", "255-r"), qm::test::fflEntry("B.8bf", "B", "7")});
  request.file = qm::test::writeFile(dir / "Lib.ffl", library);
  const std::vector<std::uint8_t> bytes(library.begin(), library.end());
  const auto index = ff::IndexFFL(ByteView(bytes.data(), bytes.size()));
  ASSERT_TRUE(index && index->entries.size() == 2);
  request.fflPosition = index->entries[1].position;
  PluginPreview entry = preview();
  ASSERT_EQ(entry.kind, PreviewKind::Filtered);
  EXPECT_EQ(entry.image.pixel(3, 2)[0], 7);
  EXPECT_EQ(entry.image.pixel(3, 2)[1], 2);
  request.fflPosition = index->entries[1].position + 1;  // not where an entry starts
  EXPECT_EQ(preview().kind, PreviewKind::Facts);
  EXPECT_FALSE(fs::exists(dir / "prog" / "cache"));
}

TEST_F(PluginPreviewTest, APluginWeCannotRunShowsItsFacts) {
  request.file = qm::test::writeFile(dir / "plugins" / "Other.8bf", std::string(5000, 'o'));
  PluginPreview other = preview();
  EXPECT_EQ(other.kind, PreviewKind::Facts);
  EXPECT_FALSE(other.image.valid());
  ASSERT_FALSE(other.facts.empty());
  EXPECT_EQ(other.facts[0].rfind("Type: ", 0), 0u);
  EXPECT_FALSE(fs::exists(dir / "prog" / "cache" / "Other.jpg"));
}

TEST_F(PluginPreviewTest, ACancelledRequestGivesNothing) {
  EXPECT_EQ(preview([] { return true; }).kind, PreviewKind::Cancelled);
  EXPECT_FALSE(fs::exists(cacheFile()));
}

}  // namespace
}  // namespace qm::picture
