#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "tests/views/input/SelectorHarness.h"
#include "views/input/tm_formatter.h"

namespace tmr {
namespace {

using Events = std::vector<std::string>;

TEST(PlusMinusTest, NumericRangesCountTheirValuesAndEndExactlyAtTheEnd) {
  SelectorHarness h;
  struct Case {
    double start, end, interval;
    int size;
  };
  const Case cases[] = {{1, 10, 1, 10}, {0, 10, 3, 5}, {1, 100, 1, 100}, {5, 5, 1, 1}, {0, 10.0001, 1, 12}};
  for (const auto& c : cases) {
    h.pm->_setnumericrange(c.start, c.end, c.interval);
    EXPECT_EQ(h.pm->size, c.size) << c.start << ".." << c.end << " by " << c.interval;
    EXPECT_EQ(h.pm->mselectedindex, 0);
  }
  h.pm->_setnumericrange(0, 10, 3);
  std::vector<double> values;
  for (int i = 0; i < h.pm->size; ++i) values.push_back(h.pm->_getvalueimpl(i).AsDouble());
  EXPECT_EQ(values, (std::vector<double>{0, 3, 6, 9, 10}));
  EXPECT_TRUE(h.owner->events.empty());
}

TEST(PlusMinusTest, AnIntervalThatIsNotPositiveOrFiniteLeavesNothingToSelect) {
  SelectorHarness h;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const double cases[][3] = {{1, 10, 0}, {1, 10, -1}, {1, 10, nan}, {1, 10, inf}, {1, nan, 1}, {10, 1, 1}};
  for (const auto& c : cases) {
    h.pm->_setnumericrange(c[0], c[1], c[2]);
    EXPECT_EQ(h.pm->size, 0) << c[0] << ".." << c[1] << " by " << c[2];
    EXPECT_EQ(h.text(), "");
    h.pm->_setselectedvalue(Object(5));
    EXPECT_EQ(h.pm->mselectedindex, -1) << "nothing to select in an empty range";
    EXPECT_TRUE(h.pm->_getselectedvalue().IsNull());
    EXPECT_FALSE(h.pm->lblplus.Enabled());
    EXPECT_FALSE(h.pm->lblminus.Enabled());
  }
}

TEST(PlusMinusTest, SettingAValueRoundsHalvesToEvenClampsAndRaisesNothing) {
  SelectorHarness h;
  h.pm->_setnumericrange(1, 100, 1);
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {{2.5, "3"}, {3.5, "3"}, {4.5, "5"}, {0, "1"}, {-7, "1"}, {500, "100"}, {64, "64"}};
  for (const auto& c : cases) {
    h.pm->_setselectedvalue(Object(c.value));
    EXPECT_EQ(h.text(), c.text) << c.value;
  }
  h.pm->_setselectedvalue(Object(std::numeric_limits<double>::infinity()));
  EXPECT_EQ(h.text(), "100");
  h.pm->_setselectedvalue(Object(-std::numeric_limits<double>::infinity()));
  EXPECT_EQ(h.text(), "1");
  h.pm->_setselectedvalue(Object(std::numeric_limits<double>::quiet_NaN()));
  EXPECT_EQ(h.text(), "") << "not a number selects nothing";
  EXPECT_TRUE(h.pm->_getselectedvalue().IsNull());
  EXPECT_TRUE(h.owner->events.empty());
}

TEST(PlusMinusTest, StringItemsSelectNothingUntilAValueIsSet) {
  SelectorHarness h;
  h.pm->_setstringitems(List::Of({Object("low"), Object("mid"), Object("high")}));
  EXPECT_EQ(h.pm->mselectedindex, -1);
  EXPECT_EQ(h.text(), "");
  EXPECT_TRUE(h.pm->_getselectedvalue().IsNull()) << "nothing selected answers null, not an error";
  h.pm->_setselectedvalue(Object("mid"));
  EXPECT_EQ(h.text(), "mid");
  EXPECT_EQ(h.pm->_getselectedvalue(), Object("mid"));
  h.pm->_setselectedvalue(Object("none"));
  EXPECT_EQ(h.text(), "");
  EXPECT_TRUE(h.owner->events.empty());
}

TEST(PlusMinusTest, UserStepsRaiseTheValueEventAndStopAtTheEndsWhenNotCyclic) {
  SelectorHarness h;
  h.pm->_setnumericrange(1, 3, 1);
  h.pm->_setselectedvalue(Object(2));
  h.tap(true);
  EXPECT_EQ(h.text(), "3");
  EXPECT_FALSE(h.pm->lblplus.Enabled());
  h.tap(true);
  EXPECT_EQ(h.text(), "3") << "the plus arrow is disabled at the last value";
  h.tap(false);
  h.tap(false);
  EXPECT_EQ(h.text(), "1");
  EXPECT_FALSE(h.pm->lblminus.Enabled());
  h.tap(false);
  EXPECT_EQ(h.owner->events, (Events{"3", "2", "1"}));
  h.pm->_increment();
  h.pm->_increment();
  h.pm->_increment();
  EXPECT_EQ(h.owner->events, (Events{"3", "2", "1", "2", "3"})) << "no event past the end";
}

TEST(PlusMinusTest, CyclicSelectorsWrapAroundBothEnds) {
  SelectorHarness h(SelectorOptions{.cyclic = true, .rapid = false});
  h.pm->_setnumericrange(1, 3, 1);
  h.pm->_setselectedvalue(Object(3));
  EXPECT_TRUE(h.pm->lblplus.Enabled());
  h.tap(true);
  EXPECT_EQ(h.text(), "1");
  h.tap(false);
  EXPECT_EQ(h.text(), "3");
  EXPECT_EQ(h.owner->events, (Events{"1", "3"}));
}

TEST(PlusMinusTest, TheNextToLastValueIsSkippedWhenItShowsLikeTheLastOnlyOnTheWayUp) {
  SelectorHarness h;
  h.pm->_setnumericrange(0, 10.0001, 1);
  ASSERT_EQ(h.pm->size, 12);
  h.pm->_setindex(9, false);
  h.pm->_increment();
  EXPECT_EQ(h.pm->mselectedindex, 11);
  EXPECT_EQ(h.text(), "10");
  h.pm->_decrement();
  EXPECT_EQ(h.pm->mselectedindex, 10);
  EXPECT_EQ(h.text(), "10");
}

TEST(PlusMinusTest, HeldArrowStepsAtTouchDownThenAfterOneSecondThenEvery30ms) {
  SelectorHarness h;
  h.pm->_setnumericrange(1, 100, 1);
  h.pm->_setselectedvalue(Object(10));
  h.press(true);
  EXPECT_EQ(h.owner->events, (Events{"11"}));
  h.rt.loop().advance(999);
  EXPECT_EQ(h.owner->events.size(), 1u);
  h.rt.loop().advance(1);
  EXPECT_EQ(h.owner->events.size(), 2u) << "first repeat at 1000 ms";
  h.rt.loop().advance(29);
  EXPECT_EQ(h.owner->events.size(), 2u);
  h.rt.loop().advance(1);
  EXPECT_EQ(h.owner->events.size(), 3u) << "then every 30 ms";
  h.rt.loop().advance(70);  // 1100 ms held
  EXPECT_EQ(h.owner->events, (Events{"11", "12", "13", "14", "15"}));
  h.release();
  h.rt.loop().advance(1000);
  EXPECT_EQ(h.owner->events.size(), 5u) << "releasing stops the repeat";
}

TEST(PlusMinusTest, AHeldArrowKeepsItsPaceFromTheHoldsStartWhenAStepIsSlow) {
  struct Case {
    const char* what;
    int64_t slowMs;  // what the third step takes (a slow frame on screen)
    int64_t heldMs;
    size_t steps;
  };
  const Case cases[] = {
      {"no slow step", 0, 1600, 22},  // at touch-down, at 1000 ms, then every 30 ms up to 1600
      {"a step of 100 ms: those due meanwhile follow at once", 100, 1600, 22},
      {"a pause of 5 s restarts the pace rather than a burst", 5000, 7000, 35},  // 3 + (7000 - 6030) / 30
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SelectorHarness h;
    h.pm->_setnumericrange(1, 1000, 1);
    h.pm->_setselectedvalue(Object(1));
    // The clock moves on while the step runs, as it does while a frame is drawn between steps.
    h.owner->heard = [&] {
      if (h.owner->events.size() == 3) h.rt.loop().advance(c.slowMs);
    };
    h.press(true);
    h.rt.loop().advance(c.heldMs);
    EXPECT_EQ(h.owner->events.size(), c.steps);
    h.release();
  }
}

TEST(PlusMinusTest, WithoutRapidAHeldArrowStepsOnce) {
  SelectorHarness h(SelectorOptions{.rapid = false});
  h.pm->_setnumericrange(1, 100, 1);
  h.pm->_setselectedvalue(Object(50));
  h.press(false);
  h.rt.loop().advance(5000);
  h.release();
  EXPECT_EQ(h.owner->events, (Events{"49"}));
}

TEST(PlusMinusTest, ARepeatThatReachesTheEndStopsThereWithoutAnotherEvent) {
  SelectorHarness h;
  h.pm->_setnumericrange(1, 100, 1);
  h.pm->_setselectedvalue(Object(97));
  h.press(true);
  h.rt.loop().advance(1030);
  EXPECT_EQ(h.owner->events, (Events{"98", "99", "100"}));
  EXPECT_EQ(h.rt.loop().timerCount(), 0u) << "the repeat has ended, with nothing left scheduled";
  h.release();
}

// A step into a non-cyclic end disables the arrow under the finger, which cancels the touch
// inside the step: that end must still end the repeat, or a value moved away from the end from
// code (or new items) would be stepped on by itself after the finger lifted.
TEST(PlusMinusTest, EveryHoldEndsItsRepeatWhateverHappensDuringIt) {
  struct Case {
    const char* what;
    bool cyclic, items, plus;
    const char* start;
    std::function<void(SelectorHarness&)> at500ms;  // done while the arrow is held
    int64_t heldMs;
    Events events;
  };
  auto setValue = [](double v) { return [v](SelectorHarness& h) { h.pm->_setselectedvalue(Object(v)); }; };
  auto newItems = [](SelectorHarness& h) { h.pm->_setstringitems(List::Of({Object("x"), Object("y"), Object("z")})); };
  auto pressMinus = [](SelectorHarness& h) { h.press(false); };
  const Case cases[] = {
      {"plus into the end, then moved back from code", false, false, true, "99", setValue(1), 2000, {"100"}},
      {"minus into the end, then moved back from code", false, false, false, "2", setValue(100), 2000, {"1"}},
      {"plus onto the last item, then new items", false, true, true, "b", newItems, 2000, {"c"}},
      {"minus onto the first item, then new items", false, true, false, "b", newItems, 2000, {"a"}},
      {"held in the middle, moved from code: on from there",
       false,
       false,
       true,
       "50",
       setValue(10),
       1100,
       {"51", "11", "12", "13", "14"}},
      {"held up to the end by the repeat", false, false, true, "97", nullptr, 2000, {"98", "99", "100"}},
      {"cyclic: round the end and on", true, false, true, "4", setValue(4), 1100, {"5", "5", "1", "2", "3"}},
      {"cyclic minus: round the start and on", true, false, false, "2", nullptr, 1100, {"1", "5", "4", "3", "2"}},
      {"the other arrow ends the first repeat", false, false, true, "50", pressMinus, 1540, {"51", "50", "49", "48"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SelectorHarness h(SelectorOptions{.cyclic = c.cyclic});
    if (c.items) {
      h.pm->_setstringitems(List::Of({Object("a"), Object("b"), Object("c")}));
      h.pm->_setselectedvalue(Object(c.start));
    } else {
      h.pm->_setnumericrange(1, c.cyclic ? 5 : 100, 1);
      h.pm->_setselectedvalue(Object(std::stod(c.start)));
    }
    h.press(c.plus);
    h.rt.loop().advance(500);
    if (c.at500ms) c.at500ms(h);
    h.rt.loop().advance(c.heldMs - 500);
    EXPECT_EQ(h.owner->events, c.events);
    h.release();
    h.rt.loop().advance(3000);
    EXPECT_EQ(h.owner->events, c.events) << "nothing steps after the finger lifts";
    EXPECT_EQ(h.rt.loop().timerCount(), 0u);
  }
}

TEST(PlusMinusTest, DisablingAHeldArrowAreaCancelsTheTouchAndEndsTheRepeat) {
  SelectorHarness h;
  h.pm->_setnumericrange(1, 100, 1);
  h.pm->_setselectedvalue(Object(10));
  h.press(true);
  h.rt.loop().advance(1030);
  ASSERT_EQ(h.owner->events.size(), 3u);
  h.pm->pnlplus.setEnabled(false);
  h.rt.loop().advance(1000);
  EXPECT_EQ(h.owner->events.size(), 3u);
  h.release();
  h.tap(true);
  EXPECT_EQ(h.owner->events.size(), 3u) << "a disabled arrow area takes no touch";
}

TEST(PlusMinusTest, HapticTapOnTouchDownWhenAskedFor) {
  SelectorHarness quiet;
  quiet.pm->_setnumericrange(1, 10, 1);
  quiet.tap(true);
  EXPECT_EQ(quiet.rt.service<HapticLog>().count("impactOccurred"), 0);
  SelectorHarness h(SelectorOptions{.haptic = true});
  h.pm->_setnumericrange(1, 10, 1);
  h.tap(true);
  h.tap(false);
  EXPECT_EQ(h.rt.service<HapticLog>().count("impactOccurred"), 2);
}

TEST(PlusMinusTest, LayoutOfTheArrowsFollowsTheOrientation) {
  struct Case {
    const char* orientation;
    Frame minus, plus, label;
    int32_t plusGlyph;
  };
  const Case cases[] = {
      {"Horizontal", {0, 0, 30, 44}, {120, 0, 30, 44}, {0, 0, 150, 44}, 0xE315},
      {"Vertical", {0, 14, 150, 30}, {0, 0, 150, 30}, {0, 0, 150, 44}, 0xE316},
      {"Other", {0, 14, 75, 30}, {75, 14, 75, 30}, {0, 0, 150, 19}, 0xE316},
  };
  for (const auto& c : cases) {
    SelectorHarness h(SelectorOptions{.orientation = c.orientation});
    EXPECT_EQ(h.pm->pnlminus.native()->frame(), c.minus) << c.orientation;
    EXPECT_EQ(h.pm->pnlplus.native()->frame(), c.plus) << c.orientation;
    EXPECT_EQ(h.pm->mainlabel.native()->frame(), c.label) << c.orientation;
    EXPECT_EQ(h.pm->lblplus.Text(), String::FromCodePoint(c.plusGlyph)) << c.orientation;
    EXPECT_EQ(h.pm->lblplus.native()->frame().width, c.plus.width);
    EXPECT_EQ(h.pm->lblplus.Font().family(), "Material Icons");
    EXPECT_EQ(h.pm->lblplus.TextColor(), static_cast<int32_t>(0xFF102030));
  }
}

TEST(PlusMinusTest, TheBasePanelCarriesTheSelectorAndReportsItsResizes) {
  SelectorHarness h;
  EXPECT_EQ(h.pm->mbase.Tag(), Object(h.pm));
  EXPECT_EQ(h.pm->pnlplus.Tag(), Object(1));
  EXPECT_EQ(h.pm->pnlminus.Tag(), Object(0));
  h.pm->mbase.SetLayoutAnimated(0, 10, 20, 200, 50);
  EXPECT_EQ(h.pm->pnlplus.native()->frame(), (Frame{170, 0, 30, 50}));
  EXPECT_EQ(h.pm->formatter->_getdefaultformat()->TextColor, static_cast<int32_t>(0xFF102030));
}

}  // namespace
}  // namespace tmr
