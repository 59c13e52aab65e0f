// One preview through the temporary plugin and the host, as the editor runs it.

#include "core/editor/preview_run.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_folder.h"

namespace qm::editor {
namespace {

TEST(PreviewRun, CompilesTheRecordAndRunsItOnACopyOfThePicture) {
  qm::test::TempFolder dir;
  std::filesystem::copy_file(std::filesystem::path(QM_DATA_DIR) / "photo30.dll",
                             dir / "photo30.dll");
  PreviewRequest request;
  request.record.formulas = {"255-r", "ctl(2)", "x*10", "a"};
  request.record.controlNames[2] = "Green";
  request.record.sliderValues[2] = 77;
  auto picture = std::make_shared<host::Image>(host::Image::blank(4, 2, false));
  picture->pixel(1, 0)[0] = 5;
  request.picture = picture;
  request.options.programDir = dir.path();

  auto result = runPreview(request, nullptr);
  ASSERT_TRUE(result.image) << result.message;
  EXPECT_EQ(result.image->pixel(1, 0)[0], 250);
  EXPECT_EQ(result.image->pixel(1, 0)[1], 77);
  EXPECT_EQ(result.image->pixel(3, 1)[2], 30);
  EXPECT_EQ(picture->pixel(1, 0)[0], 5);  // the preview copy stays as it was
  EXPECT_TRUE(std::filesystem::exists(dir / "preview" / "temp.dll"));

  request.cancelled = [] { return true; };  // a newer preview came
  result = runPreview(request, nullptr);
  EXPECT_FALSE(result.image);
  EXPECT_TRUE(result.message.empty());
  request.cancelled = nullptr;

  request.record.formulas[0] = "r+";
  result = runPreview(request, nullptr);
  EXPECT_FALSE(result.image);
  EXPECT_NE(result.message.find("R formula"), std::string::npos) << result.message;

  request.options.programDir = dir / "missing";
  result = runPreview(request, nullptr);
  EXPECT_FALSE(result.image);
  EXPECT_FALSE(result.message.empty());
}

}  // namespace
}  // namespace qm::editor
