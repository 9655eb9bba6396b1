// The pixel buffer, colour conversions, single pixels, blends and the HSV writer.
#include "tests/bitmap/BitmapTestSupport.h"

namespace tmr::testing {
namespace {

class ColorPixelTest : public BitmapTest {};

std::shared_ptr<_argbcolor> argb(int a, int r, int g, int b) {
  auto c = std::make_shared<_argbcolor>();
  c->a = a, c->r = r, c->g = g, c->b = b;
  return c;
}
std::shared_ptr<_premultipliedcolor> pm(int a, int r, int g, int b) {
  auto c = std::make_shared<_premultipliedcolor>();
  c->a = a, c->r = r, c->g = g, c->b = b;
  return c;
}

TEST_F(ColorPixelTest, NewBitmapCreatorIsClearedAndKnowsItsSize) {
  auto bc = make(3, 2);
  EXPECT_EQ(bc->mbuffer.Length(), 24);
  EXPECT_EQ(bytes(bc), std::vector<uint8_t>(24, 0));
  EXPECT_EQ(bc->mwidth, 3);
  EXPECT_EQ(bc->mheight, 2);
  EXPECT_EQ(bc->targetrect.Left, 0);
  EXPECT_EQ(bc->targetrect.Top, 0);
  EXPECT_EQ(bc->targetrect.Right, 3);
  EXPECT_EQ(bc->targetrect.Bottom, 2);
  EXPECT_EQ((std::array{bc->ri, bc->gi, bc->bi, bc->ai}), (std::array{0, 1, 2, 3}));
  EXPECT_EQ(bc->unsignedff, 255);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(bc->_getcolor(x, y), 0);
}

TEST_F(ColorPixelTest, InitializingAgainStartsOverWithAClearedBuffer) {
  auto bc = make(4, 4);
  bc->_setcolor(1, 1, static_cast<int32_t>(0xFF102030));
  bc->shouldclearbeforeextracting = true;
  bc->_initialize(ba, 2, 5);
  EXPECT_EQ(bytes(bc), std::vector<uint8_t>(40, 0));
  EXPECT_FALSE(bc->shouldclearbeforeextracting);
  EXPECT_EQ(bc->targetrect.Right, 2);
  EXPECT_EQ(bc->targetrect.Bottom, 5);
}

TEST_F(ColorPixelTest, InvalidSizesAreRejectedBeforeAnythingChanges) {
  auto bc = make(4, 3);
  bc->_setcolor(0, 0, -1);
  for (auto [w, h] : std::vector<std::pair<int, int>>{
           {-1, 5}, {5, -1}, {50000, 50000}, {INT32_MAX, 2}, {INT32_MAX, INT32_MAX}, {INT32_MIN, INT32_MIN}}) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    EXPECT_THROW(bc->_initialize(ba, w, h), RuntimeError);
    EXPECT_EQ(bc->mwidth, 4);
    EXPECT_EQ(bc->mheight, 3);
    EXPECT_EQ(bc->mbuffer.Length(), 48);
    EXPECT_EQ(bc->_getcolor(0, 0), -1);
  }
  auto empty = make(0, 0);
  EXPECT_EQ(empty->mbuffer.Length(), 0);
}

TEST_F(ColorPixelTest, ColourSplitsAndJoins) {
  auto bc = make(1, 1);
  auto c = bc->_colortoargb(static_cast<int32_t>(0x80FF0000), std::make_shared<_argbcolor>());
  EXPECT_EQ((std::array{c->a, c->r, c->g, c->b}), (std::array{128, 255, 0, 0}));
  EXPECT_EQ(bc->_argbtocolor(c), static_cast<int32_t>(0x80FF0000));
  EXPECT_EQ(bc->_argbtocolor(c), -2130771968);
  auto d = bc->_colortoargb(0x01020304, c);
  EXPECT_EQ(d, c);  // the result record is the one passed in
  EXPECT_EQ((std::array{d->a, d->r, d->g, d->b}), (std::array{1, 2, 3, 4}));
  // Channels are added, so values outside 0..255 spill into the neighbouring channel.
  EXPECT_EQ(bc->_argbtocolor(argb(0, 256, 0, 0)), bc->_argbtocolor(argb(1, 0, 0, 0)));
  EXPECT_EQ(bc->_argbtocolor(argb(255, 255, 255, 256)), static_cast<int32_t>(0xFFFFFF00) + 256);
}

TEST_F(ColorPixelTest, PremultiplyingTruncatesTheSinglePrecisionProduct) {
  auto bc = make(1, 1);
  struct Case {
    int a, c, expected;
  } cases[] = {{255, 200, 200}, {128, 255, 128}, {128, 1, 0}, {1, 255, 1}, {0, 255, 0}, {77, 100, 30}, {254, 255, 254}};
  for (auto k : cases) {
    auto out = bc->_argbtopremultipliedcolor(argb(k.a, k.c, k.c, k.c), std::make_shared<_premultipliedcolor>());
    EXPECT_EQ(out->r, k.expected) << "a=" << k.a << " c=" << k.c;
    EXPECT_EQ(out->a, k.a);
  }
}

TEST_F(ColorPixelTest, SetArgbStoresPremultipliedAndGetArgbLosesTheRoundingStep) {
  auto bc = make(2, 2);
  bc->_setargb(1, 0, argb(128, 255, 255, 255));
  EXPECT_EQ(px(bc, 1, 0), (Pixel{128, 128, 128, 128}));
  EXPECT_EQ((std::array{bc->temppm->a, bc->temppm->r}), (std::array{128, 128}));
  auto back = bc->_getargb(1, 0, std::make_shared<_argbcolor>());
  EXPECT_EQ((std::array{back->a, back->r, back->g, back->b}), (std::array{128, 254, 254, 254}));
  EXPECT_EQ(bc->_getcolor(1, 0), static_cast<int32_t>(0x80FEFEFE));

  bc->_setargb(0, 1, argb(0, 200, 100, 50));
  EXPECT_EQ(px(bc, 0, 1), kClear);
  EXPECT_TRUE(bc->_istransparent(0, 1));
  EXPECT_FALSE(bc->_istransparent(1, 0));
  auto z = bc->_getargb(0, 1, std::make_shared<_argbcolor>());
  EXPECT_EQ((std::array{z->a, z->r, z->g, z->b}), (std::array{0, 0, 0, 0}));

  bc->_setcolor(1, 1, static_cast<int32_t>(0xFF336699));
  EXPECT_EQ(px(bc, 1, 1), (Pixel{0x33, 0x66, 0x99, 255}));
  EXPECT_EQ(bc->_getcolor(1, 1), static_cast<int32_t>(0xFF336699));
}

TEST_F(ColorPixelTest, PremultipliedPixelsAreStoredAsTheirLowBytes) {
  auto bc = make(1, 1);
  bc->_setpremultipliedcolor(0, 0, pm(300, -1, 256, 7));
  EXPECT_EQ(px(bc, 0, 0), (Pixel{255, 0, 7, 44}));
  auto r = bc->_getpremultipliedcolor(0, 0, bc->temppm);
  EXPECT_EQ(r, bc->temppm);
  EXPECT_EQ((std::array{r->a, r->r, r->g, r->b}), (std::array{44, 255, 0, 7}));
}

TEST_F(ColorPixelTest, SinglePixelsOutsideTheBitmapAreIgnoredAndReadAsTransparent) {
  auto bc = make(3, 3);
  fill(bc, kWhite);
  auto before = bytes(bc);
  for (auto [x, y] : std::vector<std::pair<int, int>>{{-1, 0}, {0, -1}, {3, 0}, {0, 3}, {INT32_MIN, INT32_MAX}}) {
    bc->_setcolor(x, y, static_cast<int32_t>(0xFF0000FF));
    bc->_setargb(x, y, argb(255, 1, 2, 3));
    bc->_setpremultipliedcolor(x, y, pm(255, 1, 2, 3));
    bc->_blendpixel2(pm(255, 1, 2, 3), x, y);
    bc->_sethsv(x, y, 255, 10, 1, 1);
    bc->_blendpixel(bc, 0, 0, x, y);
    bc->_blendpixel(bc, x, y, 1, 1);
    EXPECT_EQ(bc->_getcolor(x, y), 0);
    EXPECT_TRUE(bc->_istransparent(x, y));
    auto p = bc->_getpremultipliedcolor(x, y, std::make_shared<_premultipliedcolor>());
    EXPECT_EQ(p->a, 0);
  }
  EXPECT_EQ(bytes(bc), before);
}

TEST_F(ColorPixelTest, BlendOfATranslucentColourOverWhite) {
  auto bc = make(3, 1);
  fill(bc, kWhite);
  bc->_blendpixel2(pm(128, 128, 0, 0), 0, 0);
  EXPECT_EQ(px(bc, 0, 0), (Pixel{255, 127, 127, 255}));
  bc->_blendpixel2(pm(255, 10, 20, 30), 1, 0);
  EXPECT_EQ(px(bc, 1, 0), (Pixel{10, 20, 30, 255}));
  bc->_blendpixel2(pm(0, 10, 20, 30), 2, 0);
  EXPECT_EQ(px(bc, 2, 0), kWhite);
}

TEST_F(ColorPixelTest, BlendOverTransparentKeepsTheSourceAndOverOpaqueStaysOpaque) {
  auto bc = make(2, 1);
  put(bc, 1, 0, Pixel{0, 0, 200, 255});
  bc->_blendpixel2(pm(100, 60, 50, 40), 0, 0);
  EXPECT_EQ(px(bc, 0, 0), (Pixel{60, 50, 40, 100}));
  bc->_blendpixel2(pm(100, 60, 50, 40), 1, 0);
  // k = float(1 - 100/255.0) = 0.60784316; 40 + k × 200 = 161.57
  EXPECT_EQ(px(bc, 1, 0), (Pixel{60, 50, 161, 255}));
}

TEST_F(ColorPixelTest, BlendPixelTakesTheSourcePixelOfAnotherBitmapCreator) {
  auto src = make(2, 2), dst = make(2, 2);
  put(src, 1, 1, Pixel{128, 0, 0, 128});
  put(src, 0, 1, Pixel{9, 8, 7, 255});
  fill(dst, kWhite);
  dst->_blendpixel(src, 1, 1, 0, 0);
  dst->_blendpixel(src, 0, 1, 1, 0);
  dst->_blendpixel(src, 0, 0, 0, 1);  // transparent source pixel: nothing
  EXPECT_EQ(px(dst, 0, 0), (Pixel{255, 127, 127, 255}));
  EXPECT_EQ(px(dst, 1, 0), (Pixel{9, 8, 7, 255}));
  EXPECT_EQ(px(dst, 0, 1), kWhite);
}

TEST_F(ColorPixelTest, HsvSectorsAndFractions) {
  auto bc = make(1, 1);
  struct Case {
    int hue;
    float s, v;
    uint32_t color;
  } cases[] = {
      {0, 1, 1, 0xFFFF0000},     {120, 1, 1, 0xFF00FF00},    {240, 1, 1, 0xFF0000FF},  {360, 1, 1, 0xFFFF0000},
      {-60, 1, 1, 0xFF000000},   {-1, 1, 1, 0xFF000000},     {-330, 1, 1, 0xFFFF7F00},  // floor(-5.5) = -6 gives sector
                                                                                        // 0, f = 0.5
      {30, 0.5f, 1, 0xFFFFBF7F}, {300, 1, 0.5f, 0xFF7F007F}, {180, 0, 1, 0xFFFFFFFF},
  };
  for (auto k : cases) {
    bc->_sethsv(0, 0, 255, k.hue, k.s, k.v);
    EXPECT_EQ(static_cast<uint32_t>(bc->_getcolor(0, 0)), k.color) << "hue " << k.hue;
  }
  bc->_sethsv(0, 0, 128, 0, 1, 1);
  EXPECT_EQ(px(bc, 0, 0), (Pixel{128, 0, 0, 128}));
}

TEST_F(ColorPixelTest, ReleasedInstancesSayGoodbyeInTheLog) {
  make(1, 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "Class (tm_bitmapcreator) instance released."), 1);
  { auto never = std::make_shared<tm_bitmapcreator>(); }
  EXPECT_EQ(log.size(), 1u);
}

TEST_F(ColorPixelTest, SubsAreCallableByName) {
  auto bc = make(2, 2);
  NativeObject no{Object(bc)};
  no.RunMethod("_setcolor:::", {1, 0, static_cast<int32_t>(0xFF010203)});
  EXPECT_EQ(no.RunMethod("_getcolor::", {1, 0}).object().AsInt(), static_cast<int32_t>(0xFF010203));
  EXPECT_EQ(no.RunMethod("_istransparent::", {0, 0}).object().AsBool(), true);
  auto other = std::make_shared<tm_bitmapcreator>();
  NativeObject(Object(other)).RunMethod("_initialize:::", {Object(ba), 5, 6});
  EXPECT_EQ(other->mbuffer.Length(), 120);
}

}  // namespace
}  // namespace tmr::testing
