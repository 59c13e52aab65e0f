// The image library and the preview thumbnails and cache files made with it.

#include "core/host/image_library.h"

#include <gtest/gtest.h>

#include "core/host/preview_picture.h"
#include "fake_codec.h"
#include "support/temp_folder.h"

namespace qm::host::testing {
namespace {

namespace fs = std::filesystem;

class ImageLibraryTest : public ::testing::Test {
 protected:
  FakeCodec codec;
  ImageLibrary images{codec};
  qm::test::TempFolder dir;
};

TEST_F(ImageLibraryTest, OpenReportsSizeAndDepthAndFailsWithZero) {
  const ImageHandle h = images.adopt(pattern(5, 3, false));
  ASSERT_TRUE(images.write(h, dir / "p.img"));
  const ImageHandle opened = images.open(dir / "p.img");
  ASSERT_NE(opened, 0u);
  EXPECT_NE(opened, h);
  auto info = images.info(opened);
  ASSERT_TRUE(info);
  EXPECT_EQ(std::tie(info->width, info->height, info->bitsPerPixel), std::make_tuple(5, 3, 24));
  EXPECT_EQ(images.image(opened)->rgba, pattern(5, 3, false).rgba);
  qm::test::writeFile(dir / "junk.img", "not a picture");
  EXPECT_EQ(images.open(dir / "junk.img"), 0u);
  EXPECT_EQ(images.status(), ImageStatus::CannotOpen);
  EXPECT_EQ(images.open(dir / "missing.img"), 0u);
}

TEST_F(ImageLibraryTest, IncreaseColorsMakesANewTwentyFourBitCopy) {
  Image grey = pattern(2, 2, false);
  grey.bitsPerPixel = 8;
  const ImageHandle h = images.adopt(grey);
  const ImageHandle promoted = images.increaseColors(h, 24);
  ASSERT_NE(promoted, 0u);
  EXPECT_EQ(images.info(promoted)->bitsPerPixel, 24);
  EXPECT_EQ(images.info(h)->bitsPerPixel, 8);  // the caller closes the old one
  EXPECT_EQ(images.openCount(), 2u);
  images.close(h);
  EXPECT_FALSE(images.info(h));
  EXPECT_EQ(images.increaseColors(h, 24), 0u);
}

TEST_F(ImageLibraryTest, CopyTakesTheInclusiveRectangleAndScales) {
  const ImageHandle h = images.adopt(pattern(6, 4, true, 9));
  const ImageHandle part = images.copy(h, 2, 3, Rect{3, 1, 4, 3});
  ASSERT_NE(part, 0u);
  const Image* img = images.image(part);
  EXPECT_EQ(std::tie(img->width, img->height, img->hasAlpha), std::make_tuple(2, 3, true));
  EXPECT_EQ(img->pixel(0, 0)[0], 3);
  EXPECT_EQ(img->pixel(1, 2)[1], 3);
  EXPECT_EQ(img->pixel(1, 2)[3], 9);
  EXPECT_EQ(codec.scaleCalls, 0);  // same size: no resampling
  const ImageHandle half = images.copy(h, 3, 2, Rect{0, 0, 5, 3});
  ASSERT_NE(half, 0u);
  EXPECT_EQ(codec.scaleCalls, 1);
  EXPECT_EQ(images.image(half)->pixel(2, 1)[0], 4);
  EXPECT_EQ(images.copy(h, 2, 2, Rect{0, 0, 6, 3}), 0u);  // past the right edge
  EXPECT_EQ(images.copy(h, 0, 2, Rect{0, 0, 1, 1}), 0u);
  EXPECT_EQ(images.status(), ImageStatus::BadSize);
}

TEST_F(ImageLibraryTest, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
  const ImageHandle h = images.adopt(pattern(2, 2, false));
  qm::test::writeFile(dir / "keep.img", "old bytes");
  codec.failWrites = true;
  EXPECT_FALSE(images.write(h, dir / "keep.img"));
  EXPECT_EQ(images.status(), ImageStatus::CannotWrite);
  EXPECT_EQ(qm::test::readFile(dir / "keep.img"), "old bytes");
  int files = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path())) ++files;
  EXPECT_EQ(files, 1);
  EXPECT_FALSE(images.write(999, dir / "x.img"));
}

TEST_F(ImageLibraryTest, PreviewPicturePathFallsBackToTestBmpInTheProgramFolder) {
  const fs::path pic = qm::test::writeFile(dir / "mine.png", "x");
  EXPECT_EQ(previewPicturePath(pic.string(), dir / "prog"), pic);
  for (const fs::path& gone : {fs::path(), dir / "deleted.png", dir.path()})
    EXPECT_EQ(previewPicturePath(gone.string(), dir / "prog"), dir / "prog" / "Test.bmp");
}

TEST(PreviewPicture, CacheFileDropsTheLastFourCharacters) {
  const fs::path prog = "/p";
  EXPECT_EQ(previewCacheFile(prog, "Wave.8bf"), fs::path("/p/cache/Wave.jpg"));
  EXPECT_EQ(previewCacheFile(prog, "Twirl._bf"), fs::path("/p/cache/Twirl.jpg"));
  EXPECT_EQ(previewCacheFile(prog, "Blur.filter"), fs::path("/p/cache/Blur.fi.jpg"));
  EXPECT_EQ(previewCacheFile(prog, "../../x.8bf").parent_path(), fs::path("/p/cache"));
}

TEST_F(ImageLibraryTest, PreviewUpdateDeletesOnlyThatCacheFile) {
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

TEST_F(ImageLibraryTest, CreateThumbReplacesThePreviewCopy) {
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
