#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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

// A wrapped line leaves out the blanks that end it (before a line break, at the end of the text,
// where it wraps), whatever the lines around it; blanks at its start and inside it count.
TEST_F(LabelTextTest, WrappedLinesLeaveOutTheBlanksThatEndThem) {
  Font f = label.Font();
  const double narrow = measurer.width("ab ", f);  // "ab" and one blank fit, "ab cd" does not
  struct Case {
    std::string text;
    double maxWidth;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"ab   \ncd", narrow, {"ab", "cd"}},
      {"ab   cd", narrow, {"ab", "cd"}},
      {"ab \t \n", 0, {"ab"}},
      {"  ab  \n\tcd\t", 0, {"  ab", "\tcd"}},
      {"a  b \nc", 0, {"a  b", "c"}},
      {"ab\n   \n\n  ", 0, {"ab", "   ", "", "  "}},
      {"word  word  word  ", measurer.width("word  word", f) + 1, {"word  word", "word"}},
      {"abcdef   ", measurer.width("abc", f), {"abc", "def"}},
  };
  for (const auto& c : cases) {
    String text(c.text);
    std::vector<std::string> got;
    for (const auto& line : measurer.wrap(text, f, c.maxWidth)) {
      String s = text.SubString2(line.start, line.start + line.length);
      got.push_back(s.str());
      EXPECT_DOUBLE_EQ(line.width, measurer.width(s, f)) << "\"" << c.text << "\": \"" << s.str() << "\"";
    }
    EXPECT_EQ(got, c.lines) << "\"" << c.text << "\"";
  }
  // A label sized to fit its lines is as wide as its widest line without those blanks.
  label.setMultiline(true);
  label.setText("ab   \ncd");
  label.setWidth(narrow);
  label.SizeToFit();
  EXPECT_EQ(label.Width(), std::ceil(std::max(measurer.width("ab", f), measurer.width("cd", f))));
}

// A font size that nothing can be drawn at measures nothing, and the shared measurer then answers
// for every other font what a measurer that never saw that size answers.
TEST_F(LabelTextTest, ASizeThatCannotBeDrawnChangesNothingForOtherFonts) {
  using F = std::numeric_limits<float>;
  float unmet = 17;  // a size the measurer has not met, so that nothing is answered from what it kept
  for (float size : {F::infinity(), -F::infinity(), F::quiet_NaN(), 0.0f, -17.0f, F::max(), F::denorm_min()}) {
    Font bad = Font::Make(Font::kDefaultFamily, size, true);
    double w = measurer.width("Hello", bad), h = measurer.lineHeight(bad);
    if (!(size > 0) || std::isinf(size)) {
      EXPECT_EQ(w + h, 0) << size;
    }
    measurer.wrap("Hello there\nyou", bad, 30);
    measurer.fitWithEllipsis("Hello there", bad, 30);
    Font ok = Font::Make(Font::kDefaultFamily, unmet += 0.125f, true);
    TextMeasurer fresh(rt);
    EXPECT_GT(fresh.width("World", ok), 40);
    EXPECT_EQ(measurer.width("World", ok), fresh.width("World", ok)) << size;
    EXPECT_EQ(measurer.lineHeight(ok), fresh.lineHeight(ok)) << size;
    EXPECT_EQ(measurer.wrap("Hello world, a few words", ok, 60).size(),
              fresh.wrap("Hello world, a few words", ok, 60).size());
  }
}

}  // namespace
}  // namespace tmr
