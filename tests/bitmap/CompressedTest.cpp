// Compressed bitmaps: encoding, the colour cache, drawing, flipping and rotated drawing.
#include <cstring>
#include <limits>

#include "tests/bitmap/BitmapTestSupport.h"

namespace tmr::testing {
namespace {

using Row = _compressedbc::EncodedRow;

class CompressedTest : public BitmapTest {
 protected:
  // A cache able to take colours.
  static std::shared_ptr<_internalcompressedbccache> openCache() {
    auto c = std::make_shared<_internalcompressedbccache>();
    c->Initialize();
    c->ColorsMap.Initialize();
    c->mBuffer = ByteArray(5000 * 160);
    return c;
  }
  // A picture with opaque, translucent, faint and clear areas and long runs of one colour.
  std::shared_ptr<tm_bitmapcreator> picture(int w, int h) {
    auto bc = make(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const int zone = (x / 7 + y / 3) % 4;
        if (zone == 0) put(bc, x, y, Pixel{static_cast<int>(x * 3 % 256), static_cast<int>(y * 5 % 256), 9, 255});
        if (zone == 1) put(bc, x, y, Pixel{60, 10, 30, 100});
        if (zone == 2) put(bc, x, y, Pixel{5, 5, 5, 20});  // faint: counts as transparent
      }
    for (int x = 0; x < std::min(w, 90); ++x) put(bc, x, h / 2, Pixel{200, 100, 50, 255});
    return bc;
  }
  // The picture as drawing it back gives it: pixels of alpha 30 or less become clear.
  static std::vector<uint8_t> expectedBack(const std::shared_ptr<tm_bitmapcreator>& bc) {
    auto b = bytes(bc);
    for (size_t i = 0; i < b.size(); i += 4)
      if (b[i + 3] <= 30) b[i] = b[i + 1] = b[i + 2] = b[i + 3] = 0;
    return b;
  }
  std::shared_ptr<tm_bitmapcreator> drawnBack(const std::shared_ptr<_compressedbc>& cbc) {
    auto out = make(cbc->mWidth, cbc->mHeight);
    out->_drawcompressedbitmap(cbc, cbc->TargetRect, 0, 0);
    return out;
  }
};

TEST_F(CompressedTest, RowsEncodeAsRunsOfTransparentAndSolidPixels) {
  auto bc = make(10, 3);
  for (int x = 0; x < 5; ++x) put(bc, x, 1, Pixel{1, 2, 3, 255});
  put(bc, 3, 2, Pixel{9, 9, 9, 30});
  put(bc, 4, 2, Pixel{9, 9, 9, 31});
  auto cbc = bc->_extractcompressedbc(Rect(0, 0, 10, 3), openCache());
  ASSERT_EQ(cbc->Rows.size(), 3u);
  EXPECT_EQ(cbc->Rows[0], (Row{0, 0, 10}));
  EXPECT_EQ(cbc->Rows[1], (Row{0, 1, 5, 0, 5}));
  EXPECT_EQ(cbc->Rows[2], (Row{5, 0, 4, 1, 1, 0, 5})) << "alpha 30 counts as transparent, 31 as solid";
  EXPECT_EQ(cbc->mWidth, 10);
  EXPECT_EQ(cbc->mHeight, 3);
  EXPECT_EQ(cbc->TargetRect.Right, 10);
  // The solid pixels' premultiplied bytes, unchanged, in order.
  const std::vector<uint8_t> solid{1, 2, 3, 255, 1, 2, 3, 255, 1, 2, 3, 255, 1, 2, 3, 255, 1, 2, 3, 255, 9, 9, 9, 31};
  auto s = cbc->mBuffer.span();
  EXPECT_EQ(std::vector<uint8_t>(s.begin(), s.end()), solid);
}

TEST_F(CompressedTest, LongRunsOfOneColourShareOneCacheSlot) {
  auto cache = openCache();
  auto bc = make(100, 1);
  for (int x = 0; x < 100; ++x) put(bc, x, 0, Pixel{10, 20, 30, 255});
  auto cbc = bc->_extractcompressedbc(Rect(0, 0, 100, 1), cache);
  EXPECT_EQ(cbc->Rows[0], (Row{0, 40, 0, 40, 0, 1, 20}));
  EXPECT_EQ(cache->ColorsMap.Size(), 1);
  EXPECT_EQ(cbc->mBuffer.Length(), 20 * 4);
  for (int i = 0; i < 40; ++i) EXPECT_EQ(cache->mBuffer.Get(i * 4 + 1), 20);

  // Another picture with that colour reuses the slot without copying into it; a new colour
  // takes the next slot, after a solid prefix.
  cache->mBuffer.Set(0, 99);  // a mark that a copy into slot 0 would overwrite
  auto other = make(90, 1);
  for (int x = 0; x < 45; ++x) put(other, x, 0, Pixel{1, 1, 1, 255});
  for (int x = 45; x < 90; ++x) put(other, x, 0, Pixel{10, 20, 30, 255});
  auto cbc2 = other->_extractcompressedbc(Rect(0, 0, 90, 1), cache);
  EXPECT_EQ(cbc2->Rows[0], (Row{0, 40, 160, 1, 5, 40, 0, 1, 5}));
  EXPECT_EQ(cache->ColorsMap.Size(), 2);
  EXPECT_EQ(cache->mBuffer.Get(0), 99);
}

TEST_F(CompressedTest, ColoursThatDifferOnlyInAlphaAndBlueKeepSlotsOfTheirOwn) {
  // (a, r, g, b) = (255, 0, 0, 0) and (254, 0, 0, 1): a + 65536r + 256g + b is 255 for both.
  auto bc = make(80, 1);
  for (int x = 0; x < 40; ++x) put(bc, x, 0, Pixel{0, 0, 0, 255});
  for (int x = 40; x < 80; ++x) put(bc, x, 0, Pixel{0, 0, 1, 254});
  auto cache = openCache();
  auto cbc = bc->_extractcompressedbc(Rect(0, 0, 80, 1), cache);
  EXPECT_EQ(cbc->Rows[0], (Row{0, 40, 0, 40, 160}));
  EXPECT_EQ(bytes(drawnBack(cbc)), bytes(bc));
}

TEST_F(CompressedTest, ACacheThatCannotTakeColoursLeavesRunsSolid) {
  auto bc = make(100, 1);
  for (int x = 0; x < 100; ++x) put(bc, x, 0, Pixel{10, 20, 30, 255});
  auto uninitialised = std::make_shared<_internalcompressedbccache>();
  uninitialised->Initialize();  // its colour map is not initialised
  auto cbc = bc->_extractcompressedbc(Rect(0, 0, 100, 1), uninitialised);
  EXPECT_EQ(cbc->Rows[0], (Row{0, 1, 100}));
  EXPECT_EQ(bytes(drawnBack(cbc)), bytes(bc));
  EXPECT_EQ(bc->_extractcompressedbc(Rect(0, 0, 100, 1), nullptr)->Rows[0], (Row{0, 1, 100}));

  // A map that is full takes no more colours; a slot buffer that is too small grows.
  auto full = openCache();
  for (int i = 0; i < 5000; ++i) full->ColorsMap.Put(Object(int64_t{1000000} + i), Object(i * 160));
  EXPECT_EQ(bc->_extractcompressedbc(Rect(0, 0, 100, 1), full)->Rows[0], (Row{0, 1, 100}));
  auto small = openCache();
  small->mBuffer = ByteArray(0);
  auto cached = bc->_extractcompressedbc(Rect(0, 0, 100, 1), small);
  EXPECT_EQ(cached->Rows[0], (Row{0, 40, 0, 40, 0, 1, 20}));
  EXPECT_GE(small->mBuffer.Length(), 160);
  EXPECT_EQ(bytes(drawnBack(cached)), bytes(bc));
}

TEST_F(CompressedTest, DrawingBackGivesThePictureWithFaintPixelsCleared) {
  for (auto [w, h] : {std::pair{30, 12}, {120, 7}, {1, 1}}) {
    SCOPED_TRACE(::testing::Message() << w << "x" << h);
    auto bc = picture(w, h);
    auto cbc = bc->_extractcompressedbc(bc->targetrect, openCache());
    EXPECT_EQ(bytes(drawnBack(cbc)), expectedBack(bc));
  }
}

TEST_F(CompressedTest, RowsOfManyShortRunsAreEncodedWhole) {
  // 600 pixels alternating opaque and clear: 600 runs, far more than 249.
  auto bc = make(600, 2);
  for (int x = 0; x < 600; x += 2) put(bc, x, 1, Pixel{x % 256, 1, 2, 255});
  auto cbc = bc->_extractcompressedbc(bc->targetrect, openCache());
  EXPECT_EQ(cbc->Rows[1].size(), 1u + 2 * 600);
  EXPECT_EQ(bytes(drawnBack(cbc)), bytes(bc));
}

TEST_F(CompressedTest, ExtractingPastTheBufferReadsTransparent) {
  auto bc = make(10, 10);
  fill(bc, Pixel{7, 7, 7, 255});
  auto cbc = bc->_extractcompressedbc(Rect(-5, 8, 5, 13), openCache());
  EXPECT_EQ(cbc->mWidth, 10);
  EXPECT_EQ(cbc->mHeight, 5);
  EXPECT_EQ(cbc->Rows[0], (Row{0, 0, 5, 1, 5}));
  EXPECT_EQ(cbc->Rows[1], (Row{5, 0, 5, 1, 5}));
  EXPECT_EQ(cbc->Rows[2], (Row{10, 0, 10}));
  EXPECT_EQ(cbc->Rows[4], (Row{10, 0, 10}));
  auto far = bc->_extractcompressedbc(Rect(-1e6f, 0, 1e6f, 2), openCache());
  EXPECT_EQ(far->Rows[0], (Row{0, 0, 1000000, 1, 10, 0, 999990}));
}

TEST_F(CompressedTest, DrawingAtANegativePositionShowsTheVisiblePartOnly) {
  auto bc = make(10, 1);
  for (int x = 0; x < 5; ++x) put(bc, x, 0, Pixel{x + 1, 0, 0, 255});
  auto cbc = bc->_extractcompressedbc(bc->targetrect, openCache());
  ASSERT_EQ(cbc->Rows[0], (Row{0, 1, 5, 0, 5}));
  auto target = make(6, 2);
  fill(target, Pixel{0, 0, 50, 255});
  target->_drawcompressedbitmap(cbc, cbc->TargetRect, -3, 0);
  EXPECT_EQ(px(target, 0, 0), (Pixel{4, 0, 0, 255}));
  EXPECT_EQ(px(target, 1, 0), (Pixel{5, 0, 0, 255}));
  for (int x = 2; x < 6; ++x)
    EXPECT_EQ(px(target, x, 0), (Pixel{0, 0, 50, 255})) << "transparent runs leave the target";
  EXPECT_EQ(px(target, 0, 1), (Pixel{0, 0, 50, 255}));
}

TEST_F(CompressedTest, DrawingARegionClipsToTheRegionTheBitmapAndTheTarget) {
  auto src = picture(40, 12);
  auto cbc = src->_extractcompressedbc(src->targetrect, openCache());
  auto whole = expectedBack(src);
  struct Case {
    Rect srcRect;
    int tx, ty;
  };
  for (const Case& c : std::vector<Case>{{Rect(5, 2, 25, 9), 3, 4},
                                         {Rect(0, 0, 40, 12), 20, 6},
                                         {Rect(10, 3, 100, 100), -4, -2},
                                         {Rect(-6, -3, 12, 5), 2, 2}}) {
    SCOPED_TRACE(::testing::Message() << c.srcRect.Left << "," << c.srcRect.Top << " at " << c.tx << "," << c.ty);
    auto target = make(30, 15);
    target->_drawcompressedbitmap(cbc, c.srcRect, c.tx, c.ty);
    for (int y = 0; y < 15; ++y)
      for (int x = 0; x < 30; ++x) {
        const int sx = static_cast<int>(c.srcRect.Left) + x - c.tx, sy = static_cast<int>(c.srcRect.Top) + y - c.ty;
        Pixel want = kClear;
        if (sx >= std::max(0, static_cast<int>(c.srcRect.Left)) &&
            sx < std::min(40, static_cast<int>(c.srcRect.Right)) &&
            sy >= std::max(0, static_cast<int>(c.srcRect.Top)) &&
            sy < std::min(12, static_cast<int>(c.srcRect.Bottom))) {
          const uint8_t* p = whole.data() + (sy * 40 + sx) * 4;
          want = {p[0], p[1], p[2], p[3]};
        }
        ASSERT_EQ(px(target, x, y), want) << x << "," << y;
      }
  }
}

TEST_F(CompressedTest, FlippingMirrorsThePictureAndTwiceRestoresIt) {
  auto src = picture(45, 9);
  auto cbc = src->_extractcompressedbc(src->targetrect, openCache());
  EXPECT_EQ(src->_flipcompressedbitmap(cbc, false, false), cbc);
  auto back = expectedBack(src);
  auto mirrored = [&](bool h, bool v) {
    std::vector<uint8_t> m(back.size());
    for (int y = 0; y < 9; ++y)
      for (int x = 0; x < 45; ++x)
        std::memcpy(m.data() + (y * 45 + x) * 4, back.data() + ((v ? 8 - y : y) * 45 + (h ? 44 - x : x)) * 4, 4);
    return m;
  };
  for (auto [h, v] : {std::pair{true, false}, {false, true}, {true, true}}) {
    SCOPED_TRACE(::testing::Message() << "horizontal " << h << ", vertical " << v);
    auto flipped = src->_flipcompressedbitmap(cbc, h, v);
    EXPECT_EQ(flipped->Cache, cbc->Cache);
    EXPECT_EQ(bytes(drawnBack(flipped)), mirrored(h, v));
    auto twice = src->_flipcompressedbitmap(flipped, h, v);
    EXPECT_EQ(twice->Rows, cbc->Rows);
    auto a = twice->mBuffer.span(), b = cbc->mBuffer.span();
    EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin(), b.end()));
  }
  EXPECT_EQ(src->_flipcompressedbitmap(cbc, false, true)->mBuffer, cbc->mBuffer) << "a vertical flip shares the pixels";
}

