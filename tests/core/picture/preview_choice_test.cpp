#include "core/picture/preview_choice.h"

#include <gtest/gtest.h>

namespace qm::picture {
namespace {

TEST(PreviewChoice, ANewPictureJoinsTheListOnceCaseIgnored) {
  settings::MemoryStore store;
  settings::Options options;
  options.pictures = {"/p/a.png", "/p/b.jpg"};
  EXPECT_EQ(choosePreviewPicture(options, store, "/p/New.bmp"), 2u);
  EXPECT_EQ(options.previewPicture, "/p/New.bmp");
  EXPECT_EQ(store.get(settings::kSettings, "PreviewPic"), "/p/New.bmp");
  EXPECT_EQ(store.get(settings::kSettings, "Pic2"), "/p/New.bmp");
  ASSERT_EQ(options.pictures.size(), 3u);

  EXPECT_EQ(choosePreviewPicture(options, store, "/P/B.JPG"), 1u);
  EXPECT_EQ(options.pictures.size(), 3u);
  EXPECT_FALSE(store.contains(settings::kSettings, "Pic3"));
  EXPECT_EQ(store.get(settings::kSettings, "PreviewPic"), "/P/B.JPG");
  EXPECT_EQ(pictureEntryFor(options.pictures, "/p/a.pngx"), std::nullopt);
}

}  // namespace
}  // namespace qm::picture
