// The bitmap creator's buffer to and from platform bitmaps, and its native methods by name.
#include "platform/views/ImageViewWrapper.h"
#include "tests/bitmap/BitmapTestSupport.h"

namespace tmr::testing {
namespace {

class PlatformBitmapTest : public BitmapTest {
 protected:
  static std::shared_ptr<Bitmap> uniform(int w, int h, Pixel p) {
    auto b = Bitmap::Create(w, h);
    for (size_t i = 0; i < b->pixels().size(); ++i) b->pixels()[i] = static_cast<uint8_t>(p[i % 4]);
    return b;
  }
};

TEST_F(PlatformBitmapTest, NewBitmapCreatorGivesATransparentBitmapOfItsSize) {
  auto bc = make(7, 3);
  auto bmp = bc->_getbitmap();
  ASSERT_TRUE(bmp);
  EXPECT_EQ(bmp->Width(), 7.0f);
  EXPECT_EQ(bmp->Height(), 3.0f);
  for (uint8_t b : bmp->pixels()) ASSERT_EQ(b, 0);
}

TEST_F(PlatformBitmapTest, GetBitmapCopiesTheBufferAndGetBufferIsTheBufferItself) {
  auto bc = make(2, 2);
  bc->_setcolor(1, 0, static_cast<int32_t>(0x80FF8000));
  auto bmp = bc->_getbitmap();
  EXPECT_EQ(std::vector<uint8_t>(bmp->pixels().begin(), bmp->pixels().end()), bytes(bc));
  bc->_setcolor(0, 0, -1);
  EXPECT_EQ(bmp->pixels()[3], 0);  // a later drawing needs a new bitmap
  EXPECT_EQ(bc->_getbuffer(), bc->mbuffer);
}

TEST_F(PlatformBitmapTest, TheBitmapGoesIntoAnImageView) {
  auto bc = make(4, 4);
  bc->_fillrect(-1, bc->targetrect);
  ImageViewWrapper iv;
  iv.Initialize(ba, "");
  auto bmp = bc->_getbitmap();
  bc->_setbitmaptoimageview(bmp, iv);
  EXPECT_EQ(iv.GetBitmap(), bmp);
}

TEST_F(PlatformBitmapTest, CopyingABitmapOfAnotherSizeStretchesIt) {
  auto bc = make(20, 5);
  bc->_copypixelsfrombitmap(uniform(10, 10, Pixel{0, 200, 0, 255}));
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(px(bc, x, y), (Pixel{0, 200, 0, 255})) << x << "," << y;
  auto halves = Bitmap::Create(2, 1);
  halves->pixels()[3] = 255;                        // left pixel opaque black
  halves->pixels()[4] = halves->pixels()[7] = 255;  // right pixel opaque red
  auto wide = make(8, 1);
  wide->_copypixelsfrombitmap(halves);
  EXPECT_EQ(px(wide, 0, 0), (Pixel{0, 0, 0, 255}));
  EXPECT_EQ(px(wide, 7, 0), (Pixel{255, 0, 0, 255}));
}

TEST_F(PlatformBitmapTest, FirstCopyCompositesOverTheDrawingAndLaterCopiesClearFirst) {
  auto translucent = uniform(4, 4, Pixel{64, 64, 64, 128});
  auto bc = make(4, 4);
  bc->_fillrect(static_cast<int32_t>(0xFFFF0000), bc->targetrect);
  EXPECT_FALSE(bc->shouldclearbeforeextracting);
  bc->_copypixelsfrombitmap(translucent);
  EXPECT_TRUE(bc->shouldclearbeforeextracting);
  // 64 + k × 255 with k = float(1 - 128/255.0): 64 + 127 = 191; 64 + 127 = 191 for alpha.
  EXPECT_EQ(px(bc, 2, 2), (Pixel{191, 64, 64, 255}));
  bc->_copypixelsfrombitmap(translucent);
  auto once = bytes(bc);
  bc->_copypixelsfrombitmap(translucent);
  EXPECT_EQ(bytes(bc), once);
  EXPECT_EQ(px(bc, 0, 0), (Pixel{64, 64, 64, 128}));
}

TEST_F(PlatformBitmapTest, NativeMethodsWorkOnTheBufferInPlace) {
  auto bc = make(3, 2);
  NativeObject no{Object(bc)};
  auto bmp = uniform(3, 2, Pixel{1, 2, 3, 255});
  no.RunMethod("UIImageToBuffer:::::", {Object(bmp), Object(bc->mbuffer), 3, 2, false});
  EXPECT_EQ(px(bc, 2, 1), (Pixel{1, 2, 3, 255}));
  auto image = no.RunMethod("bufferToUIImage:::", {Object(bc->mbuffer), 3, 2}).object().As<Bitmap>();
  ASSERT_TRUE(image);
  EXPECT_EQ(image->pixelWidth(), 3);
  EXPECT_EQ(image->pixels()[4], 1);
  no.RunMethod("UIImageToBuffer:::::", {Object(uniform(3, 2, kClear)), Object(bc->mbuffer), 3, 2, true});
  EXPECT_EQ(painted(bc), 0);
}

TEST_F(PlatformBitmapTest, AContextThatCannotBeMadeIsLoggedAndLeavesTheBuffer) {
  auto bc = make(2, 2);
  fill(bc, kWhite);
  bc->UIImageToBuffer(uniform(2, 2, Pixel{0, 0, 0, 255}), bc->mbuffer, 0, 2, false);
  EXPECT_EQ(px(bc, 1, 1), kWhite);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), "Failed To create bitmap context");
  bc->UIImageToBuffer(uniform(2, 2, Pixel{0, 0, 0, 255}), bc->mbuffer, 5, 5, true);  // rows too long
  EXPECT_EQ(painted(bc), 0);
  EXPECT_EQ(log.back(), "Failed To create bitmap context");
}

