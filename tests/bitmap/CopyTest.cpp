// Copies between bitmap creators: plain, blended, unblended, scaled and rotated, and single pixels.
#include <cmath>
#include <limits>

#include "tests/bitmap/BitmapTestSupport.h"

namespace tmr::testing {
namespace {

class CopyTest : public BitmapTest {
 protected:
  // An opaque source whose pixel (x, y) is (x, y, 7, 255).
  std::shared_ptr<tm_bitmapcreator> numbered(int w, int h) {
    auto s = make(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) put(s, x, y, Pixel{x, y, 7, 255});
    return s;
  }
  std::shared_ptr<_drawtask> task(const std::shared_ptr<tm_bitmapcreator>& src, Rect r, int tx, int ty, float scale,
                                  int degrees, bool skip = false) {
    auto t = std::make_shared<_drawtask>();
    t->Source = Object(src);
    t->SrcRect = r;
    t->TargetX = tx;
    t->TargetY = ty;
    t->SrcScaleX = t->SrcScaleY = scale;
    t->Degrees = degrees;
    t->SkipBlending = skip;
    t->Transform = true;
    return t;
  }
};

TEST_F(CopyTest, PlainCopyClipsAtTheTopLeft) {
  auto src = numbered(10, 10), dst = make(20, 20);
  dst->_drawbitmapcreator(src, Rect(0, 0, 10, 10), -5, -5, false);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x)
      ASSERT_EQ(px(dst, x, y), (x < 5 && y < 5 ? Pixel{x + 5, y + 5, 7, 255} : kClear)) << x << "," << y;
  auto none = make(20, 20);
  none->_drawbitmapcreator(src, Rect(0, 0, 10, 10), 20, 0, false);
  none->_drawbitmapcreator(src, Rect(0, 0, 10, 10), 0, 20, true);
  none->_drawbitmapcreator(src, Rect(0, 0, 10, 10), -11, 0, true);
  EXPECT_EQ(painted(none), 0);
}

TEST_F(CopyTest, BlendedCopyFollowsTheBlendRule) {
  auto src = make(3, 1), dst = make(3, 1);
  put(src, 0, 0, Pixel{128, 0, 0, 128});
  put(src, 1, 0, Pixel{50, 60, 70, 0});
  put(src, 2, 0, Pixel{1, 2, 3, 255});
  fill(dst, kWhite);
  dst->_drawbitmapcreator(src, src->targetrect, 0, 0, false);
  EXPECT_EQ(px(dst, 0, 0), (Pixel{255, 127, 127, 255}));
  EXPECT_EQ(px(dst, 1, 0), kWhite);
  EXPECT_EQ(px(dst, 2, 0), (Pixel{1, 2, 3, 255}));
}

TEST_F(CopyTest, BlendedRunsMatchTheSinglePixelBlendForEveryAlpha) {
  auto src = make(256, 3), dst = make(256, 3), ref = make(256, 3);
  for (int y = 0; y < 3; ++y)
    for (int a = 0; a < 256; ++a) {
      put(src, a, y, Pixel{(a * 7 + y) % (a + 1), (a * 3) % (a + 1), a / 2, a});
      Pixel d{(a * 11 + 50 * y) % 256, (a * 5) % 256, 255 - a, (a * 13 + y) % 256};
      put(dst, a, y, d);
      put(ref, a, y, d);
    }
  dst->_drawbitmapcreator(src, src->targetrect, 0, 0, false);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 256; ++x) ref->_blendpixel(src, x, y, x, y);
  EXPECT_EQ(bytes(dst), bytes(ref));
}

