// Every view that measures a duration (an animation, a pace, a guard against repeats) counts it
// on the loop's steady clock: the system's time set back or forth while it runs changes nothing
// of what the view shows or reports. Each row drives one view as a person would and writes down
// what it showed and heard; the record must be the same with the jump as without it.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>

#include "bitmap/DrawingBatchQueue.h"
#include "listview/tm_customlistview.h"
#include "platform/layout/FieldTable.h"
#include "platform/views/Keyboard.h"
#include "tests/support/LayoutScreen.h"
#include "views/display/tm_loadingindicator.h"
#include "views/display/tm_progressbar.h"
#include "views/input/tm_floattextfield.h"
#include "views/input/tm_switch.h"

namespace tmr {
namespace {

class TimedViewsOwner : public EventOwner {
 public:
  const SubTable& subTable() const override {
    static const SubTable table{
        sub<&TimedViewsOwner::_pw_focuschanged>("_pw_focuschanged:"),
        sub<&TimedViewsOwner::_lst_reachend>("_lst_reachend"),
    };
    return table;
  }
  const FieldTable& fieldTable() const override {
    static const FieldTable table{field<&TimedViewsOwner::sw1>("sw1"), field<&TimedViewsOwner::li1>("li1"),
                                  field<&TimedViewsOwner::pb1>("pb1"), field<&TimedViewsOwner::pw>("pw"),
                                  field<&TimedViewsOwner::other>("other"), field<&TimedViewsOwner::lst>("lst")};
    return table;
  }
  void _pw_focuschanged(bool f) { heard(std::string("pw focus ") + (f ? "true" : "false")); }
  void _lst_reachend() { heard("reachend"); }