TEST_F(CompressedTest, MalformedCompressedBitmapsRaiseAndDrawNothing) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max(), kMin = std::numeric_limits<int32_t>::min();
  struct Case {
    Row last;  // the third row, after two good opaque rows
    std::string message;
    int32_t width = 10;
  };
  const std::vector<Case> cases{
      {Row{}, "row 2, word 0: no start index"},
      {Row{20, 1}, "row 2, word 1: a run kind without a value"},
      {Row{-1, 0, 10}, "start index -1"},
      {Row{21, 0, 10}, "start index 21"},
      {Row{15, 1, 5, 1, 1}, "row 2, word 4: solid pixels up to 21"},
      {Row{20, 0, -5, 1, 3}, "row 2, word 2: run length -5"},
      {Row{20, 0, kMin + 5, 0, kMax}, "run length -2147483643"},
      {Row{20, 0, 0}, "run length 0"},
      {Row{20, 0, kMax, 0, 1}, "row 2, word 4: runs longer than"},
      {Row{20, 7, 10}, "row 2, word 1: unknown run kind 7"},
      {Row{20, 40, kMax - 3}, "cache slot at byte 2147483644 outside the cache's 800000 bytes"},
      {Row{20, 40, 800000 - 100}, "cache slot at byte 799900"},
      {Row{20, 40, -160}, "cache slot at byte -160"},
      {Row{20, 0, 10}, "size -1x3", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    auto cbc = std::make_shared<_compressedbc>();
    cbc->Initialize();
    cbc->Cache = openCache();
    cbc->mWidth = c.width;
    cbc->mHeight = 3;
    cbc->TargetRect = Rect(0, 0, 10, 3);
    cbc->mBuffer = ByteArray(20 * 4);
    for (int i = 0; i < 20; ++i) cbc->mBuffer.Set(i * 4 + 3, 255);
    cbc->Rows = {Row{0, 1, 10}, Row{10, 1, 10}, c.last};
    auto target = make(12, 12);
    auto aa = std::make_shared<_internalantialiasingbuffer>();
    for (int rotated = 0; rotated < 2; ++rotated) {
      try {
        if (rotated) {
          target->_drawrotatedcbc2(cbc, 30, 12, 12, aa, 0, 0);
        } else {
          target->_drawcompressedbitmap(cbc, cbc->TargetRect, 0, 0);
        }
        ADD_FAILURE() << "no error, rotated " << rotated;
      } catch (const RuntimeError& e) {
        EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
      }
      EXPECT_EQ(painted(target), 0) << "the good rows are not drawn either, rotated " << rotated;
    }
  }
  // Nothing to draw is not an error.
  auto target = make(10, 3);
  auto good = std::make_shared<_compressedbc>();
  good->Initialize();
  target->_drawcompressedbitmap(nullptr, Rect(0, 0, 5, 5), 0, 0);
  target->_drawcompressedbitmap(good, Rect(0, std::numeric_limits<float>::quiet_NaN(), 5, 5), 0, 0);
  EXPECT_EQ(painted(target), 0);
}