TEST_F(CopyTest, UnblendedCopyReplacesEvenWithTransparentPixels) {
  auto src = make(4, 4), dst = make(6, 6);
  fill(dst, kWhite);
  put(src, 1, 1, Pixel{9, 9, 9, 100});
  dst->_drawbitmapcreator(src, src->targetrect, 1, 1, true);
  EXPECT_EQ(px(dst, 1, 1), kClear);
  EXPECT_EQ(px(dst, 2, 2), (Pixel{9, 9, 9, 100}));
  EXPECT_EQ(px(dst, 5, 5), kWhite);
  auto whole = make(4, 4);
  auto numberedSrc = numbered(4, 4);
  whole->_drawbitmapcreator(numberedSrc, Rect(0, 0, 4, 4), 0, 0, true);
  EXPECT_EQ(bytes(whole), bytes(numberedSrc));
}

TEST_F(CopyTest, TransparentSourcesLeaveTheTargetInTheTransformedCopyAndPixelCopy) {
  auto src = make(4, 4), dst = make(10, 10);
  fill(dst, kWhite);
  for (int deg : {0, 90, 30}) {
    dst->_drawbitmapcreatortransformed(task(src, Rect(0, 0, 4, 4), 5, 5, 1, deg, true));
    dst->_drawbitmapcreatortransformed(task(src, Rect(0, 0, 4, 4), 5, 5, 1, deg, false));
  }
  dst->_copypixelignoresemitransparent(src, 0, 0, 3, 3, true);
  dst->_copypixelignoresemitransparent(src, 0, 0, 3, 3, false);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(px(dst, x, y), kWhite);
  put(src, 1, 1, Pixel{128, 0, 0, 128});
  dst->_copypixelignoresemitransparent(src, 1, 1, 0, 0, true);
  dst->_copypixelignoresemitransparent(src, 1, 1, 1, 0, false);
  dst->_copypixel(src, 1, 1, 2, 0);
  EXPECT_EQ(px(dst, 0, 0), (Pixel{128, 0, 0, 128}));
  EXPECT_EQ(px(dst, 1, 0), (Pixel{255, 127, 127, 255}));
  EXPECT_EQ(px(dst, 2, 0), (Pixel{128, 0, 0, 128}));
}

TEST_F(CopyTest, ScaledCopyTurnsEachSourcePixelIntoABlock) {
  auto src = numbered(10, 10), dst = make(100, 100);
  dst->_drawbitmapcreatortransformed(task(src, Rect(0, 0, 10, 10), 50, 50, 2, 0));
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) {
      bool in = x >= 40 && x < 60 && y >= 40 && y < 60;
      ASSERT_EQ(px(dst, x, y), (in ? Pixel{(x - 40) / 2, (y - 40) / 2, 7, 255} : kClear)) << x << "," << y;
    }
}

TEST_F(CopyTest, RightAngleRotationsAreClockwise) {
  auto src = numbered(4, 2);
  auto at = [&](int degrees) {
    auto dst = make(20, 20);
    dst->_drawbitmapcreatortransformed(task(src, Rect(0, 0, 4, 2), 10, 10, 1, degrees));
    return dst;
  };
  auto d90 = at(90), d180 = at(180), d270 = at(270);
  for (int k = 0; k < 2; ++k)
    for (int j = 0; j < 4; ++j) {
      EXPECT_EQ(px(d90, 9 + k, 8 + j), (Pixel{j, 1 - k, 7, 255})) << k << "," << j;
      EXPECT_EQ(px(d270, 9 + k, 8 + j), (Pixel{3 - j, k, 7, 255})) << k << "," << j;
    }
  for (int j = 0; j < 2; ++j)
    for (int k = 0; k < 4; ++k) EXPECT_EQ(px(d180, 8 + k, 9 + j), (Pixel{3 - k, 1 - j, 7, 255})) << k << "," << j;
  EXPECT_EQ(painted(d90), 8);
  EXPECT_EQ(painted(d180), 8);
  EXPECT_EQ(painted(d270), 8);
  EXPECT_EQ(bytes(at(-90)), bytes(d270));
  EXPECT_EQ(bytes(at(450)), bytes(d90));
  EXPECT_EQ(bytes(at(-180)), bytes(d180));
}

