#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "dialogs/tm_longtexttemplate.h"
#include "dialogs/tm_timedtemplate.h"
#include "listview/tm_customlistview.h"
#include "tests/dialogs/DialogHarness.h"
#include "views/display/tm_progressbar.h"

namespace tmr {
namespace {

constexpr int32_t kCancel = tm_dialog::DialogResponse_Cancel;
constexpr int32_t kPositive = tm_dialog::DialogResponse_Positive;

// A wrapped template that records the calls passed on to it.
class tm_wrappedtemplate : public ClassModule {
 public:
  void _initialize(Runtime& rt) {
    initializeClassModule(rt);
    panel = UiLayer().CreatePanel(bi, "");
    panel.SetLayoutAnimated(0, 0, 0, 300, 120);
  }
  std::string_view className() const override { return "tm_wrappedtemplate"; }
  const SubTable& subTable() const override {
    using T = tm_wrappedtemplate;
    static const SubTable table{sub<&T::_getpanel>("_getpanel:"), sub<&T::_show>("_show:"),
                                sub<&T::_dialogclosed>("_dialogclosed:")};
    return table;
  }
  View _getpanel(Object) {
    calls.push_back("GetPanel");
    return panel;
  }
  String _show(Object dialog) {
    calls.push_back(dialog.As<tm_dialog>() ? "Show dialog" : "Show ?");
    return "";
  }
  String _dialogclosed(int32_t result) {
    calls.push_back("DialogClosed " + std::to_string(result));
    return "";
  }
  View panel;
  std::vector<std::string> calls;
};

struct TimedHarness : DialogHarness {
  TimedHarness() {
    inner->_initialize(rt);
    t->_initialize(owner->bi, Object(inner));
  }
  std::shared_ptr<ResumableSub_dialogowner_Ask> show() {
    return ask([this] { return dialog->_showtemplate(Object(t), Object("OK"), Object(""), Object("")); });
  }
  std::shared_ptr<tm_wrappedtemplate> inner = std::make_shared<tm_wrappedtemplate>();
  std::shared_ptr<tm_timedtemplate> t = std::make_shared<tm_timedtemplate>();
};

TEST(TimedTemplate, TheBarStandsAboveTheWrappedContentWhichIsBuiltOnce) {
  TimedHarness h;
  auto first = h.show();
  EXPECT_EQ(h.t->mbase.native()->frame(), (Frame{2, 2, 300, 139})) << "in the frame, 19 taller than the content";
  EXPECT_EQ(h.inner->panel.Parent(), h.t->mbase);
  EXPECT_EQ(h.inner->panel.native()->frame(), (Frame{0, 19, 300, 120}));
  ASSERT_TRUE(h.t->progressbar1);
  View bar = h.t->progressbar1->mbase;
  EXPECT_EQ(bar.Parent(), h.t->mbase);
  EXPECT_LE(bar.Top() + bar.Height(), 19) << "the bar lies in the strip";
  h.hand().tap(h.button(kPositive));
  h.wait(100);
  ASSERT_TRUE(first->done);
  EXPECT_EQ(first->result, kPositive);

  auto second = h.show();
  EXPECT_EQ(h.t->mbase.NumberOfViews(), 2) << "the bar and the content, once";
  EXPECT_EQ(h.inner->calls, (std::vector<std::string>{"GetPanel", "Show dialog", "DialogClosed -1", "Show dialog"}));
}

TEST(TimedTemplate, TheDialogClosesWithCancelWhenTheTimeRunsOut) {
  struct Case {
    int32_t timeout;
    float speed;
  } cases[] = {{10000, 10}, {2500, 40}, {400, 250}};
  for (const auto& c : cases) {
    TimedHarness h;
    h.t->timeoutmilliseconds = c.timeout;
    auto ask = h.show();
    EXPECT_FLOAT_EQ(h.t->progressbar1->valuechangepersecond, c.speed) << c.timeout;
    EXPECT_EQ(h.t->progressbar1->_getvalue(), 100) << "gliding to full";
    h.wait(c.timeout - 1);
    EXPECT_TRUE(h.dialog->_getvisible()) << c.timeout;
    h.wait(1);
    EXPECT_FALSE(ask->done) << "the close acts on the next turn, then the frame fades";
    h.wait(100);
    ASSERT_TRUE(ask->done) << c.timeout;
    EXPECT_EQ(ask->result, kCancel);
    EXPECT_EQ(h.backgrounds(), 0);
    EXPECT_EQ(h.inner->calls.back(), "DialogClosed -3");
  }
}

TEST(TimedTemplate, ADialogClosedInTimeIsNotClosedLater) {
  TimedHarness h;
  h.t->timeoutmilliseconds = 1000;
  auto first = h.show();
  h.wait(500);
  h.hand().tap(h.button(kPositive));
  h.wait(100);
  ASSERT_TRUE(first->done);
  EXPECT_EQ(first->result, kPositive);
  // A message shown on the same dialog before the old time-out would have expired stays.
  auto message = h.message("Still here", "Yes", "", "");
  h.wait(2000);
  EXPECT_FALSE(message->done);
  EXPECT_TRUE(h.dialog->_getvisible());
  // Shown again, the template times out a full time-out after this showing.
  h.hand().tap(h.button(kPositive));
  h.wait(100);
  auto again = h.show();
  h.wait(999);
  EXPECT_TRUE(h.dialog->_getvisible());
  h.wait(101);
  ASSERT_TRUE(again->done);
  EXPECT_EQ(again->result, kCancel);
}

TEST(TimedTemplate, ATimeOutClosesOnlyTheShowingThatArmedIt) {
  {
    // Something else shown on the dialog before the time-out stays.
    TimedHarness h;
    h.t->timeoutmilliseconds = 1000;
    h.show();
    h.wait(500);
    auto message = h.message("Over it", "Yes", "", "");
    h.wait(1000);
    EXPECT_FALSE(message->done);
    EXPECT_TRUE(h.dialog->_getvisible());
  }
  {
    // Shown again while the first showing's frame fades out: the new showing keeps its own time.
    TimedHarness h;
    h.t->timeoutmilliseconds = 1000;
    h.show();
    h.wait(500);
    h.hand().tap(h.button(kPositive));
    h.wait(50);
    auto again = h.show();
    h.wait(999);
    EXPECT_FALSE(again->done);
    h.wait(200);
    ASSERT_TRUE(again->done) << "timed out";
    EXPECT_EQ(again->result, kCancel);
  }
}

TEST(TimedTemplate, NoTimeAtAllClosesOnTheNextTurnWithAFullBar) {
  for (int32_t timeout : {0, -50}) {
    TimedHarness h;
    h.t->timeoutmilliseconds = timeout;
    auto ask = h.show();
    EXPECT_EQ(h.t->progressbar1->_getvalue(), 100) << timeout;
    EXPECT_TRUE(std::isfinite(h.t->progressbar1->valuechangepersecond)) << timeout;
    h.wait(100);
    ASSERT_TRUE(ask->done) << timeout;
    EXPECT_EQ(ask->result, kCancel);
  }
}

TEST(TimedTemplate, WrapsARealTemplate) {
  DialogHarness h;
  auto text = std::make_shared<tm_longtexttemplate>();
  text->_initialize(h.owner->bi);
  text->text = Object("Closing soon.");
  auto t = std::make_shared<tm_timedtemplate>();
  t->_initialize(h.owner->bi, Object(text));
  t->timeoutmilliseconds = 3000;
  auto ask = h.ask([&] { return h.dialog->_showtemplate(Object(t), Object(""), Object(""), Object("Cancel")); });
  EXPECT_EQ(text->mbase.Parent(), t->mbase);
  EXPECT_EQ(text->customlistview1->_getsize(), 2) << "the wrapped template was shown";
  h.wait(3100);
  ASSERT_TRUE(ask->done);
  EXPECT_EQ(ask->result, kCancel);
}

}  // namespace
}  // namespace tmr
