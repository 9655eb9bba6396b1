#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "platform/layout/LayoutError.h"
#include "tests/views/input/CanvasViewsHarness.h"

namespace tmr {
namespace {

constexpr uint32_t kColor1 = 0xFF00FF00;
constexpr uint32_t kColor2 = 0xFF0000FF;
constexpr uint32_t kThumb = 0xFFFF0000;

// A seek bar of the layout at (20, 100) of the given size and designer properties.
std::string SeekBar(const std::string& name, int w, int h, const std::string& range) {
  return R"({"name": ")" + name + R"(", "type": "CustomView", "class": "tm_seekbar", "frame": [20, 100, )" +
         std::to_string(w) + ", " + std::to_string(h) +
         R"(], "props": {"Color1": "#FF00FF00", "Color2": "#FF0000FF", "ThumbColor": "#FFFF0000", )" + range + "}}";
}

const char* kTens = R"("Min": 0, "Max": 100, "Value": 50, "Interval": 10)";

// The picture the bar's view shows (its canvas, as last invalidated).
std::shared_ptr<Bitmap> Shown(const tm_seekbar& sb) { return sb.mbase.native()->canvasPicture(); }

TEST(SeekBarTest, ATouchPicksTheNearestStepWithTiesToEvenAndEndsClamped) {
  struct Case {
    int localX;  // from the bar's left edge; the track starts 20 in and is 200 long
    int value;
  };
  // The unrounded values 34, 35, 45, 25, then beyond both ends.
  const Case cases[] = {{88, 30}, {90, 40}, {110, 40}, {70, 20}, {0, 0}, {239, 100}, {20, 0}, {220, 100}};
  for (const auto& c : cases) {
    CanvasViewsScreen s(SeekBar("sb1", 240, 40, kTens));
    auto& sb = *s.owner->sb1;
    EXPECT_FALSE(sb.vertical);
    EXPECT_EQ(sb.size, 200);
    s.finger->pressAt(20 + c.localX, 120);
    s.finger->release();
    EXPECT_EQ(sb._getvalue(), c.value) << "at " << c.localX;
  }
}

// The finger goes down in the middle and slides to the point (from the bar's top-left corner),
// as far as it likes: beyond either end of the track lies that end's value, whatever the range
// and its steps, and inside the track the nearest step as usual.
TEST(SeekBarTest, ATouchBeyondEitherEndGivesThatEndForEveryRangeAndPosition) {
  const double inf = std::numeric_limits<double>::infinity();
  const std::string whole = R"("Min": -2147483648, "Max": 2147483647, "Value": 0, "Interval": 1000000000)";
  const std::string thirties = R"("Min": 0, "Max": 100, "Value": 50, "Interval": 30)";
  struct Case {
    std::string range;
    int w, h;
    double x, y;
    int32_t value;
  };
  const Case cases[] = {
      {kTens, 240, 40, -3e9, 20, 0},
      {kTens, 240, 40, -inf, 20, 0},
      {kTens, 240, 40, 3e9, 20, 100},
      {kTens, 240, 40, inf, 20, 100},
      {whole, 240, 40, 300, 20, 2147483647},
      {whole, 240, 40, -100, 20, -2147483648},
      {whole, 240, 40, inf, 20, 2147483647},
      {whole, 240, 40, -inf, 20, -2147483648},
      {whole, 240, 40, 170, 20, 1000000000},   // inside: the nearest step
      {whole, 240, 40, 219, 20, 2000000000},   // inside, next to the end
      {whole, 40, 240, 20, inf, -2147483648},  // vertical: the minimum at the bottom
      {whole, 40, 240, 20, -3e9, 2147483647},
      {thirties, 240, 40, 220, 20, 90},  // the end of the track itself: the nearest step
      {thirties, 240, 40, 221, 20, 100},
      {thirties, 240, 40, 19, 20, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.range + " at " + std::to_string(c.x) + ", " + std::to_string(c.y));
    CanvasViewsScreen s(SeekBar("sb1", c.w, c.h, c.range));
    auto& sb = *s.owner->sb1;
    s.finger->pressAt(20 + c.w / 2, 100 + c.h / 2);
    s.finger->moveTo(20 + c.x, 100 + c.y);
    s.finger->release();
    s.nextTurn();
    EXPECT_EQ(sb._getvalue(), c.value);
    EXPECT_EQ(s.heard().at(s.heard().size() - 2), "value " + std::to_string(c.value));
  }
}

TEST(SeekBarTest, EventsArriveOnTheNextTurnTouchStateFirst) {
  CanvasViewsScreen s(SeekBar("sb1", 240, 40, kTens));
  auto& sb = *s.owner->sb1;
  s.finger->pressAt(20 + 88, 120);
  EXPECT_TRUE(sb.pressed);
  EXPECT_EQ(sb._getvalue(), 30) << "the value changes at once";
  EXPECT_TRUE(s.heard().empty()) << "the events wait for the next turn";
  s.nextTurn();
  EXPECT_EQ(s.heard(), (std::vector<std::string>{"pressed true", "value 30"}));
  // Moving within the same step raises nothing; into the next step raises the new value.
  s.finger->moveTo(20 + 89, 120);
  s.nextTurn();
  EXPECT_EQ(s.heard().size(), 2u);
  s.finger->moveTo(20 + 130, 120);
  s.nextTurn();
  EXPECT_EQ(s.heard().back(), "value 60");
  s.finger->release();
  EXPECT_FALSE(sb.pressed);
  s.nextTurn();
  EXPECT_EQ(s.heard(), (std::vector<std::string>{"pressed true", "value 30", "value 60", "pressed false"}));
  EXPECT_EQ(sb._getvalue(), 60) << "lifting the finger keeps the value";
}

TEST(SeekBarTest, SettingTheValueClampsButDoesNotSnapAndRaisesNothing) {
  CanvasViewsScreen s(SeekBar("sb1", 240, 40, kTens));
  auto& sb = *s.owner->sb1;
  struct Case {
    int in, stored;
  };
  for (const auto& c : {Case{37, 37}, Case{-5, 0}, Case{250, 100}, Case{100, 100}}) {
    sb._setvalue(c.in);
    EXPECT_EQ(sb._getvalue(), c.stored);
  }
  s.nextTurn();
  EXPECT_TRUE(s.heard().empty());
}

TEST(SeekBarTest, DesignerValuesAreClampedAndTruncatedAndTheIntervalIsAtLeastOne) {
  struct Case {
    std::string props;
    int value, interval;
  };
  const Case cases[] = {{R"("Min": 0, "Max": 100, "Value": 150)", 100, 1},
                        {R"("Min": 10, "Max": 100, "Value": 3, "Interval": 0)", 10, 1},
                        {R"("Min": 0, "Max": 100, "Value": 42.9, "Interval": 2.7)", 42, 2},
                        {R"("Min": 0, "Max": 100, "Value": 43, "Interval": -4)", 43, 1}};
  for (const auto& c : cases) {
    CanvasViewsScreen s(SeekBar("sb1", 240, 40, c.props));
    EXPECT_EQ(s.owner->sb1->_getvalue(), c.value) << c.props;
    EXPECT_EQ(s.owner->sb1->interval, c.interval) << c.props;
    EXPECT_EQ(s.owner->sb1->radius2, 20);
  }
}

TEST(SeekBarTest, TheTrackAndThumbAreDrawnWhereTheValueIs) {
  CanvasViewsScreen s(SeekBar("sb1", 240, 40, R"("Min": 0, "Max": 100, "Value": 50)"));
  auto& sb = *s.owner->sb1;
  auto pic = Shown(sb);
  ASSERT_TRUE(pic);
  EXPECT_EQ(pic->pixelWidth(), 240);
  // Thumb at 20 + 0.5 × 200 = 120 on the middle row 20.
  EXPECT_EQ(ArgbAt(*pic, 120, 20), kColor1);
  EXPECT_EQ(ArgbAt(*pic, 60, 20), kColor1) << "the track up to the thumb";
  EXPECT_EQ(ArgbAt(*pic, 60, 17), 0u) << "is 4 wide";
  EXPECT_EQ(ArgbAt(*pic, 180, 20), kColor2) << "the rest of the track";
  EXPECT_EQ(ArgbAt(*pic, 180, 18), 0u) << "is 2 wide";
  EXPECT_EQ(ArgbAt(*pic, 10, 20), 0u) << "a margin of 20 at the ends";
  EXPECT_EQ(ArgbAt(*pic, 135, 20), kColor2);

  // While pressed the large circle covers the thumb; it goes when the finger lifts.
  s.finger->pressAt(20 + 120, 120);
  EXPECT_EQ(ArgbAt(*Shown(sb), 135, 20), kThumb);
  EXPECT_EQ(ArgbAt(*Shown(sb), 120, 5), kThumb);
  s.finger->release();
  EXPECT_EQ(ArgbAt(*Shown(sb), 135, 20), kColor2);

  sb._setvalue(0);
  EXPECT_EQ(ArgbAt(*Shown(sb), 20, 20), kColor1);
  EXPECT_EQ(ArgbAt(*Shown(sb), 60, 20), kColor2);
}

TEST(SeekBarTest, AWideRangeAcrossZeroPlacesTheThumbByItsValue) {
  struct Case {
    const char* value;
    uint32_t at60, at180;  // colours on the track's middle row, left and right of the middle
  };
  const Case cases[] = {{"2000000000", kColor1, kColor1}, {"0", kColor1, kColor2}, {"-2000000000", kColor2, kColor2}};
  for (const auto& c : cases) {
    CanvasViewsScreen s(
        SeekBar("sb1", 240, 40, std::string(R"("Min": -2000000000, "Max": 2000000000, "Value": )") + c.value));
    auto pic = Shown(*s.owner->sb1);
    EXPECT_EQ(ArgbAt(*pic, 60, 20), c.at60) << c.value;
    EXPECT_EQ(ArgbAt(*pic, 180, 20), c.at180) << c.value;
  }
}

TEST(SeekBarTest, OrientationFollowsTheShapeAndAVerticalBarAgreesWithItsTouches) {
  struct Case {
    int w, h;
    bool vertical;
  };
  for (const auto& c : {Case{60, 60, false}, Case{61, 60, false}, Case{60, 61, true}}) {
    CanvasViewsScreen s(SeekBar("sb1", c.w, c.h, R"("Min": 0, "Max": 10, "Value": 5)"));
    EXPECT_EQ(s.owner->sb1->vertical, c.vertical) << c.w << " x " << c.h;
  }
  // Vertical, maximum at the top, a minimum above 0: the thumb of 30 is drawn at y 120, and
  // touching it keeps the value.
  CanvasViewsScreen s(SeekBar("sb1", 40, 240, R"("Min": 10, "Max": 50, "Value": 30)"));
  auto& sb = *s.owner->sb1;
  EXPECT_EQ(ArgbAt(*Shown(sb), 20, 120), kColor1);
  EXPECT_EQ(ArgbAt(*Shown(sb), 20, 60), kColor2) << "above the thumb";
  EXPECT_EQ(ArgbAt(*Shown(sb), 20, 180), kColor1) << "below the thumb";
  s.finger->pressAt(20 + 20, 100 + 120);
  s.finger->release();
  s.nextTurn();
  EXPECT_EQ(sb._getvalue(), 30);
  EXPECT_EQ(s.heard(), (std::vector<std::string>{"pressed true", "pressed false"}));
  s.finger->pressAt(20 + 20, 100 + 20);
  s.finger->release();
  EXPECT_EQ(sb._getvalue(), 50) << "the top end is the maximum";
}

TEST(SeekBarTest, NoTrackOrAnEmptyRangeDrawsNothingAndTouchesChangeNoValue) {
  struct Case {
    int w, h;
    std::string range;
    bool track;
  };
  const Case cases[] = {{40, 30, R"("Min": 0, "Max": 100, "Value": 50)", false},
                        {30, 40, R"("Min": 0, "Max": 100, "Value": 50)", false},
                        {240, 40, R"("Min": 50, "Max": 50, "Value": 50)", true},
                        {240, 40, R"("Min": 60, "Max": 20, "Value": 50)", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.range + " " + std::to_string(c.w));
    CanvasViewsScreen s(SeekBar("sb1", c.w, c.h, c.range));
    auto& sb = *s.owner->sb1;
    const int before = sb._getvalue();
    auto pic = Shown(sb);
    ASSERT_TRUE(pic);
    int painted = 0;
    for (int y = 0; y < pic->pixelHeight(); ++y)
      for (int x = 0; x < pic->pixelWidth(); ++x) painted += ArgbAt(*pic, x, y) != 0;
    EXPECT_EQ(painted > 0, c.track);
    s.finger->pressAt(20 + 5, 100 + 5);
    s.finger->moveTo(20 + c.w - 5, 100 + 5);
    s.finger->release();
    s.nextTurn();
    EXPECT_EQ(sb._getvalue(), before);
    EXPECT_EQ(s.heard(), (std::vector<std::string>{"pressed true", "pressed false"}));
  }
}

TEST(SeekBarTest, ACallbackWithoutTheSubsHearsNothing) {
  CanvasViewsScreen s(SeekBar("sbquiet", 240, 40, kTens));
  s.finger->pressAt(20 + 88, 120);
  s.finger->release();
  s.nextTurn();
  EXPECT_EQ(s.owner->sbquiet->_getvalue(), 30);
  EXPECT_TRUE(s.heard().empty());
}

TEST(SeekBarTest, ALayoutMustGiveTheColoursAndTheRange) {
  for (const std::string missing : {"Color1", "Min", "Max", "Value"}) {
    std::string props = R"("Color1": "#FF00FF00", "Color2": "#FF0000FF", "ThumbColor": "#FFFF0000", )"
                        R"("Min": 0, "Max": 10, "Value": 5)";
    const auto at = props.find("\"" + missing + "\"");
    const auto end = props.find(", ", at);
    props.erase(at, end == std::string::npos ? std::string::npos : end + 2 - at);
    if (props.ends_with(", ")) props.resize(props.size() - 2);
    const std::string view =
        R"({"name": "sb1", "type": "CustomView", "class": "tm_seekbar", "frame": [0, 0, 240, 40],
                                 "props": {)" +
        props + "}}";
    EXPECT_THROW(CanvasViewsScreen s(view), LayoutError) << missing;
  }
}

}  // namespace
}  // namespace tmr