TEST_F(CopyTest, RotationByOtherAnglesKeepsTheImageAroundItsCentre) {
  auto src = numbered(20, 20);
  for (int deg : {30, 45, 135, 200, 300}) {
    auto dst = make(100, 100);
    dst->_drawbitmapcreatortransformed(task(src, Rect(0, 0, 20, 20), 50, 50, 1, deg));
    int n = painted(dst);
    EXPECT_GT(n, 340) << deg;
    EXPECT_LT(n, 440) << deg;
    Pixel centre = px(dst, 50, 50);
    EXPECT_NEAR(centre[0], 10, 1) << deg;
    EXPECT_NEAR(centre[1], 10, 1) << deg;
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 100; ++x)
        if (alpha(dst, x, y) != 0) {
          ASSERT_LE(std::hypot(x - 50, y - 50), 15.5) << deg << ": " << x << "," << y;
        }
  }
}

TEST_F(CopyTest, TransformedCopiesWithNothingToDraw) {
  auto src = numbered(10, 10), dst = make(30, 30);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  for (float scale : {0.0f, -1.0f, nan, std::numeric_limits<float>::infinity(), 0.01f})
    dst->_drawbitmapcreatortransformed(task(src, Rect(0, 0, 10, 10), 15, 15, scale, 30));
  dst->_drawbitmapcreatortransformed(task(src, Rect(nan, 0, 10, 10), 15, 15, 1, 0));
  dst->_drawbitmapcreatortransformed(task(src, Rect(20, 20, 30, 30), 15, 15, 1, 0));
  auto noSource = task(nullptr, Rect(0, 0, 10, 10), 15, 15, 1, 0);
  dst->_drawbitmapcreatortransformed(noSource);
  EXPECT_EQ(painted(dst), 0);
}

TEST_F(CopyTest, ThinSourcesAtSmallAnglesAndHugeScalesStayBounded) {
  auto thin = numbered(20, 1), dst = make(40, 40);
  for (int deg : {1, 3, 89, 179, 181, 359})
    dst->_drawbitmapcreatortransformed(task(thin, Rect(0, 0, 20, 1), 20, 20, 1, deg));
  EXPECT_LE(painted(dst), 6 * 40);
  auto src = numbered(4, 4);
  for (int deg : {0, 30, 90}) {
    auto big = make(30, 30);
    big->_drawbitmapcreatortransformed(task(src, Rect(0, 0, 4, 4), 15, 15, 1e6f, deg));
    EXPECT_EQ(painted(big), 900) << deg;
  }
}

TEST_F(CopyTest, SourceRectanglesAreCutToTheSource) {
  auto src = numbered(5, 5), dst = make(20, 20);
  dst->_drawbitmapcreator(src, Rect(-3, 0, 5, 5), 10, 10, false);
  EXPECT_EQ(px(dst, 13, 10), (Pixel{0, 0, 7, 255}));
  EXPECT_EQ(px(dst, 17, 14), (Pixel{4, 4, 7, 255}));
  EXPECT_EQ(px(dst, 12, 10), kClear);
  EXPECT_EQ(painted(dst), 25);
  auto wide = make(20, 20);
  wide->_drawbitmapcreator(src, Rect(2, -2, 50, 50), 0, 0, true);
  EXPECT_EQ(px(wide, 0, 2), (Pixel{2, 0, 7, 255}));
  EXPECT_EQ(painted(wide), 15);
  auto rotated = make(40, 40);
  rotated->_drawbitmapcreatortransformed(task(src, Rect(-10, -10, 15, 15), 20, 20, 1, 30));
  rotated->_drawbitmapcreatortransformed(task(src, Rect(-10, -10, 15, 15), 20, 20, 1, 90));
  EXPECT_GT(painted(rotated), 20);
  EXPECT_LE(painted(rotated), 60);
}

