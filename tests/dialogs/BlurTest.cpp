#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "bitmap/tm_bitmapcreator.h"
#include "platform/graphics/Bitmap.h"
#include "platform/views/ImageViewWrapper.h"
#include "tests/dialogs/DialogHarness.h"

namespace tmr {
namespace {

// An opaque picture whose red channel is given pixel by pixel, row by row.
std::shared_ptr<Bitmap> RedPicture(int width, int height, const std::vector<uint8_t>& reds) {
  std::vector<uint8_t> rgba;
  for (uint8_t r : reds) rgba.insert(rgba.end(), {r, 0, 0, 255});
  return Bitmap::FromPixels(width, height, rgba);
}

std::vector<int> Reds(const std::shared_ptr<tm_bitmapcreator>& bc) {
  std::vector<int> out;
  for (int y = 0; y < bc->mheight; ++y) {
    for (int x = 0; x < bc->mwidth; ++x) out.push_back((bc->_getcolor(x, y) >> 16) & 0xFF);
  }
  return out;
}

TEST(DialogBlur, TwoPassesOfAThreePixelAverageThatReadsTheValuesBeforeEachStep) {
  struct Case {
    const char* what;
    int width;
    int height;
    std::vector<uint8_t> in;
    std::vector<int> out;
  } cases[] = {
      // Pass 1: [0,30,60,30,0]; pass 2: [0,30,40,30,0]; the end pixels are never written.
      {"a row", 5, 1, {0, 90, 0, 90, 0}, {0, 30, 40, 30, 0}},
      {"a column", 1, 5, {0, 90, 0, 90, 0}, {0, 30, 40, 30, 0}},
      {"3 wide: only the middle", 3, 1, {90, 0, 0}, {90, 40, 0}},
      {"narrower than 3: left alone", 2, 2, {90, 0, 0, 90}, {90, 0, 0, 90}},
      {"one pixel", 1, 1, {77}, {77}},
  };
  for (const auto& c : cases) {
    DialogHarness h;
    h.dialog->blurreducescale = 1;
    auto bc = h.dialog->_blur(RedPicture(c.width, c.height, c.in));
    ASSERT_EQ(bc->mwidth, c.width) << c.what;
    ASSERT_EQ(bc->mheight, c.height) << c.what;
    EXPECT_EQ(Reds(bc), c.out) << c.what;
    EXPECT_TRUE(h.logged("Time: ")) << c.what;
  }
}

TEST(DialogBlur, ThePictureIsShrunkByTheReduceFactor) {
  DialogHarness h;
  std::vector<uint8_t> reds(30 * 12, 200);
  auto bc = h.dialog->_blur(RedPicture(30, 12, reds));
  EXPECT_EQ(bc->mwidth, 10);
  EXPECT_EQ(bc->mheight, 4);
  EXPECT_EQ(bc->_getcolor(5, 2), static_cast<int32_t>(0xFFC80000)) << "a flat picture stays flat";
  h.dialog->blurreducescale = 0;  // no division by zero: kept at its size
  bc = h.dialog->_blur(RedPicture(2, 2, {1, 2, 3, 4}));
  EXPECT_EQ(bc->mwidth, 2);
}

TEST(DialogBlur, ABlurredBackgroundShowsTheScreenBelowShrunkAndBlurred) {
  DialogHarness h;
  h.below.setColor(static_cast<int32_t>(0xFF336699));
  h.dialog->blurbackground = true;
  h.message();
  View bg = h.dialog->background;
  EXPECT_EQ(bg.Color(), UiLayer::Color_Transparent);
  ImageViewWrapper iv = ImageViewWrapper::FromObject(Object(h.dialog->blurimageview));
  ASSERT_TRUE(iv.IsInitialized());
  EXPECT_EQ(iv.Parent(), bg);
  EXPECT_EQ(iv.native()->frame(), (Frame{0, 0, 400, 600}));
  auto bmp = iv.GetBitmap();
  ASSERT_TRUE(bmp);
  EXPECT_EQ(bmp->pixelWidth(), 133);
  EXPECT_EQ(bmp->pixelHeight(), 200);
  EXPECT_TRUE(h.logged("Time: "));
  EXPECT_TRUE(bg.Visible()) << "hidden only while the picture is taken";
}

}  // namespace
}  // namespace tmr