TEST_F(PlatformBitmapTest, BitmapsDrawnIntoABitmapCreatorRoundTripThroughPng) {
  auto bc = make(16, 8);
  bc->_drawcircle(8, 4, 3, static_cast<int32_t>(0xFF2080C0), true, 0);
  bc->_drawline(0, 0, 15, 7, static_cast<int32_t>(0x80FFFFFF), 1);
  std::string path = ::testing::TempDir() + "/bitmap_creator_round_trip.png";
  bc->_getbitmap()->WritePng(path);
  auto back = make(16, 8);
  back->_copypixelsfrombitmap(Bitmap::LoadPng(path));
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x) {
      Pixel a = px(bc, x, y), b = px(back, x, y);
      ASSERT_EQ(a[3], b[3]) << x << "," << y;
      for (int c = 0; c < 3; ++c) ASSERT_NEAR(a[static_cast<size_t>(c)], b[static_cast<size_t>(c)], 1) << x << "," << y;
    }
}

TEST_F(PlatformBitmapTest, EmptyBitmapCreatorsGiveTakeAndDrawEmptyBitmaps) {
  for (auto [w, h] : {std::pair{0, 0}, {0, 5}, {5, 0}}) {
    SCOPED_TRACE(::testing::Message() << w << "x" << h);
    auto empty = make(w, h);
    auto bmp = empty->_getbitmap();
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->Width(), static_cast<float>(w));
    EXPECT_EQ(bmp->Height(), static_cast<float>(h));
    for (int i = 0; i < 2; ++i) empty->_copypixelsfrombitmap(uniform(3, 3, kWhite));  // the second copy clears first
    auto target = make(4, 4);
    target->_drawbitmap(bmp, Rect(0, 0, 4, 4), true);
    target->_drawbitmapcreator(empty, empty->targetrect, 0, 0, true);
    target->_fillhorizontalline(0, 4, 1, target->_createbrushfrombitmapcreator(empty));
    EXPECT_EQ(painted(target), 0);
  }
}

}  // namespace
}  // namespace tmr::testing
