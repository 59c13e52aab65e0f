// The image library and the preview thumbnails and cache files made with it.

#include "core/host/image_library.h"

#include <gtest/gtest.h>

#include "core/host/preview_picture.h"
#include "core/host/tga_reader.h"
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

TEST_F(ImageLibraryTest, CacheFileBelongsToOneFileAsItIsNow) {
  const fs::path prog = "/p";
  const fs::path wave = qm::test::writeFile(dir / "a" / "Wave.8bf", "one");
  const fs::path name = previewCacheFile(prog, wave);
  EXPECT_EQ(name.parent_path(), fs::path("/p/cache"));
  EXPECT_EQ(name.filename().string().size(), std::string("Wave.0123456789abcdef.jpg").size());
  EXPECT_EQ(previewCacheFile(prog, dir / "a" / ".." / "a" / "Wave.8bf"), name);
  EXPECT_NE(previewCacheFile(prog, qm::test::writeFile(dir / "b" / "Wave.8bf", "one")), name);
  qm::test::writeFile(wave, "two!");
  EXPECT_NE(previewCacheFile(prog, wave), name);
  EXPECT_EQ(previewCacheFile(prog, "Blur.filter").filename().string().rfind("Blur.fi.", 0), 0u);
  EXPECT_EQ(previewCacheFile(prog, "../../x.8bf").parent_path(), fs::path("/p/cache"));
}

TEST_F(ImageLibraryTest, PreviewUpdateDeletesOnlyThatCacheFile) {
  const fs::path wave = qm::test::writeFile(dir / "Wave.8bf", "w");
  qm::test::writeFile(previewCacheFile(dir.path(), wave), "jpg");
  qm::test::writeFile(dir / "cache" / "Other.jpg", "jpg");
  EXPECT_TRUE(deletePreviewCacheEntry(dir.path(), wave));
  EXPECT_FALSE(fs::exists(previewCacheFile(dir.path(), wave)));
  EXPECT_TRUE(fs::exists(dir / "cache" / "Other.jpg"));
  EXPECT_FALSE(deletePreviewCacheEntry(dir.path(), wave));
  EXPECT_FALSE(deletePreviewCacheEntry(dir.path(), ""));
}

// A 2×2 picture in the TGA kinds paint programs write, and what is refused.
std::string tga(int type, int bits, int descriptor, const std::string& pixels,
                const std::string& map = {}, int mapBits = 0) {
  const int entryBytes = (mapBits + 7) / 8;  // a cut last entry still counts
  const int entries = mapBits ? (static_cast<int>(map.size()) + entryBytes - 1) / entryBytes : 0;
  std::string header = {0,
                        static_cast<char>(mapBits ? 1 : 0),
                        static_cast<char>(type),
                        0,
                        0,
                        static_cast<char>(entries),
                        0,
                        static_cast<char>(mapBits),
                        0,
                        0,
                        0,
                        0,
                        2,
                        0,
                        2,
                        0,
                        static_cast<char>(bits),
                        static_cast<char>(descriptor)};
  return header + map + pixels;
}

TEST(TgaReader, TheKindsPaintProgramsWriteAndWhatIsRefused) {
  using P = std::array<std::uint8_t, 4>;
  const std::string tl = "\x1E\x14\x0A", tr = "\x3C\x32\x28", bl = "\x5A\x50\x46",
                    br = "\x78\x6E\x64";  // B G R of (10,20,30) (40,50,60) (70,80,90) (100,110,120)
  auto a = [](int byte) { return std::string(1, static_cast<char>(byte)); };
  const P TL{10, 20, 30, 255}, TR{40, 50, 60, 255}, BL{70, 80, 90, 255}, BR{100, 110, 120, 255};
  const struct {
    const char* name;
    std::string bytes;
    std::array<P, 4> pixels;  // top left, top right, bottom left, bottom right
    std::string refusal = {};
  } cases[] = {
      {"TrueColourBottomUp", tga(2, 24, 0, bl + br + tl + tr), {TL, TR, BL, BR}},
      {"RunLengthTopDown", tga(10, 24, 0x20, "\x01" + tl + tr + "\x81" + bl), {TL, TR, BL, BL}},
      {"RightToLeft", tga(2, 24, 0x30, tr + tl + br + bl), {TL, TR, BL, BR}},
      {"Grey",
       tga(3, 8, 0x20, std::string("\x00\x40\x80\xFF", 4)),
       {P{0, 0, 0, 255}, P{64, 64, 64, 255}, P{128, 128, 128, 255}, P{255, 255, 255, 255}}},
      {"GreyRunLength",
       tga(11, 8, 0x20, std::string("\x83\x07", 2)),
       {P{7, 7, 7, 255}, P{7, 7, 7, 255}, P{7, 7, 7, 255}, P{7, 7, 7, 255}}},
      {"ColourMapped",
       tga(1, 8, 0x20, std::string("\x00\x01\x01\x00", 4), tl + tr, 24),
       {TL, TR, TR, TL}},
      {"ColourMapped16RunLength",
       tga(9, 8, 0x20, std::string("\x83\x00", 2), std::string("\x1F\x7C", 2), 16),
       {P{255, 0, 255, 255}, P{255, 0, 255, 255}, P{255, 0, 255, 255}, P{255, 0, 255, 255}}},
      {"AlphaWhereTheHeaderSaysSo",
       tga(2, 32, 0x28, tl + a(0x80) + tr + a(0) + bl + a(0xFF) + br + a(1)),
       {P{10, 20, 30, 128}, P{40, 50, 60, 0}, P{70, 80, 90, 255}, P{100, 110, 120, 1}}},
      {"NoAlphaBits",
       tga(2, 32, 0x20, tl + a(0x80) + tr + a(0) + bl + a(0) + br + a(0)),
       {TL, TR, BL, BR}},
      {"Grey16",
       tga(3, 16, 0x20, std::string(8, 'x')),
       {},
       "cannot read this TGA variant (type 3, 16 bits a pixel)"},
      {"RunCut", tga(10, 24, 0x20, "\x01" + tl + tr + "\x81"), {}, "the TGA picture ends early"},
      {"MapCut", tga(1, 8, 0x20, "", "\x01\x02", 24), {}, "the TGA picture ends in its colour map"},
      {"NoHeader", "\x00\x00\x02", {}, "not a TGA picture"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ByteView bytes(reinterpret_cast<const std::uint8_t*>(c.bytes.data()), c.bytes.size());
    auto image = decodeTga(bytes, 1000);
    if (!c.refusal.empty()) {
      ASSERT_FALSE(image);
      EXPECT_EQ(image.error(), c.refusal);
      continue;
    }
    ASSERT_TRUE(image) << image.error();
    ASSERT_EQ(image->width, 2);
    ASSERT_EQ(image->height, 2);
    const P* want = c.pixels.data();
    for (int i = 0; i < 4; ++i) {
      const std::uint8_t* got = image->pixel(i % 2, i / 2);
      EXPECT_EQ((P{got[0], got[1], got[2], got[3]}), want[i]) << i;
    }
  }
  EXPECT_EQ(decodeTga(ByteView(reinterpret_cast<const std::uint8_t*>(cases[0].bytes.data()),
                               cases[0].bytes.size()),
                      3)
                .error(),
            "the picture is 2×2, too large");
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
