// Brushes and horizontal spans.
#include "tests/bitmap/BitmapTestSupport.h"

namespace tmr::testing {
namespace {

class BrushSpanTest : public BitmapTest {
 protected:
  // A pattern of width w and height h whose pixel (x, y) is opaque with R = x, G = y.
  std::shared_ptr<tm_bitmapcreator> pattern(int w, int h) {
    auto p = make(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) put(p, x, y, Pixel{x, y, 9, 255});
    return p;
  }
};

TEST_F(BrushSpanTest, ColourBrushHoldsAStripOfThePremultipliedColour) {
  auto bc = make(5, 3);
  auto brush = bc->_createbrushfromcolor(static_cast<int32_t>(0x80FFFFFF));
  EXPECT_FALSE(brush->IsInitialized);
  EXPECT_TRUE(brush->IsColorSource);
  EXPECT_TRUE(brush->BlendBorders);
  EXPECT_FALSE(brush->BlendAll);
  EXPECT_EQ(brush->Source->mwidth, 5);
  EXPECT_EQ(brush->Source->mheight, 1);
  for (int x = 0; x < 5; ++x) EXPECT_EQ(px(brush->Source, x, 0), (Pixel{128, 128, 128, 128}));
  EXPECT_EQ((std::array{brush->ColorPM->a, brush->ColorPM->r}), (std::array{128, 128}));
}

TEST_F(BrushSpanTest, ColourSpansReplaceThePixelsAndStopBeforeX2) {
  auto bc = make(6, 2);
  fill(bc, Pixel{0, 0, 255, 255});
  auto brush = bc->_createbrushfromcolor(static_cast<int32_t>(0x80FFFFFF));
  bc->_fillhorizontalline(1, 4, 0, brush);
  bc->_fillhorizontalline(2, 2, 1, brush);
  bc->_fillhorizontalline(4, 5, 1, brush);
  bc->_fillhorizontalline(5, 3, 1, brush);
  for (int x = 0; x < 6; ++x) {
    EXPECT_EQ(px(bc, x, 0), (x >= 1 && x < 4 ? Pixel{128, 128, 128, 128} : Pixel{0, 0, 255, 255})) << x;
    EXPECT_EQ(px(bc, x, 1), (x == 4 ? Pixel{128, 128, 128, 128} : Pixel{0, 0, 255, 255})) << x;
  }
}

TEST_F(BrushSpanTest, PatternOffsetsShiftTheTiles) {
  auto bc = make(8, 1);
  auto brush = bc->_createbrushfrombitmapcreator(pattern(4, 1));
  EXPECT_TRUE(brush->BlendBorders);
  EXPECT_FALSE(brush->IsColorSource);
  struct Case {
    int offset, col0, col1;
  } cases[] = {{1, 3, 0}, {-1, 1, 2}, {0, 0, 1}, {6, 2, 3}, {-9, 1, 2}};
  for (auto k : cases) {
    brush->SrcOffsetX = k.offset;
    bc->_fillhorizontalline(0, 8, 0, brush);
    EXPECT_EQ(px(bc, 0, 0)[0], k.col0) << "offset " << k.offset;
    EXPECT_EQ(px(bc, 1, 0)[0], k.col1) << "offset " << k.offset;
  }
}

TEST_F(BrushSpanTest, PatternsTileSeamlesslyOverLongSpansAndRows) {
  auto bc = make(300, 7);
  for (int w : {1, 3, 4, 7, 64}) {
    auto brush = bc->_createbrushfrombitmapcreator(pattern(w, 3));
    brush->SrcOffsetX = 2;
    brush->SrcOffsetY = -1;
    for (auto [x1, x2] : std::vector<std::pair<int, int>>{{0, 10}, {5, 6}, {3, 300}, {2, 2 + w}, {1, 2 * w + 1}}) {
      fill(bc, kClear);
      for (int y = 0; y < 7; ++y) bc->_fillhorizontalline(x1, x2, y, brush);
      for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 300; ++x) {
          Pixel want = x >= x1 && x < x2 ? Pixel{((x - 2) % w + w) % w, ((y + 1) % 3), 9, 255} : kClear;
          ASSERT_EQ(px(bc, x, y), want) << "w " << w << " span " << x1 << ".." << x2 << " at " << x << "," << y;
        }
    }
  }
}

TEST_F(BrushSpanTest, BlendAllPatternsBlendEveryPixel) {
  auto bc = make(4, 1);
  fill(bc, kWhite);
  auto pat = make(2, 1);
  put(pat, 0, 0, Pixel{128, 0, 0, 128});
  put(pat, 1, 0, Pixel{0, 0, 0, 0});
  auto brush = bc->_createbrushfrombitmapcreator(pat);
  brush->BlendAll = true;
  bc->_fillhorizontalline(0, 4, 0, brush);
  EXPECT_EQ(px(bc, 0, 0), (Pixel{255, 127, 127, 255}));
  EXPECT_EQ(px(bc, 1, 0), kWhite);
  EXPECT_EQ(px(bc, 2, 0), (Pixel{255, 127, 127, 255}));
  EXPECT_EQ(px(bc, 3, 0), kWhite);
}

TEST_F(BrushSpanTest, UnblendedPatternsReplaceAlphaIncluded) {
  auto bc = make(2, 1);
  fill(bc, kWhite);
  auto pat = make(1, 1);
  put(pat, 0, 0, Pixel{10, 0, 0, 20});
  bc->_fillhorizontalline(0, 2, 0, bc->_createbrushfrombitmapcreator(pat));
  EXPECT_EQ(px(bc, 1, 0), (Pixel{10, 0, 0, 20}));
}

TEST_F(BrushSpanTest, APatternBrushSharesItsSource) {
  auto bc = make(3, 1);
  auto pat = make(1, 1);
  auto brush = bc->_createbrushfrombitmapcreator(pat);
  EXPECT_EQ(brush->Source, pat);
  pat->_setcolor(0, 0, static_cast<int32_t>(0xFF00FF00));
  bc->_fillhorizontalline(0, 3, 0, brush);
  EXPECT_EQ(bc->_getcolor(2, 0), static_cast<int32_t>(0xFF00FF00));
}

TEST_F(BrushSpanTest, SpansAreClippedToTheBitmap) {
  auto bc = make(5, 3);
  auto brush = bc->_createbrushfromcolor(-1);
  auto pat = bc->_createbrushfrombitmapcreator(pattern(3, 1));
  bc->_fillhorizontalline(-10, 1000, 1, brush);
  bc->_fillhorizontalline(0, 5, -1, brush);
  bc->_fillhorizontalline(0, 5, 3, pat);
  bc->_fillhorizontalline(INT32_MIN, INT32_MAX, 2, pat);
  EXPECT_EQ(alphaMap(bc),
            (std::vector<std::vector<int>>{{0, 0, 0, 0, 0}, {255, 255, 255, 255, 255}, {255, 255, 255, 255, 255}}));
  // The pattern stays anchored to the target's x, wherever the span started.
  EXPECT_EQ(px(bc, 0, 2)[0], 0);
  EXPECT_EQ(px(bc, 4, 2)[0], 1);
}

TEST_F(BrushSpanTest, AColourBrushMadeByANarrowerBitmapCreatorPaintsWholeSpans) {
  auto narrow = make(4, 1);
  auto wide = make(20, 1);
  auto brush = narrow->_createbrushfromcolor(static_cast<int32_t>(0xFF112233));
  wide->_fillhorizontalline(0, 20, 0, brush);
  for (int x = 0; x < 20; ++x) EXPECT_EQ(px(wide, x, 0), (Pixel{0x11, 0x22, 0x33, 255})) << x;
  wide->_drawrect2(wide->targetrect, brush, true, 0);
  EXPECT_EQ(px(wide, 19, 0), (Pixel{0x11, 0x22, 0x33, 255}));
}

TEST_F(BrushSpanTest, PatternBrushesWithAnEmptySourcePaintNothing) {
  auto bc = make(4, 4);
  auto brush = std::make_shared<_bcbrush>();
  brush->Initialize();
  EXPECT_TRUE(brush->IsInitialized);
  EXPECT_FALSE(brush->Source->IsInitialized());
  bc->_fillhorizontalline(0, 4, 0, brush);
  bc->_drawrect2(bc->targetrect, brush, true, 0);
  bc->_drawcircle2(2, 2, 2, brush, true, 0);
  bc->_drawline2(0, 0, 4, 4, brush, 2);
  bc->_drawantialiasborder(1, 1, 0.5f, brush, true);
  auto noSource = bc->_createbrushfrombitmapcreator(nullptr);
  bc->_fillhorizontalline(0, 4, 1, noSource);
  EXPECT_EQ(painted(bc), 0);
}

TEST_F(BrushSpanTest, APatternTakenFromTheTargetItselfPaintsItsOwnEarlierPixels) {
  auto bc = make(6, 2);
  for (int x = 0; x < 6; ++x) put(bc, x, 0, Pixel{x, 0, 0, 255});
  auto brush = bc->_createbrushfrombitmapcreator(bc);
  brush->SrcOffsetX = 1;
  bc->_fillhorizontalline(0, 6, 0, brush);
  for (int x = 0; x < 6; ++x) EXPECT_EQ(px(bc, x, 0)[0], (x + 5) % 6) << x;
}

TEST_F(BrushSpanTest, BrushFromAPlatformBitmapCopiesItsPixels) {
  auto bmp = Bitmap::Create(3, 2);
  for (size_t i = 0; i < bmp->pixels().size(); i += 4) {
    bmp->pixels()[i] = 200;
    bmp->pixels()[i + 3] = 255;
  }
  auto bc = make(5, 5);
  auto brush = bc->_createbrushfrombitmap(bmp);
  EXPECT_EQ(brush->Source->mwidth, 3);
  EXPECT_EQ(brush->Source->mheight, 2);
  EXPECT_EQ(px(brush->Source, 2, 1), (Pixel{200, 0, 0, 255}));
}

}  // namespace
}  // namespace tmr::testing