class RotatedTest : public CompressedTest {
 protected:
  std::shared_ptr<_compressedbc> square(int size, Pixel color) {
    auto bc = make(size, size);
    fill(bc, color);
    return bc->_extractcompressedbc(bc->targetrect, openCache());
  }
};

TEST_F(RotatedTest, UnrotatedOpaqueSquareKeepsItsInsideAndSoftensItsEdges) {
  auto cbc = square(20, Pixel{200, 0, 0, 255});
  auto target = make(20, 20);
  auto aa = std::make_shared<_internalantialiasingbuffer>();
  target->_drawrotatedcbc(cbc, 0, 20, 20, aa);
  EXPECT_EQ(aa->IntsArray.size(), 20u * 20 * 5) << "a short scratch grows";
  for (int y = 1; y < 20; ++y)
    for (int x = 1; x < 20; ++x) EXPECT_EQ(px(target, x, y), (Pixel{200, 0, 0, 255})) << x << "," << y;
  // The top-left edge pixels average in the transparent border.
  EXPECT_GT(alpha(target, 0, 5), 0);
  EXPECT_LT(alpha(target, 0, 5), 255);
  EXPECT_LT(alpha(target, 0, 0), alpha(target, 0, 5));
}

TEST_F(RotatedTest, QuarterTurnsOfASquareCoverTheSameArea) {
  auto cbc = square(16, Pixel{0, 90, 0, 255});
  auto aa = std::make_shared<_internalantialiasingbuffer>();
  for (float deg : {90.0f, 180.0f, 270.0f, -90.0f}) {
    SCOPED_TRACE(deg);
    auto target = make(20, 20);
    target->_drawrotatedcbc2(cbc, deg, 20, 20, aa, 0, 0);
    // The square turned about the area's centre stays on rows and columns 2 .. 17.
    for (int i = 4; i < 16; ++i) {
      EXPECT_EQ(px(target, i, 10), (Pixel{0, 90, 0, 255})) << i;
      EXPECT_EQ(px(target, 10, i), (Pixel{0, 90, 0, 255})) << i;
    }
    EXPECT_EQ(alpha(target, 0, 0), 0);
    EXPECT_EQ(alpha(target, 19, 19), 0);
    EXPECT_EQ(alpha(target, 10, 0), 0);
  }
}