TEST_F(CopyTest, CopyingABitmapCreatorOntoItself) {
  for (bool skip : {true, false}) {
    auto bc = numbered(10, 3);
    bc->_drawbitmapcreator(bc, Rect(0, 0, 8, 3), 2, 0, skip);
    for (int x = 0; x < 10; ++x) EXPECT_EQ(px(bc, x, 1)[0], x < 2 ? x : x - 2) << x;
    bc->_drawbitmapcreator(bc, Rect(0, 0, 10, 3), -2, -1, skip);
    EXPECT_EQ(px(bc, 0, 0), (Pixel{0, 1, 7, 255}));
    EXPECT_EQ(px(bc, 3, 1), (Pixel{3, 2, 7, 255}));
  }
  auto bc = numbered(8, 8);
  bc->_drawbitmapcreatortransformed(task(bc, Rect(0, 0, 4, 4), 4, 4, 2, 90));
  EXPECT_EQ(px(bc, 0, 0), (Pixel{0, 3, 7, 255}));
}

TEST_F(CopyTest, ReplacingSemiTransparentPixels) {
  auto bc = make(3, 2);
  put(bc, 1, 0, Pixel{10, 10, 10, 128});
  put(bc, 2, 0, kWhite);
  put(bc, 0, 1, Pixel{1, 1, 1, 1});
  bc->_replacesemitransparentpixels(Rect(0, 0, 3, 1), static_cast<int32_t>(0x80FF0000));
  EXPECT_EQ(px(bc, 0, 0), kClear);
  EXPECT_EQ(px(bc, 1, 0), (Pixel{128, 0, 0, 128}));
  EXPECT_EQ(px(bc, 2, 0), kWhite);
  EXPECT_EQ(px(bc, 0, 1), (Pixel{1, 1, 1, 1}));  // outside the rectangle
  bc->_replacesemitransparentpixels(Rect(-100, -100, 100, 100), -1);
  EXPECT_EQ(px(bc, 0, 1), kWhite);
}

TEST_F(CopyTest, DrawingAPlatformBitmapStretchesItIntoTheRectangle) {
  auto bmp = Bitmap::Create(2, 2);
  for (size_t i = 0; i < bmp->pixels().size(); i += 4) bmp->pixels()[i + 2] = bmp->pixels()[i + 3] = 255;
  auto bc = make(8, 8);
  bc->_drawbitmap(bmp, Rect(1, 1, 5, 5), false);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      ASSERT_EQ(px(bc, x, y), (x >= 1 && x < 5 && y >= 1 && y < 5 ? Pixel{0, 0, 255, 255} : kClear)) << x << "," << y;
  // A rectangle far larger than the bitmap: only the part on the bitmap is made.
  auto huge = make(8, 8);
  huge->_drawbitmap(bmp, Rect(-1e6f, -1e6f, 1e6f, 1e6f), true);
  EXPECT_EQ(painted(huge), 64);
  EXPECT_EQ(px(huge, 7, 7), (Pixel{0, 0, 255, 255}));
  // A part of a stretched picture equals that part of the whole stretched picture.
  auto grad = Bitmap::Create(3, 2);
  for (size_t i = 0; i < grad->pixels().size(); ++i) grad->pixels()[i] = static_cast<uint8_t>(i % 4 == 3 ? 255 : i * 9);
  auto part = make(8, 8);
  part->_drawbitmap(grad, Rect(-3, -2, 5, 6), true);
  auto full = grad->Resize(8, 8, false);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 5; ++x)
      for (int c = 0; c < 4; ++c)
        ASSERT_EQ(px(part, x, y)[static_cast<size_t>(c)],
                  full->pixels()[static_cast<size_t>(((y + 2) * 8 + x + 3) * 4 + c)]);
  auto none = make(8, 8);
  none->_drawbitmap(bmp, Rect(1, 1, 1.5f, 5), false);
  none->_drawbitmap(bmp, Rect(1, 1, 5, 0), false);
  none->_drawbitmap(nullptr, Rect(1, 1, 5, 5), false);
  EXPECT_EQ(painted(none), 0);
}

}  // namespace
}  // namespace tmr::testing
