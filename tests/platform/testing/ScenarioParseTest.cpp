#include <gtest/gtest.h>

#include "platform/testing/Scenario.h"

namespace tmr {
namespace {

TEST(ScenarioParseTest, ReadsCommandsSkippingBlanksAndComments) {
  auto s = Scenario::Parse("# start\n\n  tap btnscan\r\nexpect pmbarks text \"3 barks\"\nwait 1100\nstate");
  ASSERT_EQ(s.commands.size(), 4u);
  EXPECT_EQ(s.commands[0].line, 3);
  EXPECT_EQ(s.commands[0].verb, "tap");
  EXPECT_EQ(s.commands[1].args[2].text, "3 barks");
  EXPECT_TRUE(s.commands[1].args[2].quoted);
  EXPECT_EQ(s.commands[1].source, "expect pmbarks text \"3 barks\"");
  EXPECT_EQ(s.commands[2].line, 5);
  EXPECT_EQ(s.viewNames(), (std::vector<std::pair<int, std::string>>{{3, "btnscan"}, {4, "pmbarks"}}));
  EXPECT_TRUE(Scenario::Parse("expect x text \"\"").commands[0].args[2].quoted) << "an empty text";
}

TEST(ScenarioParseTest, MalformedLinesNameTheLineAndWhy) {
  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"tap", "line 1: tap takes one view name"},
      {"\ntap a b", "line 2: tap takes one view name"},
      {"wait soon", "line 1: wait takes a whole number of milliseconds, not soon"},
      {"wait -5", "line 1: wait takes a whole number of milliseconds, not -5"},
      {"expect x text 3", "line 1: the expected text must be in double quotes"},
      {"expect x visible yes", "line 1: the expected visible must be true or false"},
      {"expect x enabled \"true\"", "line 1: the expected enabled must be true or false"},
      {"expect x color red", "line 1: unknown property color (text, visible or enabled)"},
      {"expect x text \"open", "line 1: a quoted word is not closed"},
      {"swipe x", "line 1: unknown command swipe"},
      {"state now", "line 1: state takes nothing"},
      {"screenshot", "line 1: screenshot takes a file name"},
  };
  for (const auto& c : cases) {
    try {
      Scenario::Parse(c.text);
      ADD_FAILURE() << c.text << " was accepted";
    } catch (const ScenarioError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

}  // namespace
}  // namespace tmr
