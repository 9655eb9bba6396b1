#include <gtest/gtest.h>

#include "platform/core/RuntimeError.h"
#include "platform/views/Frame.h"
#include "platform/views/Keyboard.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/RichText.h"
#include "platform/views/TextFieldWrapper.h"
#include "tests/dialogs/DialogHarness.h"

namespace tmr {
namespace {

constexpr int32_t kPositive = tm_dialog::DialogResponse_Positive;
constexpr int32_t kNegative = tm_dialog::DialogResponse_Negative;
constexpr int32_t kCancel = tm_dialog::DialogResponse_Cancel;

Frame frameOf(const View& v) { return v.native()->frame(); }

// A template that records the calls it gets, and what the dialog looks like at each.
class tm_recordingtemplate : public ClassModule {
 public:
  void _initialize(Runtime& rt, double width, double height) {
    initializeClassModule(rt);
    panel = UiLayer().CreatePanel(bi, "");
    panel.SetLayoutAnimated(0, 0, 0, width, height);
  }
  std::string_view className() const override { return "tm_recordingtemplate"; }
  const SubTable& subTable() const override {
    using T = tm_recordingtemplate;
    static const SubTable table{sub<&T::_getpanel>("_getpanel:"), sub<&T::_show>("_show:"),
                                sub<&T::_dialogclosed>("_dialogclosed:")};
    return table;
  }
  View _getpanel(Object dialog) {
    calls.push_back("GetPanel " + std::string(dialog.As<tm_dialog>() ? "dialog" : "?"));
    return panel;
  }
  String _show(Object dialog) {
    auto d = dialog.As<tm_dialog>();
    calls.push_back(std::string("Show ") + (d->_getvisible() ? "after frame" : "before frame"));
    d->putattop = putattop;
    return "";
  }
  String _dialogclosed(int32_t result) {
    calls.push_back("DialogClosed " + std::to_string(result) +
                    (panel.Parent().Parent().Parent().IsInitialized() ? " still on screen" : " removed"));
    return "";
  }
  View panel;
  bool putattop = false;
  std::vector<std::string> calls;
};

TEST(Dialog, AMessageDialogIsCentredWithItsButtonsRightToLeft) {
  DialogHarness h;
  auto ask = h.message("Hello");
  EXPECT_TRUE(h.dialog->_getvisible());
  ASSERT_EQ(h.backgrounds(), 1);
  View bg = h.dialog->background;
  EXPECT_EQ(bg.Parent(), h.screen);
  EXPECT_EQ(frameOf(bg), (Frame{0, 0, 400, 600}));
  EXPECT_EQ(bg.Color(), static_cast<int32_t>(0xAA000000));
  // 300 × 100 message, no title: 100 + 40 + 3 + 3 high, 304 wide, centred with ties to even.
  EXPECT_EQ(frameOf(h.dialog->base), (Frame{48, 227, 304, 146}));
  EXPECT_TRUE(h.dialog->base.Visible());
  struct Case {
    int32_t code;
    const char* text;
    double left;
  } cases[] = {{kCancel, "Cancel", 220}, {kNegative, "No", 135}, {kPositive, "Yes", 50}};
  for (const auto& c : cases) {
    View b = h.button(c.code);
    ASSERT_TRUE(b.IsInitialized()) << c.text;
    EXPECT_EQ(b.Text().str(), c.text);
    EXPECT_EQ(frameOf(b), (Frame{c.left, 102, 80, 40})) << c.text;
    EXPECT_EQ(b.TextColor(), static_cast<int32_t>(0xFF89D5FF)) << c.text;
    EXPECT_TRUE(b.Enabled()) << c.text;
  }
  // The message: a label in the content panel, at (5, 0), 290 × 100, in the body text colour.
  View content = h.dialog->base.GetView(3);
  EXPECT_EQ(frameOf(content), (Frame{2, 2, 300, 100}));
  View message = content.GetView(0);
  EXPECT_EQ(message.Text().str(), "Hello");
  EXPECT_EQ(frameOf(message), (Frame{5, 0, 290, 100}));
  EXPECT_EQ(message.TextColor(), UiLayer::Color_White);
  EXPECT_FALSE(ask->done);
}

TEST(Dialog, EachButtonClosesWithItsCodeOnTheNextTurnAndTheViewsGoAfterTheFade) {
  for (int32_t code : {kPositive, kNegative, kCancel}) {
    DialogHarness h;
    auto ask = h.message();
    View b = h.button(code);
    h.hand().tap(b);
    EXPECT_FALSE(ask->done) << "closing waits for the next turn";
    EXPECT_TRUE(b.Enabled());
    h.settle();
    EXPECT_FALSE(ask->done) << "the frame fades out first";
    EXPECT_FALSE(b.Enabled()) << "nothing reacts during the fade-out";
    EXPECT_FALSE(h.dialog->base.Visible());
    EXPECT_EQ(h.backgrounds(), 1);
    h.wait(99);
    EXPECT_FALSE(ask->done);
    h.wait(1);
    ASSERT_TRUE(ask->done) << code;
    EXPECT_EQ(ask->result, code);
    EXPECT_EQ(h.backgrounds(), 0);
    EXPECT_EQ(h.screen.NumberOfViews(), 1) << "only the panel below is left";
    EXPECT_FALSE(h.dialog->_getvisible());
    EXPECT_EQ(h.owner->belowclicks, 0);
  }
}

TEST(Dialog, ATitleAddsABarAboveTheContent) {
  struct Case {
    const char* what;
    Object title;
  } cases[] = {{"plain", Object("Title")}, {"rich, even empty", Object(std::make_shared<RichText>())}};
  for (const auto& c : cases) {
    DialogHarness h;
    h.dialog->title = c.title;
    h.message();
    EXPECT_EQ(frameOf(h.dialog->base), (Frame{48, 212, 304, 176})) << c.what;
    ASSERT_TRUE(h.dialog->titlebar.IsInitialized()) << c.what;
    EXPECT_EQ(h.dialog->titlebar.Parent(), h.dialog->base) << c.what;
    EXPECT_EQ(frameOf(h.dialog->titlebar), (Frame{2, 2, 300, 30})) << c.what;
    EXPECT_EQ(h.dialog->titlebar.Color(), static_cast<int32_t>(0xFF0083B8)) << c.what;
    View label = h.dialog->titlebar.GetView(0);
    EXPECT_EQ(frameOf(label), (Frame{0, 0, 300, 30})) << c.what;
    EXPECT_EQ(label.TextColor(), UiLayer::Color_White) << c.what;
    EXPECT_EQ(frameOf(h.dialog->base.GetView(4)), (Frame{2, 32, 300, 100})) << c.what << ": the content";
  }
}

TEST(Dialog, PlacementFollowsTheParentAndPutAtTop) {
  struct Case {
    const char* what;
    double parentHeight;
    double contentHeight;
    bool putattop;
    Frame base;
    bool titled;
  } cases[] = {
      {"centred with its title", 600, 100, false, Frame{48, 212, 304, 176}, true},
      {"at the top with room for 200 below", 700, 250, true, Frame{48, 20, 304, 326}, true},
      {"at the top without that room loses the title", 400, 250, true, Frame{48, 1, 304, 293}, false},
      {"taller than the parent: top 1, no title", 300, 290, false, Frame{48, 1, 304, 333}, false},
  };
  for (const auto& c : cases) {
    DialogHarness h;
    h.screen.SetLayoutAnimated(0, 0, 0, 400, c.parentHeight);
    h.dialog->title = Object("T");
    h.dialog->putattop = c.putattop;
    View content = h.ui.CreatePanel(h.owner->bi, "");
    content.SetLayoutAnimated(0, 0, 0, 300, c.contentHeight);
    auto ask = h.ask([&] { return h.dialog->_showcustom(content, Object("OK"), Object(""), Object("")); });
    EXPECT_EQ(frameOf(h.dialog->base), c.base) << c.what;
    bool titled = false;
    for (const View& v : h.dialog->base.GetAllViewsRecursive()) titled |= v == h.dialog->titlebar;
    EXPECT_EQ(titled, c.titled) << c.what;
    EXPECT_EQ(content.Top(), c.titled ? 32 : 2) << c.what;
    // One button only: 84 from the right edge, 44 from the bottom.
    EXPECT_EQ(frameOf(h.button(kPositive)), (Frame{c.base.width - 84, c.base.height - 44, 80, 40})) << c.what;
    EXPECT_FALSE(h.button(kNegative).IsInitialized()) << c.what;
  }
}

TEST(Dialog, WithoutButtonsOnlyCloseEndsItAndASecondCloseIsDropped) {
  DialogHarness h;
  EXPECT_FALSE(h.dialog->_close(kPositive)) << "nothing is shown yet";
  auto ask = h.message("Wait", "", "", "");
  EXPECT_EQ(h.dialog->base.NumberOfViews(), 1) << "only the content";
  h.wait(5000);
  EXPECT_FALSE(ask->done);
  EXPECT_TRUE(h.dialog->_close(-7));
  EXPECT_TRUE(h.dialog->_close(kNegative));
  h.wait(100);
  ASSERT_TRUE(ask->done);
  EXPECT_EQ(ask->result, -7) << "the first close wins";
  EXPECT_FALSE(h.dialog->_close(kPositive));
  h.wait(1000);
  EXPECT_EQ(ask->result, -7);
}

TEST(Dialog, TheBackgroundSwallowsTouchesAroundTheFrame) {
  DialogHarness h;
  auto ask = h.message();
  auto finger = h.hand();
  View landed = finger.pressAt(10, 10);
  finger.release();
  EXPECT_EQ(landed, h.dialog->background);
  EXPECT_EQ(finger.pressAt(200, 250), h.dialog->base.GetView(3).GetView(0)) << "the message, inside the frame";
  finger.release();
  h.wait(1000);
  EXPECT_EQ(h.owner->belowclicks, 0);
  EXPECT_FALSE(ask->done);
  EXPECT_TRUE(h.dialog->_getvisible());
  // Once the dialog has gone, the panel below hears taps again.
  h.dialog->_close(kCancel);
  h.wait(100);
  finger.pressAt(10, 10);
  finger.release();
  EXPECT_EQ(h.owner->belowclicks, 1);
}

TEST(Dialog, ButtonStates) {
  DialogHarness h;
  // Before the first showing there is no frame: no button, nothing recorded.
  EXPECT_FALSE(h.dialog->_getbutton(kPositive).IsInitialized());
  h.dialog->_setbuttonstate(kPositive, false);
  EXPECT_EQ(h.dialog->buttonsstate.Size(), 0);

  auto ask = h.message("Sure?", "Yes", "", "Cancel");
  h.dialog->_setbuttonstate(kNegative, false);
  EXPECT_EQ(h.dialog->buttonsstate.Size(), 0) << "no such button";
  h.dialog->_setbuttonstate(kPositive, false);
  View yes = h.button(kPositive);
  EXPECT_FALSE(yes.Enabled());
  EXPECT_EQ(yes.TextColor(), static_cast<int32_t>(0xFF808080));
  h.hand().tap(yes);
  h.settle();
  EXPECT_FALSE(ask->done);
  // Re-enabling the view does not re-enable the button.
  yes.setEnabled(true);
  h.hand().tap(yes);
  h.wait(200);
  EXPECT_FALSE(ask->done);
  h.dialog->_setbuttonstate(kPositive, true);
  EXPECT_EQ(yes.TextColor(), static_cast<int32_t>(0xFF89D5FF));
  h.hand().tap(yes);
  h.wait(100);
  ASSERT_TRUE(ask->done);
  EXPECT_EQ(ask->result, kPositive);
}

TEST(Dialog, AContentViewTaggedLikeAButtonIsNotTakenForIt) {
  DialogHarness h;
  View content = h.ui.CreatePanel(h.owner->bi, "");
  content.SetLayoutAnimated(0, 0, 0, 200, 100);
  View arrow = h.ui.CreatePanel(h.owner->bi, "");
  arrow.setTag(Object("-1"));
  content.AddView(arrow, 0, 0, 10, 10);
  h.ask([&] { return h.dialog->_showcustom(content, Object(""), Object("No"), Object("")); });
  EXPECT_FALSE(h.dialog->_getbutton(kPositive).IsInitialized());
  h.dialog->_setbuttonstate(kPositive, false);
  EXPECT_TRUE(arrow.Enabled());
}

TEST(Dialog, ANewShowingReplacesTheShownOneWhichNeverCompletes) {
  DialogHarness h;
  View content = h.ui.CreatePanel(h.owner->bi, "");
  content.SetLayoutAnimated(0, 0, 0, 100, 100);
  auto first = h.dialog->_showcustom(content, Object("Yes"), Object(""), Object(""));
  auto other = std::make_shared<tm_dialog>();
  other->_initialize(h.owner->bi, h.screen);
  auto second = h.ask([&] { return other->_show(Object("Second"), Object("Yes"), Object(""), Object("")); });
  EXPECT_EQ(h.backgrounds(), 1);
  EXPECT_FALSE(h.dialog->_getvisible());
  h.hand().tap(other->_getbutton(kPositive));
  h.wait(1000);
  EXPECT_TRUE(second->done);
  EXPECT_FALSE(first->finished());
  EXPECT_EQ(h.backgrounds(), 0);
  // A showing of the same dialog replaces its own earlier one the same way.
  auto third = h.dialog->_showcustom(content, Object("Yes"), Object(""), Object(""));
  auto fourth = h.message("Fourth");
  EXPECT_EQ(h.backgrounds(), 1);
  h.hand().tap(h.button(kPositive));
  h.wait(1000);
  EXPECT_TRUE(fourth->done);
  EXPECT_FALSE(third->finished());
}

TEST(Dialog, AShowingStartedDuringTheFadeOutIsNotRemovedByTheOldOne) {
  DialogHarness h;
  auto first = h.message("First");
  h.dialog->_close(kNegative);
  h.settle();
  h.wait(50);  // fading out
  auto second = h.message("Second");
  h.wait(50);  // the first showing's fade ends
  EXPECT_TRUE(first->done);
  EXPECT_EQ(first->result, kNegative);
  EXPECT_TRUE(h.dialog->_getvisible()) << "the new showing stays";
  EXPECT_EQ(h.backgrounds(), 1);
  EXPECT_TRUE(h.button(kPositive).Enabled());
  h.hand().tap(h.button(kPositive));
  h.wait(100);
  EXPECT_TRUE(second->done);
  EXPECT_EQ(second->result, kPositive);
  EXPECT_EQ(h.backgrounds(), 0);
}

TEST(Dialog, TemplateCallsComeInProtocolOrder) {
  for (bool top : {false, true}) {
    DialogHarness h;
    auto t = std::make_shared<tm_recordingtemplate>();
    t->_initialize(h.rt, 200, 100);
    t->putattop = top;
    auto ask = h.ask([&] { return h.dialog->_showtemplate(Object(t), Object("Yes"), Object("No"), Object("")); });
    EXPECT_EQ(t->panel.Parent(), h.dialog->base);
    EXPECT_EQ(h.dialog->base.Top(), top ? 20 : 227) << "Show comes before the frame is built";
    h.hand().tap(h.button(kNegative));
    h.settle();
    EXPECT_EQ(t->calls.size(), 2u);
    h.wait(100);
    ASSERT_TRUE(ask->done);
    EXPECT_EQ(ask->result, kNegative);
    EXPECT_EQ(t->calls, (std::vector<std::string>{"GetPanel dialog", "Show before frame", "DialogClosed -2 removed"}));
    EXPECT_FALSE(h.dialog->putattop) << "put at top lasts one template showing";
  }
}

TEST(Dialog, ATemplateWithoutContentFailsBeforeCoveringTheScreen) {
  DialogHarness h;
  auto empty = std::make_shared<tm_dialogowner>();  // a module without the template's subs
  empty->_initialize(h.rt);
  EXPECT_THROW(h.dialog->_showtemplate(Object(empty), Object("Yes"), Object(""), Object("")), RuntimeError);
  EXPECT_THROW(h.dialog->_showcustom(View(), Object("Yes"), Object(""), Object("")), RuntimeError);
  EXPECT_EQ(h.backgrounds(), 0);
  EXPECT_FALSE(h.dialog->_getvisible());
  h.hand().tap(h.below);
  EXPECT_EQ(h.owner->belowclicks, 1) << "the screen still takes touches";
}

TEST(Dialog, ResizeKeepsTheFrameCentredFromTheOldHeight) {
  DialogHarness h;
  h.dialog->_resize(300, 300);  // nothing shown: nothing happens
  h.message();
  h.screen.SetLayoutAnimated(0, 0, 0, 600, 400);
  h.dialog->_resize(600, 400);
  EXPECT_EQ(frameOf(h.dialog->background), (Frame{0, 0, 600, 400}));
  // Left from the new width, top from the old height: 227 stays.
  EXPECT_EQ(frameOf(h.dialog->base), (Frame{148, 227, 304, 146}));
  EXPECT_TRUE(h.dialog->base.native()->isAnimating());
  h.wait(200);
  EXPECT_FALSE(h.dialog->base.native()->isAnimating());
  h.dialog->putattop = true;
  h.dialog->_resize(600, 400);
  EXPECT_EQ(h.dialog->base.Top(), 20);
}

TEST(Dialog, AfterTheParentShrinksTheFrameStaysInsideAndCanBeAnswered) {
  DialogHarness h;
  h.screen.SetLayoutAnimated(0, 0, 0, 400, 800);
  auto a = h.message();
  h.wait(100);
  ASSERT_EQ(h.dialog->base.Top(), 327);
  h.screen.SetLayoutAnimated(0, 0, 0, 400, 400);
  h.dialog->_resize(400, 400);
  h.wait(300);
  EXPECT_EQ(frameOf(h.dialog->base), (Frame{48, 254, 304, 146})) << "its bottom at the parent's";
  h.hand().tap(h.button(tm_dialog::DialogResponse_Positive));
  h.wait(200);
  ASSERT_TRUE(a->done);
  EXPECT_EQ(a->result, tm_dialog::DialogResponse_Positive);
}

TEST(Dialog, ShowingTakesTheKeyboardFromAFieldBelow) {
  DialogHarness h;
  TextFieldWrapper field;
  field.Initialize(h.owner->bi, "field");
  h.below.AddView(field, 10, 10, 200, 30);
  ASSERT_TRUE(field.RequestFocus());
  h.message();
  EXPECT_FALSE(Keyboard::of(h.rt).shown());
}

}  // namespace
}  // namespace tmr