  std::shared_ptr<tm_switch> sw1;
  std::shared_ptr<tm_loadingindicator> li1;
  std::shared_ptr<tm_progressbar> pb1;
  std::shared_ptr<tm_floattextfield> pw, other;
  std::shared_ptr<tm_customlistview> lst;
};

const std::string kViews = R"(
  {"name": "sw1", "type": "CustomView", "class": "tm_switch", "frame": [20, 10, 80, 40],
   "props": {"OnColor": "#FF00FF00", "OffColor": "#FF0000FF", "ThumbColor": "#FFFF0000", "Value": false}},
  {"name": "li1", "type": "CustomView", "class": "tm_loadingindicator", "frame": [120, 10, 100, 100],
   "props": {"Color": "#FFFF0000", "IndicatorStyle": "Arc 1", "Duration": 700}},
  {"name": "pb1", "type": "CustomView", "class": "tm_progressbar", "frame": [10, 120, 200, 20], "text": "busy",
   "props": {"Value": 0, "ProgressColor": "#FF406080", "CornerRadius": 0}},
  {"name": "pw", "type": "CustomView", "class": "tm_floattextfield", "frame": [20, 150, 300, 50],
   "props": {"HintColor": "#FF0000FF", "NonFocusedHintColor": "#FF808080", "Hint": "Password", "PasswordField": true, "ShowRevealButton": true}},
  {"name": "other", "type": "CustomView", "class": "tm_floattextfield", "frame": [20, 210, 300, 50],
   "props": {"HintColor": "#FF0000FF", "NonFocusedHintColor": "#FF808080", "Hint": "Name"}},
  {"name": "lst", "type": "CustomView", "class": "tm_customlistview", "frame": [0, 270, 375, 300],
   "props": {"DividerColor": "#FFD0D0D0", "DividerHeight": 2, "PressedColor": "#FF3060C0"}})";

struct TimedViews : LayoutScreen<TimedViewsOwner> {
  TimedViews()
      : LayoutScreen(kViews, LayoutScreenSetup().withScale(2).withPrepare([](Runtime& rt) {
          rt.service<DrawingBatchQueue>().setMode(DrawingBatchQueue::Mode::Inline);
        })) {}
  void setSystemTime(int64_t jump) { rt.loop().setWallClock(rt.Now() + jump); }
};

bool Inked(const Bitmap& b, int x, int y) { return (ArgbAt(b, x, y) >> 24) > 128; }

// What one view did: a line of its own words, written as time passes on the virtual clock.
// jump is how far the system's time is set while the view measures its duration.
using Drive = std::function<std::string(TimedViews&, int64_t jump)>;

TEST(SystemTimeSetTest, ViewsThatMeasureTimeDoNotNoticeTheSystemTimeSet) {
  constexpr int64_t kHour = 3'600'000;
  struct Row {
    const char* view;
    Drive drive;
    std::string shows;  // what the record shows without a jump, in part
  } const rows[] = {
      // A tap animates the thumb for 200 ms, a frame about every 16 ms, and then stops.
      {"switch",
       [](TimedViews& s, int64_t jump) {
         std::string record;
         s.tap(s.owner->sw1->partNamed(""));
         s.wait(48);
         s.setSystemTime(jump);
         for (int frame = 0; frame < 25; ++frame) {
           auto before = s.owner->sw1->iv.GetBitmap();
           s.wait(16);
           record += s.owner->sw1->iv.GetBitmap() == before ? '.' : 'f';
         }
         return record;
       },
       "ffffffffff..............."},
      // The arc's progress comes from the time since the indicator was shown.
      {"loading indicator",
       [](TimedViews& s, int64_t jump) {
         std::string record;
         s.owner->li1->_hide();
         s.owner->li1->_show();
         s.wait(100);
         s.setSystemTime(jump);
         for (int step = 0; step < 14; ++step) {
           s.wait(50);
           auto shown = s.owner->li1->mbase.native()->canvasPicture();
           record += std::string(Inked(*shown, 65, 35) ? "1" : "0") + (Inked(*shown, 65, 65) ? "1" : "0") +
                     (Inked(*shown, 35, 65) ? "1" : "0") + (Inked(*shown, 35, 35) ? "1 " : "0 ");
         }
         return record;
       },
       "1111"},
      // The bar glides to its value at 60 units a second.
      {"progress bar",
       [](TimedViews& s, int64_t jump) {
         std::string record;
         s.owner->pb1->_setvalue(100);
         s.wait(90);
         s.setSystemTime(jump);
         for (int step = 0; step < 10; ++step) {
           s.wait(30);
           record += std::to_string(std::lround(s.owner->pb1->currentvalue)) + " ";
         }
         return record;
       },
       "7 9 11 "},
      // Focus changes are quiet for 100 ms after the password is revealed, then reported.
      {"float text field",
       [](TimedViews& s, int64_t jump) {
         s.tap(s.owner->pw->partNamed(""));
         Keyboard::of(s.rt).type("x");
         s.wait(500);
         s.owner->events.clear();
         s.tap(s.owner->pw->partNamed("clear"));  // reveal
         s.setSystemTime(jump);
         s.wait(101);
         s.tap(s.owner->other->partNamed(""));
         s.wait(1);
         std::string record;
         for (const auto& heard : s.heard()) record += heard + "; ";
         return record;
       },
       "pw focus false"},
      // The end of the list is reported at most every 100 ms.
      {"list view",
       [](TimedViews& s, int64_t jump) {
         auto& lst = *s.owner->lst;
         for (int i = 0; i < 40; ++i) lst._addtextitem(Object("item " + std::to_string(i)), Object(i));
         s.wait(1000);
         const double end = lst._getscrollviewcontentsize() - lst._getscrollviewvisiblesize();
         lst._setscrollviewoffset(end);
         s.wait(1);
         s.setSystemTime(jump);
         s.wait(150);
         lst._setscrollviewoffset(end - 1);
         s.wait(1);
         std::string record;
         for (const auto& heard : s.heard()) record += heard + "; ";
         return record;
       },
       "reachend; reachend; "},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.view);
    std::string steady;
    {
      TimedViews s;
      steady = row.drive(s, 0);
    }
    EXPECT_NE(steady.find(row.shows), std::string::npos) << steady;
    for (int64_t jump : {-kHour - 250, kHour + 250}) {
      TimedViews s;
      EXPECT_EQ(row.drive(s, jump), steady) << "the system's time set by " << jump << " ms";
    }
  }
}

}  // namespace
}  // namespace tmr
