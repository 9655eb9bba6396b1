#include <gtest/gtest.h>

#include "platform/core/RuntimeError.h"
#include "platform/views/RichTextBuilder.h"

namespace tmr {
namespace {

const Font kBig = Font::Make(Font::kDefaultFamily, 30);
const Font kBold = Font::Make(Font::kDefaultFamily, 12, true);
constexpr int32_t kGreen = static_cast<int32_t>(0xFF00FF00);
constexpr int32_t kRed = static_cast<int32_t>(0xFFFF0000);

TEST(RichTextBuilderTest, EachTextTakesTheInnermostOpenFontAndColour) {
  RichTextBuilder cs;
  cs.Initialize();
  cs.Append("a").Font(kBig).Append("b").Color(kRed).Append("c").Font(kBold).Append("d").Pop().Append("e");
  cs.Pop().Append("f").Pop().Append("g").Color(kGreen).Color(kRed).Pop().Append("h");
  auto text = cs.PopAll();
  struct Expected {
    const char* text;
    Font font;
    std::optional<int32_t> color;
  };
  const Expected expected[] = {{"a", Font(), std::nullopt}, {"b", kBig, std::nullopt}, {"c", kBig, kRed},
                               {"d", kBold, kRed},          {"e", kBig, kRed},         {"f", kBig, std::nullopt},
                               {"g", Font(), std::nullopt}, {"h", Font(), kGreen}};
  ASSERT_EQ(text->runs().size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    const auto& run = text->runs()[i];
    EXPECT_EQ(run.text.str(), expected[i].text);
    EXPECT_EQ(run.font.IsInitialized(), expected[i].font.IsInitialized()) << i;
    if (expected[i].font.IsInitialized()) {
      EXPECT_EQ(run.font, expected[i].font) << i;
    }
    EXPECT_EQ(run.color, expected[i].color) << i;
  }
  EXPECT_EQ(text->plainText().str(), "abcdefgh");
}

TEST(RichTextBuilderTest, AnUninitialisedFontKeepsTheLabelsFontInsideAnotherFont) {
  RichTextBuilder cs;
  cs.Initialize();
  auto text = cs.Font(kBig).Font(Font()).Append("x").PopAll();
  EXPECT_FALSE(text->runs()[0].font.IsInitialized());
}

TEST(RichTextBuilderTest, PopAllClosesEveryStyleAndInitializeStartsAfresh) {
  RichTextBuilder cs;
  cs.Initialize();
  auto first = cs.Color(kRed).Font(kBig).Append("x").PopAll();
  EXPECT_THROW(cs.Pop(), RuntimeError) << "nothing is open after PopAll";
  cs.Append("y");
  EXPECT_EQ(first->runs().back().color, std::nullopt);
  cs.Initialize();
  EXPECT_NE(cs.ToRichText(), first);
  EXPECT_TRUE(cs.ToRichText()->runs().empty());
  EXPECT_EQ(first->plainText().str(), "xy");
}

TEST(RichTextBuilderTest, AnUninitialisedBuilderFails) {
  RichTextBuilder cs;
  EXPECT_FALSE(cs.IsInitialized());
  EXPECT_THROW(cs.Append("x"), RuntimeError);
  EXPECT_THROW(cs.Color(kRed), RuntimeError);
  EXPECT_THROW(cs.PopAll(), RuntimeError);
}

}  // namespace
}  // namespace tmr
