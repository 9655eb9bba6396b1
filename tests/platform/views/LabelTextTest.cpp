#include <gtest/gtest.h>

#include <cmath>

#include "platform/core/Runtime.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/TextMeasurer.h"
#include "platform/views/ViewSystem.h"
#include "tests/platform/core/TestModules.h"

namespace tmr {
namespace {

struct LabelTextTest : ::testing::Test {
  Runtime rt;
  std::shared_ptr<ProbeModule> mod = ProbeModule::Make(rt);
  TextMeasurer& measurer = rt.service<TextMeasurer>();
  LabelWrapper label;
  void SetUp() override {
    ViewSystem::of(rt);
    label.Initialize(mod->bi, "");
  }
  std::vector<std::string> lines() const {
    std::vector<std::string> out;
    for (const auto& l : label.label().lines()) out.push_back(l.str());
    return out;
  }
};

TEST_F(LabelTextTest, WidthsAddUpAndLinesAreAsHighAsTheFont) {
  Font f = label.Font();
  EXPECT_NEAR(measurer.width("ab cd", f), measurer.width("ab", f) + measurer.width(" cd", f), 1e-9);
  double h17 = measurer.lineHeight(f);
  EXPECT_GT(h17, 17);
  EXPECT_LT(h17, 25);
  EXPECT_NEAR(measurer.lineHeight(Font::Make(Font::kDefaultFamily, 34)), 2 * h17, 0.01);
}

TEST_F(LabelTextTest, AOneLineLabelFitsItsText) {
  label.setText("Hello there");
  label.SizeToFit();
  Font f = label.Font();
  EXPECT_EQ(label.Width(), std::ceil(measurer.width("Hello there", f)));
  EXPECT_EQ(label.Height(), std::ceil(measurer.lineHeight(f)));
  label.setText("");
  label.SizeToFit();
  EXPECT_EQ(label.Width(), 0);
  EXPECT_EQ(label.Height(), 0);
}

TEST_F(LabelTextTest, AMultiLineLabelBreaksBetweenWordsWithinItsWidth) {
  Font f = label.Font();
  double word = measurer.width("word", f);
  label.setMultiline(true);
  label.setText("word word word word\nlast");
  // Room for two words and the blank between them, not three.
  label.setWidth(std::ceil(measurer.width("word word", f)) + 1);
  EXPECT_EQ(lines(), (std::vector<std::string>{"word word", "word word", "last"}));
  label.SizeToFit();
  EXPECT_EQ(label.Height(), std::ceil(3 * measurer.lineHeight(f)));
  EXPECT_EQ(label.Width(), std::ceil(measurer.width("word word", f)));

  // A word wider than the label is cut between characters; nothing is lost.
  label.setText("abcdefghijklmnop");
  label.setWidth(word);
  std::string joined;
  for (const auto& l : lines()) {
    EXPECT_LE(measurer.width(String(l), f), word + 1e-9) << l;
    joined += l;
  }
  EXPECT_EQ(joined, "abcdefghijklmnop");
  EXPECT_GT(lines().size(), 2u);
}

}  // namespace
}  // namespace tmr
