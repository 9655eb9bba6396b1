#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/core/Common.h"
#include "platform/graphics/Bitmap.h"
#include "platform/layout/LayoutError.h"
#include "platform/views/HapticLog.h"
#include "platform/views/ViewRenderer.h"
#include "tests/views/input/InputViewsHarness.h"

namespace tmr {
namespace {

constexpr uint32_t kOn = 0xFF00FF00;     // green bar
constexpr uint32_t kOff = 0xFF0000FF;    // blue track
constexpr uint32_t kThumb = 0xFFFF0000;  // red thumb

// A switch of the layout at (20, top), given a larger frame than it keeps.
std::string SwitchView(const std::string& name, bool value, const std::string& extra = "", int top = 100) {
  return R"({"name": ")" + name + R"(", "type": "CustomView", "class": "tm_switch", "frame": [20, )" +
         std::to_string(top) + ", 80, 40]" + extra +
         R"(, "props": {"OnColor": "#FF00FF00", "OffColor": "#FF0000FF", "ThumbColor": "#FFFF0000", "Value": )" +
         (value ? "true" : "false") + "}}";
}

// What a picture of the switch shows: how many pixels have each colour exactly, and where the
// thumb is on the middle row (its first and last fully red pixel, -1 when there is none).
struct Picture {
  int on = 0, off = 0, thumb = 0, clear = 0;
  int thumbLeft = -1, thumbRight = -1;
  // The pixel the thumb is centred on.
  double thumbCentre() const { return (thumbLeft + thumbRight) / 2.0; }
};

uint32_t Argb(const Bitmap& b, int x, int y) {
  auto p = b.pixels().subspan(static_cast<size_t>((y * b.pixelWidth() + x) * 4), 4);
  return static_cast<uint32_t>(p[3]) << 24 | static_cast<uint32_t>(p[0]) << 16 | static_cast<uint32_t>(p[1]) << 8 |
         p[2];
}

Picture Look(const Bitmap& b) {
  Picture pic;
  const int cy = b.pixelHeight() / 2;
  for (int y = 0; y < b.pixelHeight(); ++y) {
    for (int x = 0; x < b.pixelWidth(); ++x) {
      uint32_t c = Argb(b, x, y);
      pic.on += c == kOn;
      pic.off += c == kOff;
      pic.clear += c == 0;
      if (c == kThumb) {
        pic.thumb += 1;
        if (y == cy) {
          if (pic.thumbLeft < 0) pic.thumbLeft = x;
          pic.thumbRight = x;
        }
      }
    }
  }
  return pic;
}

std::shared_ptr<Bitmap> Shown(const tm_switch& sw) { return sw.iv.GetBitmap(); }

bool SamePixels(const Bitmap& a, const Bitmap& b) {
  return a.pixelWidth() == b.pixelWidth() && a.pixelHeight() == b.pixelHeight() &&
         std::equal(a.pixels().begin(), a.pixels().end(), b.pixels().begin());
}

TEST(SwitchTest, MadeFromALayoutAtItsFixedSizeWithAPixelBufferAtTheScreensScale) {
  struct Case {
    float scale;
    int w, h;
    double offThumb, onThumb;  // thumb centres: r, and round(W - k - r), r = round(H / 2) ties to even
  };
  const Case cases[] = {{1, 55, 31, 16, 38}, {2, 110, 62, 31, 77}, {3, 165, 93, 46, 116}};
  for (const auto& c : cases) {
    InputViewsHarness h(SwitchView("sw1", false) + "," + SwitchView("sw2", true), c.scale);
    SCOPED_TRACE("scale " + std::to_string(c.scale));
    auto& sw = *h.owner->sw1;
    EXPECT_EQ(sw.mbase.Left(), 20);
    EXPECT_EQ(sw.mbase.Top(), 100);
    EXPECT_EQ(sw.mbase.Width(), 55) << "the layout's 80 × 40 gives way to the fixed size";
    EXPECT_EQ(sw.mbase.Height(), 31);
    EXPECT_EQ(sw.mbase.Tag().As<tm_switch>(), h.owner->sw1) << "the base panel leads to the switch";
    EXPECT_EQ(sw.bc->mwidth, c.w);
    EXPECT_EQ(sw.bc->mheight, c.h);
    auto off = Look(*Shown(sw));
    EXPECT_EQ(off.on, 0);
    EXPECT_GT(off.off, 0);
    EXPECT_GT(off.clear, 0) << "the corners outside the rounded track stay transparent";
    EXPECT_DOUBLE_EQ(off.thumbCentre(), c.offThumb);
    auto on = Look(*Shown(*h.owner->sw2));
    EXPECT_EQ(on.off, 0);
    EXPECT_GT(on.on, 0);
    EXPECT_DOUBLE_EQ(on.thumbCentre(), c.onThumb);
    EXPECT_FALSE(sw._getvalue());
    EXPECT_TRUE(h.owner->sw2->_getvalue());
  }
}

TEST(SwitchTest, ALayoutMustGiveTheColoursAndTheValue) {
  const std::vector<std::pair<std::string, std::string>> props = {{"OnColor", R"("#FF00FF00")"},
                                                                  {"OffColor", R"("#FF0000FF")"},
                                                                  {"ThumbColor", R"("#FFFF0000")"},
                                                                  {"Value", "true"}};
  for (const auto& [missing, ignored] : props) {
    std::string given;
    for (const auto& [key, value] : props) {
      if (key == missing) continue;
      given += (given.empty() ? "" : ", ") + ("\"" + key + "\": " + value);
    }
    try {
      InputViewsHarness h(
          R"({"name": "sw1", "type": "CustomView", "class": "tm_switch", "frame": [0, 0, 55, 31],
                             "props": {)" +
          given + "}}");
      ADD_FAILURE() << "loaded without " << missing;
    } catch (const LayoutError& e) {
      EXPECT_NE(std::string(e.what()).find("view sw1: key \"" + missing + "\": designer property missing"),
                std::string::npos)
          << e.what();
    }
  }
}

TEST(SwitchTest, ATapAnimatesFrameByFrameForTwoHundredMillisecondsAndReportsOnTheNextTurn) {
  InputViewsHarness h(SwitchView("sw1", false));
  auto& sw = *h.owner->sw1;
  auto offPicture = Shown(sw);
  const int64_t t0 = h.now();
  h.tap(sw.partNamed(""));
  EXPECT_TRUE(sw._getvalue()) << "the value is the new one from the start of the animation";
  EXPECT_TRUE(h.heard().empty()) << "the event waits for the next turn";
  EXPECT_TRUE(SamePixels(*Shown(sw), *offPicture)) << "the first frame is state 0";
  h.nextTurn();
  EXPECT_EQ(h.owner->events, (std::vector<HeardEvent>{{"sw1:true", t0}}));

  // A frame about every 16 ms: at 96 ms the picture is 48 % of the way.
  h.wait(96);
  auto mid = Look(*Shown(sw));
  EXPECT_GT(mid.on, 0) << "the bar grows out of the centre";
  EXPECT_GT(mid.off, 0) << "over the track";
  const float k = 2, W = 110, r = 31;
  EXPECT_NEAR(mid.thumbCentre(), r - k + (W - 2 * r) * 0.48f, 1.0);

  // Frames at 112 … 192 ms, then the final picture at 208 ms; nothing after that.
  for (int64_t at = 112; at <= 192; at += 16) {
    auto before = Shown(sw);
    h.wait(16);
    EXPECT_NE(Shown(sw), before) << "a new frame at " << at << " ms";
  }
  auto last = Look(*Shown(sw));
  EXPECT_GT(last.off, 0) << "at 192 ms the track still shows";
  h.wait(16);
  auto end = Look(*Shown(sw));
  EXPECT_EQ(end.off, 0);
  EXPECT_DOUBLE_EQ(end.thumbCentre(), 77);
  auto finalPicture = Shown(sw);
  h.wait(500);
  EXPECT_EQ(Shown(sw), finalPicture) << "the animation has ended";
  EXPECT_EQ(h.heard(), (std::vector<std::string>{"sw1:true"}));

  // Back off: the same road in reverse, ending in exactly the first picture.
  h.tap(sw.partNamed(""));
  h.wait(96);
  EXPECT_NEAR(Look(*Shown(sw)).thumbCentre(), r - k + (W - 2 * r) * 0.52f, 1.0);
  h.wait(112);
  EXPECT_TRUE(SamePixels(*Shown(sw), *offPicture));
  EXPECT_EQ(h.heard(), (std::vector<std::string>{"sw1:true", "sw1:false"}));
}

TEST(SwitchTest, ASecondTapWithinTheAnimationTakesOverAndBothValuesAreReported) {
  InputViewsHarness h(SwitchView("sw1", false));
  auto& sw = *h.owner->sw1;
  auto offPicture = Shown(sw);
  h.tap(sw.partNamed(""));
  h.wait(50);  // frames at 16, 32, 48 ms
  h.tap(sw.partNamed(""));
  EXPECT_FALSE(sw._getvalue());
  auto secondStart = Shown(sw);
  EXPECT_EQ(Look(*secondStart).off, 0) << "turning off starts from the full on picture";
  h.wait(14);  // 64 ms: the first animation wakes, sees the newer change and draws nothing
  EXPECT_EQ(Shown(sw), secondStart);
  h.wait(2);  // 66 ms: the second animation's first sleep ends
  EXPECT_NE(Shown(sw), secondStart);
  h.wait(200);
  EXPECT_TRUE(SamePixels(*Shown(sw), *offPicture));
  EXPECT_EQ(h.heard(), (std::vector<std::string>{"sw1:true", "sw1:false"}));
}

TEST(SwitchTest, SettingTheValueFromCodeAnimatesOnlyAChangeAndRaisesNothing) {
  InputViewsHarness h(SwitchView("sw1", true));
  auto& sw = *h.owner->sw1;
  auto onPicture = Shown(sw);
  sw._setvalue(true);
  EXPECT_EQ(Shown(sw), onPicture) << "the same value draws nothing";
  sw._setvalue(false);
  EXPECT_FALSE(sw._getvalue());
  h.wait(96);
  EXPECT_GT(Look(*Shown(sw)).on, 0) << "animated";
  h.wait(500);
  EXPECT_EQ(Look(*Shown(sw)).on, 0);
  EXPECT_TRUE(h.heard().empty());
}

TEST(SwitchTest, ADisabledSwitchShowsNoThumbAndIgnoresTaps) {
  InputViewsHarness h(SwitchView("sw1", true, R"(, "enabled": false)"));
  auto& sw = *h.owner->sw1;
  EXPECT_FALSE(sw._getenabled()) << "the layout's enabled state is the switch's";
  EXPECT_TRUE(sw.mbase.Enabled()) << "while its base panel still takes the taps";
  auto disabled = Shown(sw);
  EXPECT_EQ(Look(*disabled).thumb, 0);
  EXPECT_GT(Look(*disabled).on, 0);
  h.tap(sw.partNamed(""));
  h.wait(300);
  EXPECT_TRUE(sw._getvalue());
  EXPECT_EQ(Shown(sw), disabled) << "nothing redrawn";
  EXPECT_TRUE(h.heard().empty());

  sw._setenabled(true);
  EXPECT_DOUBLE_EQ(Look(*Shown(sw)).thumbCentre(), 77) << "the thumb is back at once";
  h.tap(sw.partNamed(""));
  h.nextTurn();
  EXPECT_EQ(h.heard(), (std::vector<std::string>{"sw1:false"}));
}

TEST(SwitchTest, DisablingDuringTheAnimationDrawsTheFinalPictureAndStopsTheAnimation) {
  InputViewsHarness h(SwitchView("sw1", false));
  auto& sw = *h.owner->sw1;
  h.tap(sw.partNamed(""));
  h.wait(50);
  sw._setenabled(false);
  auto final = Shown(sw);
  auto pic = Look(*final);
  EXPECT_EQ(pic.thumb, 0);
  EXPECT_EQ(pic.off, 0) << "the final on picture, at once";
  h.wait(300);
  EXPECT_EQ(Shown(sw), final) << "the older animation drew nothing more";
  EXPECT_EQ(h.heard(), (std::vector<std::string>{"sw1:true"}));
}

TEST(SwitchTest, HapticTapOnlyWhenAskedForAndCallbacksWithoutTheSubHearNothing) {
  InputViewsHarness h(SwitchView("sw1", false) + "," +
                      R"({"name": "sw2", "type": "CustomView", "class": "tm_switch", "frame": [20, 200, 55, 31],
                          "props": {"OnColor": "#FF00FF00", "OffColor": "#FF0000FF", "ThumbColor": "#FFFF0000",
                                    "Value": false, "HapticFeedback": true}},)" +
                      SwitchView("swquiet", false, "", 300));
  auto& haptics = h.rt.service<HapticLog>();
  h.tap(h.owner->sw1->partNamed(""));
  EXPECT_EQ(haptics.count("impactOccurred"), 0);
  h.tap(h.owner->sw2->partNamed(""));
  EXPECT_EQ(haptics.count("impactOccurred"), 1);
  h.tap(h.owner->swquiet->partNamed(""));
  h.wait(300);
  EXPECT_TRUE(h.owner->swquiet->_getvalue()) << "the tap still switches";
  EXPECT_EQ(h.heard(), (std::vector<std::string>{"sw1:true", "sw2:true"}));
}

TEST(SwitchTest, TheScreenShowsTheSwitchPicture) {
  InputViewsHarness h(SwitchView("sw1", true));
  auto shot = ViewRenderer(h.rt).render(*h.screen.native(), 2);
  // At 2 pixels per point the switch covers x 40 … 150 and y 200 … 262 of the screen's picture:
  // the bar's left part and the thumb's centre.
  EXPECT_EQ(Argb(*shot, 40 + 20, 200 + 31), kOn);
  EXPECT_EQ(Argb(*shot, 40 + 77, 200 + 31), kThumb);
}

TEST(SwitchTest, AnInstanceSaysWhenItIsReleased) {
  InputViewsHarness h("");
  {
    auto sw = std::make_shared<tm_switch>();
    sw->_initialize(h.owner->bi, Object(h.owner), "x");
  }
  EXPECT_EQ(h.log, (std::vector<std::string>{"Class (tm_switch) instance released."}));
}

}  // namespace
}  // namespace tmr