TEST_F(RotatedTest, FortyFiveDegreesMakesADiamond) {
  auto cbc = square(20, Pixel{0, 0, 255, 255});
  auto target = make(30, 30);
  target->_drawrotatedcbc2(cbc, 45, 30, 30, std::make_shared<_internalantialiasingbuffer>(), 0, 0);
  EXPECT_EQ(px(target, 15, 15), (Pixel{0, 0, 255, 255}));
  EXPECT_EQ(px(target, 15, 3), (Pixel{0, 0, 255, 255})) << "a corner points up";
  EXPECT_EQ(alpha(target, 3, 3), 0) << "the square's old corner is empty";
  EXPECT_EQ(alpha(target, 26, 26), 0);
}

TEST_F(RotatedTest, TheAreaIsClippedToTheBitmap) {
  auto cbc = square(20, Pixel{9, 9, 9, 255});
  auto target = make(25, 25);
  auto aa = std::make_shared<_internalantialiasingbuffer>();
  target->_drawrotatedcbc2(cbc, 30, 20, 20, aa, 15, -10);
  target->_drawrotatedcbc2(cbc, 30, 20, 20, aa, -18, 20);
  target->_drawrotatedcbc2(cbc, std::numeric_limits<float>::quiet_NaN(), 20, 20, aa, 0, 0);
  target->_drawrotatedcbc2(cbc, 30, -5, 20, aa, 0, 0);
  EXPECT_GT(painted(target), 0);
  for (int y = 0; y < 25; ++y)
    for (int x = 0; x < 25; ++x)
      if (alpha(target, x, y) != 0) {
        EXPECT_TRUE((x >= 15 && y < 10) || (x < 2 && y >= 20)) << x << "," << y;
      }
}

