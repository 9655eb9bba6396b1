// Conversions between Cairo's pixel words and the bitmap's RGBA bytes.
#include "platform/graphics/CairoPixels.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/graphics/Bitmap.h"

namespace tmr {
namespace {

// Widths around the four pixels that the conversion takes at a time, with rows padded the way
// Cairo may pad them: every pixel lands where a pixel-by-pixel conversion puts it, and back.
TEST(CairoPixelsTest, EveryPixelOfEveryRowConvertsBothWays) {
  const int height = 3;
  for (int width : {1, 3, 4, 5, 8, 9, 13, 17}) {
    const int stride = width * 4 + 12;
    std::vector<unsigned char> words(static_cast<size_t>(stride) * height, 0xEE);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        uint32_t w = 0x01020304u * static_cast<uint32_t>(x + 1) + 0x10305070u * static_cast<uint32_t>(y);
        std::memcpy(&words[static_cast<size_t>(y) * stride + 4 * static_cast<size_t>(x)], &w, 4);
      }
    }
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
    CopyArgbToRgba(words.data(), stride, width, height, rgba.data());
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        uint32_t w;
        std::memcpy(&w, &words[static_cast<size_t>(y) * stride + 4 * static_cast<size_t>(x)], 4);
        const uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
        ASSERT_EQ(p[0], (w >> 16) & 0xFF) << width << " " << x << "," << y;
        ASSERT_EQ(p[1], (w >> 8) & 0xFF) << width << " " << x << "," << y;
        ASSERT_EQ(p[2], w & 0xFF) << width << " " << x << "," << y;
        ASSERT_EQ(p[3], w >> 24) << width << " " << x << "," << y;
      }
    }
    std::vector<unsigned char> back(words.size(), 0xEE);
    CopyRgbaToArgb(rgba.data(), width, height, back.data(), stride);
    EXPECT_EQ(back, words) << "width " << width << ": the padding is left alone";
  }
}

TEST(CairoPixelsTest, ABitmapSurvivesARoundTripThroughASurface) {
  auto b = Bitmap::Create(7, 2);
  for (size_t i = 0; i < b->pixels().size(); ++i) b->pixels()[i] = static_cast<uint8_t>(i * 37 % 251);
  cairo_surface_t* s = CairoSurfaceFromBitmap(*b);
  auto back = BitmapFromCairoSurface(s);
  cairo_surface_destroy(s);
  ASSERT_EQ(back->pixelWidth(), 7);
  ASSERT_EQ(back->pixelHeight(), 2);
  EXPECT_TRUE(std::equal(b->pixels().begin(), b->pixels().end(), back->pixels().begin()));
}

}  // namespace
}  // namespace tmr
