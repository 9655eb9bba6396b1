#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/RuntimeError.h"
#include "platform/text/Regex.h"

namespace tmr {
namespace {

std::vector<std::string> Parts(const std::string& pattern, const std::string& text) {
  std::vector<std::string> out;
  for (const auto& s : Regex::Split(String(pattern), String(text))) out.push_back(s.str());
  return out;
}

TEST(RegexTest, SplitKeepsLeadingAndInnerEmptyPartsAndDropsTrailingOnes) {
  using V = std::vector<std::string>;
  struct Case {
    std::string text;
    V parts;
  };
  const Case cases[] = {
      {"Home|Music|Rock", {"Home", "Music", "Rock"}},
      {"A||B", {"A", "", "B"}},
      {"|A", {"", "A"}},
      {"A|", {"A"}},
      {"A|||", {"A"}},
      {"|", {}},
      {"||", {}},
      {"", {""}},
      {"plain", {"plain"}},
      {"|A||", {"", "A"}},
      {"Ä|日本|😀", {"Ä", "日本", "😀"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Parts("\\|", c.text), c.parts) << c.text;
}

TEST(RegexTest, PatternsAreRegularExpressions) {
  EXPECT_EQ(Parts(",\\s*", "a, b,c,  d"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(Parts("[0-9]+", "x12y3z"), (std::vector<std::string>{"x", "y", "z"}));
  EXPECT_EQ(Parts("|", "ab"), (std::vector<std::string>{"a", "b"})) << "an empty match at the start splits nothing off";
}

TEST(RegexTest, IsMatchNeedsTheWholeText) {
  const String number(R"(^-?(0|[1-9]\d*)?(\.\d+)?(?<=\d)$)");
  EXPECT_TRUE(Regex::IsMatch(number, "-12.5"));
  EXPECT_TRUE(Regex::IsMatch(number, ".5"));
  EXPECT_FALSE(Regex::IsMatch(number, "012"));
  EXPECT_FALSE(Regex::IsMatch(number, "-"));
  EXPECT_FALSE(Regex::IsMatch("[0-9]+", "12a")) << "a match of a part is not a match";
}

TEST(RegexTest, AnInvalidPatternIsAnError) {
  EXPECT_THROW(Regex::Split(String("(a"), String("a")), RuntimeError);
  EXPECT_THROW(Regex::IsMatch(String("(a"), String("a")), RuntimeError);
}

}  // namespace
}  // namespace tmr