TEST_F(RotatedTest, ASourceDeclaringAHugeSizeIsDrawnOnlyWhereItLands) {
  // A 20 x 20 picture with a 10 x 10 opaque middle, and the same rows placed in the middle of a
  // source declared 2^30 pixels wide: turned about its centre, it draws the same.
  auto small = make(20, 20);
  for (int y = 5; y < 15; ++y)
    for (int x = 5; x < 15; ++x) put(small, x, y, Pixel{30, 60, 90, 255});
  auto cbc = small->_extractcompressedbc(small->targetrect, nullptr);
  auto wide = std::make_shared<_compressedbc>();
  wide->Initialize();
  wide->mWidth = 1 << 30;
  wide->mHeight = 20;
  wide->mBuffer = cbc->mBuffer;
  for (const Row& row : cbc->Rows) {
    Row placed{row[0], 0, (1 << 29) - 10};
    placed.insert(placed.end(), row.begin() + 1, row.end());
    wide->Rows.push_back(placed);
  }
  auto aa = std::make_shared<_internalantialiasingbuffer>();
  for (float deg : {0.0f, 30.0f}) {
    SCOPED_TRACE(deg);
    auto expected = make(20, 20), drawn = make(20, 20);
    expected->_drawrotatedcbc(cbc, deg, 20, 20, aa);
    drawn->_drawrotatedcbc(wide, deg, 20, 20, aa);
    EXPECT_EQ(px(drawn, 10, 10), (Pixel{30, 60, 90, 255}));
    if (deg == 0) {
      EXPECT_EQ(bytes(drawn), bytes(expected));
    }
    EXPECT_GT(painted(drawn), 90);
    EXPECT_LT(painted(drawn), 200);
  }
  // Declared rows that are not held are a transparent border, however many there are.
  wide->mHeight = std::numeric_limits<int32_t>::max();
  auto drawn = make(20, 20);
  drawn->_drawrotatedcbc2(wide, 45, 20, 20, aa, 0, 0);
  EXPECT_EQ(painted(drawn), 0);
}

}  // namespace
}  // namespace tmr::testing
