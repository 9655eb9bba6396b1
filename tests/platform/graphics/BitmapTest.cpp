// The platform bitmap: sizes, stretching and PNG files.
#include "platform/graphics/Bitmap.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/core/RuntimeError.h"

namespace tmr {
namespace {

std::shared_ptr<Bitmap> uniform(int w, int h, std::array<uint8_t, 4> p) {
  auto b = Bitmap::Create(w, h);
  for (size_t i = 0; i < b->pixels().size(); ++i) b->pixels()[i] = p[i % 4];
  return b;
}

TEST(BitmapTest, SizesAndEmptyBitmaps) {
  auto b = Bitmap::Create(5, 3);
  EXPECT_EQ(b->Width(), 5.0f);
  EXPECT_EQ(b->Height(), 3.0f);
  EXPECT_EQ(b->pixels().size(), 60u);
  EXPECT_EQ(Bitmap::Create(-4, 3)->pixels().size(), 0u);
  EXPECT_THROW(Bitmap::Create(60000, 60000), RuntimeError);
  EXPECT_THROW(Bitmap::FromPixels(2, 2, std::vector<uint8_t>(15)), RuntimeError);
}

TEST(BitmapTest, ResizeKeepsUniformColoursExactly) {
  for (auto [w, h] : std::vector<std::pair<int, int>>{{20, 5}, {3, 7}, {1, 1}, {10, 10}, {37, 2}}) {
    auto r = uniform(10, 10, {30, 60, 90, 120})->Resize(static_cast<float>(w), static_cast<float>(h), false);
    ASSERT_EQ(r->pixelWidth(), w);
    ASSERT_EQ(r->pixelHeight(), h);
    for (size_t i = 0; i < r->pixels().size(); ++i)
      ASSERT_EQ(r->pixels()[i], (std::array<uint8_t, 4>{30, 60, 90, 120})[i % 4]);
  }
}

TEST(BitmapTest, ResizeAveragesWhenShrinkingAndKeepsAspectOnRequest) {
  auto b = Bitmap::Create(2, 1);
  b->pixels()[3] = 255;  // opaque black, then transparent
  auto half = b->Resize(1, 1, false);
  EXPECT_EQ(half->pixels()[3], 128);
  auto fit = uniform(40, 20, {0, 0, 0, 255})->Resize(10, 10, true);
  EXPECT_EQ(fit->pixelWidth(), 10);
  EXPECT_EQ(fit->pixelHeight(), 5);
}

TEST(BitmapTest, PngRoundTripKeepsOpaqueAndTransparentPixels) {
  auto b = Bitmap::Create(3, 2);
  auto set = [&](int i, std::array<uint8_t, 4> p) {
    for (int c = 0; c < 4; ++c) b->pixels()[static_cast<size_t>(i * 4 + c)] = p[static_cast<size_t>(c)];
  };
  set(0, {255, 0, 0, 255});
  set(1, {0, 128, 255, 255});
  set(3, {100, 50, 25, 200});
  std::string path = ::testing::TempDir() + "/bitmap_png_round_trip.png";
  b->WritePng(path);
  auto back = Bitmap::LoadPng(path);
  ASSERT_EQ(back->pixelWidth(), 3);
  ASSERT_EQ(back->pixelHeight(), 2);
  for (size_t i = 0; i < 24; ++i) EXPECT_NEAR(back->pixels()[i], b->pixels()[i], 1) << i;
  for (size_t i : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}) EXPECT_EQ(back->pixels()[i], b->pixels()[i]) << i;
  std::remove(path.c_str());
}

// An opaque picture is stored without alpha and read back a band of rows at a time; a picture
// larger than the limit on either side is refused, naming the file, before it is decoded.
TEST(BitmapTest, PngFilesReadBackWholeUpToTheSizeLimit) {
  struct Case {
    int width, height;
    bool opaque;
    bool loads;
  } const cases[] = {
      {70, 150, true, true},
      {70, 150, false, true},
      {static_cast<int>(Bitmap::kMaxPngSide), 1, true, true},
      {static_cast<int>(Bitmap::kMaxPngSide) + 1, 1, true, false},
      {1, static_cast<int>(Bitmap::kMaxPngSide) + 1, false, false},
  };
  const std::string path = ::testing::TempDir() + "/bitmap_png_sizes.png";
  for (const auto& c : cases) {
    auto b = Bitmap::Create(c.width, c.height);
    auto px = b->pixels();
    for (size_t i = 0; i < px.size(); i += 4) {
      const uint8_t a = c.opaque ? 255 : static_cast<uint8_t>(i / 4 % 256);
      px[i] = static_cast<uint8_t>(i / 4 * 7 % 256 * a / 255);
      px[i + 1] = static_cast<uint8_t>(i / 4 % 13 * a / 13);
      px[i + 2] = static_cast<uint8_t>(i / 4 / 70 * a / 150);
      px[i + 3] = a;
    }
    b->WritePng(path);
    const std::string what = std::to_string(c.width) + "x" + std::to_string(c.height);
    if (!c.loads) {
      try {
        Bitmap::LoadPng(path);
        ADD_FAILURE() << what << " loaded";
      } catch (const RuntimeError& e) {
        EXPECT_EQ(std::string(e.what()), "Image too large: " + path + " is " + what + " pixels (at most 8192 on a side)");
      }
      continue;
    }
    auto back = Bitmap::LoadPng(path);
    ASSERT_EQ(back->pixelWidth(), c.width) << what;
    ASSERT_EQ(back->pixelHeight(), c.height) << what;
    for (size_t i = 0; i < px.size(); ++i) {
      if (c.opaque) {
        ASSERT_EQ(back->pixels()[i], px[i]) << what << " byte " << i;
      } else {
        ASSERT_NEAR(back->pixels()[i], px[i], 1) << what << " byte " << i;
      }
    }
  }
  std::remove(path.c_str());
}

TEST(BitmapTest, UnreadableAndUnwritableFilesAreErrors) {
  EXPECT_THROW(Bitmap::LoadPng("/nonexistent/picture.png"), RuntimeError);
  EXPECT_THROW(Bitmap::Create(2, 2)->WritePng("/nonexistent/dir/picture.png"), RuntimeError);
  EXPECT_THROW(Bitmap::Create(0, 2)->WritePng(::testing::TempDir() + "/empty.png"), RuntimeError);
}

}  // namespace
}  // namespace tmr
