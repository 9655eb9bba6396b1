// The platform bitmap: sizes, stretching and PNG files.
#include "platform/graphics/Bitmap.h"

#include <gtest/gtest.h>

#include <cstdio>

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

TEST(BitmapTest, UnreadableAndUnwritableFilesAreErrors) {
  EXPECT_THROW(Bitmap::LoadPng("/nonexistent/picture.png"), RuntimeError);
  EXPECT_THROW(Bitmap::Create(2, 2)->WritePng("/nonexistent/dir/picture.png"), RuntimeError);
  EXPECT_THROW(Bitmap::Create(0, 2)->WritePng(::testing::TempDir() + "/empty.png"), RuntimeError);
}

}  // namespace
}  // namespace tmr
