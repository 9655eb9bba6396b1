#include <gtest/gtest.h>

#include <string>

#include "platform/views/Canvas.h"
#include "platform/views/LabelWrapper.h"
#include "tests/views/display/DisplayScreen.h"
#include "views/display/ResumableSub_scrollinglabel_StartScrolling.h"

namespace tmr {
namespace {

const std::string kLong = "A text far too long to fit into the small scrolling label";

// A scrolling label "sl1" at (50, 100), 200 × 30, whose designer label is red text of 17 points.
std::string Scrolling(const std::string& text, int w = 200) {
  return R"({"name": "sl1", "type": "CustomView", "class": "tm_scrollinglabel", "frame": [50, 100, )" +
         std::to_string(w) + R"(, 30], "text": ")" + text +
         R"(", "textColor": "#FFFF0000", "font": {"family": "DEFAULT", "size": 17}, "props": {}})";
}

struct Marquee {
  explicit Marquee(const std::string& text, int w = 200) : s(Scrolling(text, w)), sl(*s.owner->sl1) {}
  View clip() const { return sl.mbase.GetView(0); }
  View moving() const { return sl.partNamed("moving"); }
  LabelWrapper label() const { return LabelWrapper::FromObject(Object(sl.partNamed(""))); }
  // Where the moving panel is now on the screen's clock, and where it is going.
  double shownLeft() const { return moving().native()->presentationFrame().left; }
  double targetLeft() const { return moving().Left(); }
  // The text's width in the label's font, measured on a canvas of its own.
  double width(const std::string& text) {
    View p = UiLayer().CreatePanel(s.owner->bi, "");
    Canvas cvs;
    cvs.Initialize(p);
    return cvs.MeasureText(String(text), sl.fnt).Width();
  }

  DisplayScreen s;
  tm_scrollinglabel& sl;
};

TEST(ScrollingLabelTest, ATextThatFitsStandsStillLeftAlignedInBlack) {
  Marquee m("Hello");
  EXPECT_EQ(m.sl.mbase.Tag().As<tm_scrollinglabel>(), m.s.owner->sl1);
  EXPECT_EQ(m.sl._gettext().str(), "Hello");
  EXPECT_EQ(m.clip().native()->frame(), (Frame{0, 0, 200, 30}));
  EXPECT_TRUE(m.clip().native()->clipsToBounds());
  EXPECT_EQ(m.moving().Tag().AsString().str(), "static");
  EXPECT_EQ(m.moving().native()->frame(), (Frame{0, 0, 200, 30}));
  auto label = m.label();
  EXPECT_EQ(label.Text().str(), "Hello");
  EXPECT_EQ(label.native()->frame(), (Frame{0, 0, 200, 30}));
  EXPECT_EQ(label.native()->textAlignment().vertical, VerticalAlignment::Center);
  EXPECT_EQ(label.native()->textAlignment().horizontal, HorizontalAlignment::Left);
  EXPECT_EQ(label.TextColor(), UiLayer::Color_Black) << "the designer label's colour is not taken";
  EXPECT_EQ(label.Font(), m.sl.fnt);
  EXPECT_EQ(m.sl.fnt.Size(), 17);
  m.s.wait(10000);
  EXPECT_EQ(m.shownLeft(), 0);
  EXPECT_FALSE(m.moving().native()->isAnimating());
}

TEST(ScrollingLabelTest, OnlyATextWiderThanTheViewScrolls) {
  Marquee m("Hello");
  const double w = m.width(kLong);
  struct Case {
    std::string text;
    double viewWidth;
    bool scrolls;
  };
  const Case cases[] = {{kLong, w, false}, {kLong, w - 0.5, true}, {kLong, w + 1, false},
                        {"", 0, false},    {"", 200, false},       {"x", 1, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text + " in " + std::to_string(c.viewWidth));
    m.sl.mbase.SetLayoutAnimated(0, 50, 100, c.viewWidth, 30);
    m.sl._settext(String(c.text));
    EXPECT_EQ(m.moving().Tag().AsString().str(), c.scrolls ? "" : "static");
    EXPECT_EQ(m.label().Text().str(), c.scrolls ? c.text + "   " + c.text : c.text);
    m.s.wait(1500);
    EXPECT_EQ(m.shownLeft() < 0, c.scrolls);
  }
}

TEST(ScrollingLabelTest, TheMarqueePausesSlidesByOneCopyPausesAndJumpsBack) {
  Marquee m("Hello");
  const double once = m.width(kLong);
  const double twice = m.width(kLong + "   " + kLong);
  // Widths add up, so sliding by the doubled width less one copy brings the second copy exactly
  // to where the first began, and the jump back does not show.
  const double travel = twice - once;
  EXPECT_NEAR(travel, m.width("   " + kLong), 0.01);
  const int duration = static_cast<int>(twice / 100 * 1000);

  m.sl._settext(String(kLong));
  ASSERT_EQ(m.moving().Tag().AsString().str(), "");
  EXPECT_EQ(m.moving().Width(), static_cast<float>(twice));
  EXPECT_EQ(m.label().Width(), static_cast<float>(twice));
  EXPECT_EQ(m.label().Text().str(), kLong + "   " + kLong);

  m.s.wait(999);
  EXPECT_EQ(m.targetLeft(), 0) << "a pause at the start position";
  m.s.wait(1);
  EXPECT_FLOAT_EQ(m.targetLeft(), static_cast<float>(-travel));
  EXPECT_EQ(m.shownLeft(), 0);
  m.s.wait(duration / 2);
  EXPECT_LT(m.shownLeft(), -travel * 0.2);
  EXPECT_GT(m.shownLeft(), -travel * 0.8);
  m.s.wait(duration - duration / 2);
  EXPECT_FLOAT_EQ(m.shownLeft(), static_cast<float>(-travel));
  m.s.wait(999);
  EXPECT_FLOAT_EQ(m.shownLeft(), static_cast<float>(-travel)) << "a pause at the end";
  m.s.wait(1);
  EXPECT_EQ(m.shownLeft(), 0) << "jumped back, and the next pass starts at once";
  EXPECT_FLOAT_EQ(m.targetLeft(), static_cast<float>(-travel));
  m.s.wait(duration);
  EXPECT_FLOAT_EQ(m.shownLeft(), static_cast<float>(-travel));
  EXPECT_EQ(m.moving().Top(), 0);
  EXPECT_EQ(m.moving().Height(), 30);
}

