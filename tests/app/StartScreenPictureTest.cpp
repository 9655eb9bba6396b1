#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/TivomarshApplication.h"
#include "platform/driver/AppDriver.h"
#include "platform/graphics/Bitmap.h"
#include "tests/support/ImageDifference.h"

namespace tmr {
namespace {

// The reference picture of the start screen, kept beside this test. Run with
// TMR_UPDATE_REFERENCE=1 to write it anew, then look at it before committing it.
// The tolerance: font smoothing may differ in a few edge pixels, but a changed digit (about 80
// pixels) must show.
constexpr int kThreshold = 48;
constexpr double kShare = 0.00004;  // 10 of the screen's 250,125 pixels
constexpr double kMean = 0.25;

std::filesystem::path Reference() {
  return AppDriver::DefaultAssetsDirectory().parent_path() / "tests" / "app" / "start-screen.png";
}

TEST(StartScreenPictureTest, TheStartScreenLooksLikeItsReferencePicture) {
  AppDriver app{TivomarshApplication()};
  app.start();
  auto shot = app.screenshot(1);
  ASSERT_EQ(shot->pixelWidth(), 375);
  ASSERT_EQ(shot->pixelHeight(), 667);
  if (const char* update = std::getenv("TMR_UPDATE_REFERENCE"); update && std::string(update) == "1") {
    shot->WritePng(Reference().string());
    GTEST_SKIP() << "wrote " << Reference();
  }
  auto reference = Bitmap::LoadPng(Reference().string());
  auto diff = ImageDifference::Of(*shot, *reference, kThreshold);
  if (!diff.within(kShare, kMean)) {
    auto actual = std::filesystem::temp_directory_path() / "start-screen-actual.png";
    shot->WritePng(actual.string());
    ADD_FAILURE() << diff.describe() << "; the picture made now is " << actual;
  }
}

TEST(StartScreenPictureTest, TheComparisonSeesAChangedScreen) {
  AppDriver app{TivomarshApplication()};
  app.start();
  app.find("pmbarks").setText("7");
  auto reference = Bitmap::LoadPng(Reference().string());
  auto diff = ImageDifference::Of(*app.screenshot(1), *reference, kThreshold);
  EXPECT_FALSE(diff.within(kShare, kMean)) << diff.describe();
}

}  // namespace
}  // namespace tmr
