#include <gtest/gtest.h>

#include <string>

#include "dialogs/tm_longtexttemplate.h"
#include "listview/_clvitem.h"
#include "listview/tm_customlistview.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/RichText.h"
#include "platform/views/TextAlignment.h"
#include "platform/views/ViewObject.h"
#include "tests/dialogs/DialogHarness.h"

namespace tmr {
namespace {

constexpr int32_t kTextBackground = static_cast<int32_t>(0xFF555555);

struct LongTextHarness : DialogHarness {
  LongTextHarness() { t->_initialize(owner->bi); }
  std::shared_ptr<ResumableSub_dialogowner_Ask> show(Object text) {
    t->text = std::move(text);
    return ask([this] { return dialog->_showtemplate(Object(t), Object("OK"), Object(""), Object("")); });
  }
  tm_customlistview& list() { return *t->customlistview1; }
  std::shared_ptr<tm_longtexttemplate> t = std::make_shared<tm_longtexttemplate>();
};

TEST(LongTextTemplate, TheLayoutGivesA300SquareListOnADarkerBackground) {
  LongTextHarness h;
  ASSERT_TRUE(h.t->customlistview1);
  EXPECT_EQ(h.t->mbase.native()->frame(), (Frame{0, 0, 300, 300}));
  EXPECT_EQ(h.t->mbase.Color(), UiLayer::Color_Transparent);
  EXPECT_EQ(h.list().sv.native()->frame(), (Frame{0, 0, 300, 300})) << "the designer script keeps the size";
  EXPECT_EQ(h.list().sv.Color(), static_cast<int32_t>(0xFF464646));
  EXPECT_EQ(h.list().defaulttextbackgroundcolor, kTextBackground);
  EXPECT_EQ(h.list().defaulttextcolor, UiLayer::Color_White);
}

TEST(LongTextTemplate, AShortTextIsOneTopLeftItemAndAFillerOfTheSameColour) {
  LongTextHarness h;
  auto ask = h.show(Object("A few words."));
  EXPECT_EQ(h.t->mbase.Parent(), h.dialog->base);
  ASSERT_EQ(h.list()._getsize(), 2);
  auto text = h.list()._getrawlistitem(0);
  View label = h.list()._getpanel(0).GetView(0);
  EXPECT_EQ(label.Text().str(), "A few words.");
  EXPECT_EQ(label.TextColor(), UiLayer::Color_White);
  EXPECT_EQ(label.native()->textAlignment(), (TextAlignment{VerticalAlignment::Top, HorizontalAlignment::Left}));
  EXPECT_EQ(text->Panel.Color(), kTextBackground);
  auto filler = h.list()._getrawlistitem(1);
  EXPECT_EQ(filler->Value, Object(""));
  EXPECT_EQ(h.list()._getpanel(1).Color(), UiLayer::Color_Transparent);
  EXPECT_EQ(filler->Panel.Color(), kTextBackground);
  EXPECT_EQ(filler->Size, static_cast<int32_t>(300 - (text->Offset + text->Panel.Height()) - 3));
  EXPECT_LE(h.list()._getscrollviewcontentsize(), 300) << "the filler does not make the list scroll";
  // Tapping the text or the filler does nothing; OK closes.
  h.hand().tap(filler->Panel);
  h.hand().tap(text->Panel);
  h.wait(500);
  EXPECT_FALSE(ask->done);
  h.hand().tap(h.button(tm_dialog::DialogResponse_Positive));
  h.wait(100);
  ASSERT_TRUE(ask->done);
  EXPECT_EQ(ask->result, tm_dialog::DialogResponse_Positive);
  EXPECT_EQ(h.backgrounds(), 0);
}

TEST(LongTextTemplate, ALongTextScrollsAndEachShowingTakesTheCurrentText) {
  LongTextHarness h;
  std::string lines;
  for (int i = 1; i <= 60; ++i) lines += "Line " + std::to_string(i) + "\n";
  auto first = h.show(Object(lines));
  ASSERT_EQ(h.list()._getsize(), 1) << "no filler under a text that fills the list";
  EXPECT_GT(h.list()._getrawlistitem(0)->Size, 300);
  h.hand().drag(h.list().sv, 0, -200);
  h.wait(1000);
  EXPECT_GT(h.list()._getscrollviewoffset(), 0);
  h.dialog->_close(tm_dialog::DialogResponse_Cancel);
  h.wait(100);
  ASSERT_TRUE(first->done);

  auto second = h.show(Object("Short"));
  ASSERT_EQ(h.list()._getsize(), 2);
  EXPECT_EQ(h.list()._getpanel(0).GetView(0).Text().str(), "Short");
}

TEST(LongTextTemplate, RichTextKeepsItsOwnRuns) {
  LongTextHarness h;
  auto rich = std::make_shared<RichText>();
  rich->append(RichText::Run{String("Red"), Font(), static_cast<int32_t>(0xFFFF0000)});
  rich->append(RichText::Run{String(" plain"), Font(), std::nullopt});
  h.show(Object(rich));
  LabelWrapper label = LabelWrapper::FromObject(Object(h.list()._getpanel(0).GetView(0)));
  ASSERT_TRUE(label.AttributedText());
  ASSERT_EQ(label.AttributedText()->runs().size(), 2u);
  EXPECT_EQ(label.AttributedText()->runs()[0].color, static_cast<int32_t>(0xFFFF0000));
  EXPECT_EQ(label.Text().str(), "Red plain");
}

}  // namespace
}  // namespace tmr