TEST(ScrollingLabelTest, AnotherLongTextEndsTheFirstMarquee) {
  Marquee m(kLong);
  View first = m.moving();
  m.s.wait(1500);
  const Frame frozen = first.native()->frame();
  m.sl._settext(String(kLong + " again"));
  View second = m.moving();
  EXPECT_NE(second, first) << "a scrolling text gets a fresh panel";
  EXPECT_FALSE(first.Parent().IsInitialized());
  EXPECT_EQ(m.clip().NumberOfViews(), 1);
  m.s.wait(30000);
  EXPECT_EQ(first.native()->frame(), frozen) << "the old panel no longer moves";
  EXPECT_LT(second.Left(), 0);
}

TEST(ScrollingLabelTest, ANewColourRestartsTheMarqueeFromTheStartWithItsPause) {
  Marquee m(kLong);
  m.s.wait(1500);
  ASSERT_LT(m.shownLeft(), 0);
  const int32_t blue = static_cast<int32_t>(0xFF0000FF);
  m.sl._settextcolor(blue);
  EXPECT_EQ(m.sl._gettextcolor(), blue);
  EXPECT_EQ(m.label().TextColor(), blue);
  EXPECT_EQ(m.shownLeft(), 0);
  m.s.wait(999);
  EXPECT_EQ(m.shownLeft(), 0);
  EXPECT_EQ(m.targetLeft(), 0);
  m.s.wait(200);
  EXPECT_LT(m.shownLeft(), 0);
}

TEST(ScrollingLabelTest, StillTextsKeepTheirPanelAndAScrollingOneTakesItOver) {
  Marquee m("one");
  View p = m.moving();
  m.sl._settext("two");
  EXPECT_EQ(m.moving(), p) << "a fitting text reuses the still line";
  EXPECT_EQ(m.label().Text().str(), "two");
  m.sl._settext(String(kLong));
  EXPECT_EQ(m.moving(), p) << "the still line's panel starts scrolling";
  EXPECT_EQ(m.moving().Tag().AsString().str(), "");
  m.s.wait(1500);
  m.sl._settext("three");
  EXPECT_NE(m.moving(), p) << "after a scrolling text, a fitting one gets a fresh panel";
  EXPECT_EQ(m.moving().Tag().AsString().str(), "static");
  const Frame still = m.moving().native()->frame();
  m.s.wait(30000);
  EXPECT_EQ(m.moving().native()->frame(), still);
  EXPECT_FALSE(m.moving().native()->isAnimating());
}

TEST(ScrollingLabelTest, AResizeBuildsTheLineForTheNewWidth) {
  Marquee m(kLong);
  const double w = m.width(kLong);
  m.sl.mbase.SetLayoutAnimated(0, 0, 100, w + 10, 40);
  EXPECT_EQ(m.clip().native()->frame(), (Frame{0, 0, w + 10, 40}));
  EXPECT_EQ(m.moving().Tag().AsString().str(), "static");
  EXPECT_EQ(m.label().Text().str(), kLong);
  EXPECT_EQ(m.label().native()->frame(), (Frame{0, 0, w + 10, 40}));
  m.sl.mbase.SetLayoutAnimated(0, 0, 100, 100, 40);
  EXPECT_EQ(m.moving().Tag().AsString().str(), "");
  m.s.wait(1500);
  EXPECT_LT(m.shownLeft(), 0);
}

TEST(ScrollingLabelTest, TheScreenShowsTheMovingTextOnlyInsideTheView) {
  Marquee m(kLong);
  auto ink = [](const Bitmap& pic, int x0, int x1) {
    int n = 0;
    for (int y = 100; y < 130; ++y) {
      for (int x = x0; x < x1; ++x) n += PixelAt(pic, x, y) != 0xFFFFFFFFu;
    }
    return n;
  };
  auto still = m.s.picture("marquee-start");
  EXPECT_GT(ink(*still, 50, 250), 100) << "the text's start shows";
  EXPECT_EQ(ink(*still, 250, 375), 0) << "nothing beyond the view's right edge";
  m.s.wait(3000);
  auto moving = m.s.picture("marquee-moving");
  EXPECT_GT(ink(*moving, 50, 250), 100);
  EXPECT_EQ(ink(*moving, 0, 50) + ink(*moving, 250, 375), 0) << "nothing beyond either edge";
  EXPECT_NE(ink(*moving, 50, 250), ink(*still, 50, 250)) << "another part of the text shows";
}

TEST(ScrollingLabelTest, ALabelLeftOnItsOwnStopsItsMarqueeWhenTheRuntimeEnds) {
  std::weak_ptr<tm_scrollinglabel> weak;
  {
    Marquee m(kLong);
    weak = m.s.owner->sl1;
    m.s.wait(1500);
  }
  EXPECT_TRUE(weak.expired()) << "no marquee outlives its runtime";
}

}  // namespace
}  // namespace tmr
