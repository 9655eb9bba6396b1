#include <gtest/gtest.h>

#include <string>

#include "platform/views/LabelWrapper.h"
#include "platform/views/RichText.h"
#include "platform/views/UiLayer.h"
#include "tests/views/display/DisplayScreen.h"

namespace tmr {
namespace {

constexpr uint32_t kRed = 0xFFFF0000;

// A banner "banner1" at (20, 100) whose template label is blue text of 20 points.
std::string Banner(int w, int h) {
  return R"({"name": "banner1", "type": "CustomView", "class": "tm_madewithbanner", "frame": [20, 100, )" +
         std::to_string(w) + ", " + std::to_string(h) +
         R"(], "textColor": "#FF0000FF", "font": {"family": "DEFAULT", "size": 20}, "props": {}})";
}

LabelWrapper BannerLabel(const tm_madewithbanner& b) { return LabelWrapper::FromObject(Object(b.partNamed(""))); }

// Where colours show on a picture's rows top..bottom: the first and last column of each, -1
// when there is none.
struct Columns {
  int first = -1, last = -1;
  int count = 0;
};
Columns Find(const Bitmap& pic, int top, int bottom, bool (*match)(uint32_t)) {
  Columns c;
  for (int x = 0; x < pic.pixelWidth(); ++x) {
    for (int y = top; y < bottom; ++y) {
      if (!match(PixelAt(pic, x, y))) continue;
      if (c.first < 0) c.first = x;
      c.last = x;
      ++c.count;
    }
  }
  return c;
}
// Ink of the text: mostly blue, and the heart: mostly red (edges are smoothed).
bool Bluish(uint32_t p) { return (p & 0xFF) > 0xC0 && ((p >> 16) & 0xFF) < 0x60 && ((p >> 8) & 0xFF) < 0x60; }
bool Reddish(uint32_t p) { return ((p >> 16) & 0xFF) > 0xC0 && (p & 0xFF) < 0x60 && ((p >> 8) & 0xFF) < 0x60; }

TEST(MadeWithBannerTest, OnlyTheHeartIsRedAndInTheIconFont) {
  DisplayScreen s(Banner(300, 40));
  auto& b = *s.owner->banner1;
  EXPECT_EQ(b.mbase.Tag().As<tm_madewithbanner>(), s.owner->banner1);
  auto label = BannerLabel(b);
  ASSERT_TRUE(label.IsInitialized());
  EXPECT_EQ(label.Parent(), b.mbase);
  EXPECT_EQ(label.native()->frame(), (Frame{0, 0, 300, 40}));
  EXPECT_EQ(label.native()->textAlignment().vertical, VerticalAlignment::Center);
  EXPECT_EQ(label.native()->textAlignment().horizontal, HorizontalAlignment::Center);
  auto rich = label.AttributedText();
  ASSERT_NE(rich, nullptr);
  ASSERT_EQ(rich->runs().size(), 3u);
  const auto& before = rich->runs()[0];
  const auto& heart = rich->runs()[1];
  const auto& after = rich->runs()[2];
  EXPECT_EQ(before.text.str(), "Made with ");
  EXPECT_FALSE(before.font.IsInitialized()) << "the label's font";
  EXPECT_FALSE(before.color.has_value()) << "the label's colour";
  EXPECT_EQ(heart.text.units(), std::u16string(1, char16_t{0xF004}));
  EXPECT_EQ(heart.font, UiLayer().CreateFontAwesome(20));
  EXPECT_EQ(heart.font.family(), "FontAwesome");
  EXPECT_EQ(heart.font.Size(), 20);
  EXPECT_EQ(heart.color, static_cast<int32_t>(kRed));
  EXPECT_EQ(after.text.str(), tm_madewithbanner::kClosingText);
  EXPECT_EQ(after.text.str().substr(0, 4), " in ");
  EXPECT_FALSE(after.font.IsInitialized());
  EXPECT_FALSE(after.color.has_value());
  EXPECT_EQ(label.Text().Length(), 10 + 1 + static_cast<int>(std::string(tm_madewithbanner::kClosingText).size()));
}

TEST(MadeWithBannerTest, TheScreenShowsABlueLineWithARedHeartInItsMiddle) {
  DisplayScreen s(Banner(300, 40));
  auto pic = s.picture("banner");
  auto red = Find(*pic, 100, 140, Reddish);
  auto blue = Find(*pic, 100, 140, Bluish);
  ASSERT_GT(red.count, 40) << "the heart's glyph is drawn";
  ASSERT_GT(blue.count, 40);
  EXPECT_LT(blue.first, red.first) << "text before the heart";
  EXPECT_GT(blue.last, red.last) << "text after the heart";
  EXPECT_LT(red.last - red.first, 30) << "one glyph of about the text's size";
  // Nothing blue inside the heart's columns, nothing red outside them.
  for (int x = red.first; x <= red.last; ++x) {
    for (int y = 100; y < 140; ++y) EXPECT_FALSE(Bluish(PixelAt(*pic, x, y))) << x << "," << y;
  }
  EXPECT_EQ(Find(*pic, 0, 100, Reddish).count + Find(*pic, 140, pic->pixelHeight(), Reddish).count, 0);
}

TEST(MadeWithBannerTest, AResizeKeepsTheLineCentred) {
  DisplayScreen s(Banner(300, 40));
  auto& b = *s.owner->banner1;
  b.mbase.SetLayoutAnimated(0, 0, 200, 375, 80);
  EXPECT_EQ(BannerLabel(b).native()->frame(), (Frame{0, 0, 375, 80}));
  auto pic = s.picture("banner-resized");
  auto ink = Find(*pic, 200, 280, [](uint32_t p) { return Bluish(p) || Reddish(p); });
  ASSERT_GT(ink.count, 0);
  EXPECT_NEAR(ink.first, 375 - 1 - ink.last, 3) << "as much room left as right";
  int top = -1, bottom = -1;
  for (int y = 200; y < 280; ++y) {
    for (int x = 0; x < 375; ++x) {
      if (!Bluish(PixelAt(*pic, x, y)) && !Reddish(PixelAt(*pic, x, y))) continue;
      if (top < 0) top = y;
      bottom = y;
    }
  }
  EXPECT_NEAR(top - 200, 279 - bottom, 8) << "vertically centred (glyphs sit off their line's centre)";
}

}  // namespace
}  // namespace tmr
