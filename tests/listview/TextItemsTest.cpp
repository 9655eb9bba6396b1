#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "platform/views/RichText.h"
#include "platform/views/TextMeasurer.h"
#include "tests/listview/ListHarness.h"

namespace tmr {
namespace {

LabelObject& LabelOf(ListHarness& h, int index) {
  return static_cast<LabelObject&>(*h.lv->_getpanel(index).GetView(0).native());
}

TEST(ListTextItems, AOneLineTextIsAtLeast52HighWithItsLabelInset) {
  ListHarness h;
  h.lv->_addtextitem(Object("Short"), Object(1));
  auto item = h.lv->_getrawlistitem(0);
  EXPECT_TRUE(item->TextItem);
  EXPECT_EQ(item->Size, 52);
  EXPECT_EQ(item->Panel.Color(), kBaseColor) << "text items take the base panel's colour";
  auto& label = LabelOf(h, 0);
  EXPECT_EQ(label.frame(), (Frame{5, 2, 390, 50}));
  EXPECT_EQ(label.textColor(), kLabelColor) << "the designer label's text colour";
  EXPECT_EQ(label.numberOfLines(), 0);
  h.expectConsistent();
}

TEST(ListTextItems, ALongTextWrapsWithinTheListAndMakesATallerItem) {
  ListHarness h;
  std::string text;
  for (int i = 0; i < 40; ++i) text += "several words ";
  h.lv->_addtextitem(Object(text), Object());
  auto& label = LabelOf(h, 0);
  auto lines = label.lines();
  ASSERT_GT(lines.size(), 3u);
  double lineHeight = h.rt.service<TextMeasurer>().lineHeight(label.font());
  EXPECT_EQ(label.frame().height, std::ceil(lineHeight * static_cast<double>(lines.size())));
  EXPECT_EQ(h.lv->_getrawlistitem(0)->Size, static_cast<int>(label.frame().height) + 2);
  for (const auto& l : lines) EXPECT_LE(h.rt.service<TextMeasurer>().width(l, label.font()), 390) << l;
}

TEST(ListTextItems, RichTextIsShownAsItIs) {
  ListHarness h;
  auto rich =
      std::make_shared<RichText>(std::vector<RichText::Run>{{"bold", Font(), 0xFFFF0000}, {" plain", Font(), {}}});
  h.lv->_addtextitem(Object(rich), Object());
  EXPECT_EQ(LabelOf(h, 0).attributedText(), rich);
  EXPECT_EQ(LabelOf(h, 0).text(), String("bold plain"));
}

TEST(ListTextItems, AHorizontalListTakesNoTextItems) {
  ListHarness h(ListOptions{.orientation = "Horizontal"});
  h.lv->_addtextitem(Object("text"), Object());
  EXPECT_EQ(h.lv->_getsize(), 0);
  EXPECT_EQ(h.log, (std::vector<std::string>{"AddTextItem is only supported in vertical orientation."}));
}

TEST(ListTextItems, LabelsFollowANewWidthEvenAfterTheItemWasResized) {
  ListHarness h;
  h.lv->_addtextitem(Object("one"), Object());
  h.lv->_addtextitem(Object("two"), Object());
  h.lv->_resizeitem(1, 80);
  EXPECT_TRUE(h.lv->_getrawlistitem(1)->TextItem) << "a resized text item stays a text item";
  h.base.setWidth(300);
  for (int i = 0; i < 2; ++i) {
    Frame f = LabelOf(h, i).frame();
    EXPECT_EQ(f.left, 5);
    EXPECT_EQ(f.width, 295) << "wrapper width minus the label's left, item " << i;
    EXPECT_EQ(f.height, 50);
  }
}

}  // namespace
}  // namespace tmr
