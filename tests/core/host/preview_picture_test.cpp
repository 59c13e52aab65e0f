#include "core/host/preview_picture.h"

#include <gtest/gtest.h>

#include "fake_codec.h"
#include "support/temp_folder.h"

namespace qm::host::testing {
namespace {

namespace fs = std::filesystem;

TEST(PreviewPicture, PathFallsBackToTestBmpInTheProgramFolder) {
  qm::test::TempFolder dir;
  const fs::path pic = qm::test::writeFile(dir / "mine.png", "x");
  EXPECT_EQ(previewPicturePath(pic.string(), dir / "prog"), pic);
  EXPECT_EQ(previewPicturePath("", dir / "prog"), dir / "prog" / "Test.bmp");
  EXPECT_EQ(previewPicturePath((dir / "deleted.png").string(), dir / "prog"),
            dir / "prog" / "Test.bmp");
}

TEST(PreviewPicture, CacheFileDropsTheLastFourCharacters) {
  const fs::path prog = "/p";
  EXPECT_EQ(previewCacheFile(prog, "Wave.8bf"), fs::path("/p/cache/Wave.jpg"));
  EXPECT_EQ(previewCacheFile(prog, "Twirl._bf"), fs::path("/p/cache/Twirl.jpg"));
  EXPECT_EQ(previewCacheFile(prog, "Blur.filter"), fs::path("/p/cache/Blur.fi.jpg"));
  EXPECT_EQ(previewCacheFile(prog, "../../x.8bf").parent_path(), fs::path("/p/cache"));
}

TEST(PreviewPicture, UpdateDeletesOnlyThatCacheFile) {
  qm::test::TempFolder dir;
  qm::test::writeFile(dir / "cache" / "Wave.jpg", "jpg");
  qm::test::writeFile(dir / "cache" / "Other.jpg", "jpg");
  EXPECT_TRUE(deletePreviewCacheEntry(dir.path(), "Wave.8bf"));
  EXPECT_FALSE(fs::exists(dir / "cache" / "Wave.jpg"));
  EXPECT_TRUE(fs::exists(dir / "cache" / "Other.jpg"));
  EXPECT_FALSE(deletePreviewCacheEntry(dir.path(), "Wave.8bf"));
  EXPECT_FALSE(deletePreviewCacheEntry(dir.path(), ""));
}

TEST(PreviewPicture, ThumbSizeLetsTheLongerSideDecide) {
  const Size box = previewBoxPixels(15, 15);
  EXPECT_EQ(box, (Size{128, 88}));
  EXPECT_EQ(previewBoxPixels(12, 12), (Size{160, 110}));
  // clang-format off
  const std::pair<Size, Size> cases[] = {
      {{400, 300}, {117, 88}}, {{300, 400}, {66, 88}}, {{50, 50}, {88, 88}}, {{1000, 1}, {128, 1}},
      {{1, 10000}, {1, 88}}, {{2000, 1375}, {128, 88}}, {{0, 5}, {}}};
  // clang-format on
  for (const auto& [picture, thumb] : cases) EXPECT_EQ(thumbSize(picture, box), thumb);
}

TEST(PreviewPicture, CreateThumbReplacesThePreviewCopy) {
  qm::test::TempFolder dir;
  FakeCodec codec;
  ImageLibrary images(codec);
  Image grey = pattern(40, 20, false);
  grey.bitsPerPixel = 8;
  ASSERT_TRUE(images.write(images.adopt(grey), dir / "pic.img"));
  images.close(1);
  ImageHandle copy = images.adopt(pattern(1, 1, false));
  const ImageHandle old = copy;
  ASSERT_TRUE(CreateThumb(images, dir / "pic.img", {16, 16}, copy));
  EXPECT_NE(copy, old);
  EXPECT_FALSE(images.info(old));  // closed
  auto info = images.info(copy);
  EXPECT_EQ(std::tie(info->width, info->height, info->bitsPerPixel), std::make_tuple(16, 8, 24));
  EXPECT_EQ(images.openCount(), 1u);  // the full-size picture is closed too
  const ImageHandle kept = copy;
  EXPECT_FALSE(CreateThumb(images, dir / "missing.img", {16, 16}, copy));
  EXPECT_EQ(copy, kept);
}

}  // namespace
}  // namespace qm::host::testing
