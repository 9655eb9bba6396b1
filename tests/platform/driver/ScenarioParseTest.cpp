#include <gtest/gtest.h>

#include "platform/driver/Scenario.h"

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
      {"wait 9223372036854775000", "line 1: wait 9223372036854775000 would run the clock past its end"},
      {"wait 5000000000000000000\nwait 5000000000000000000",
       "line 2: wait 5000000000000000000 would run the clock past its end"},
      {"expect x text 3", "line 1: the expected text must be in double quotes"},
      {"expect x visible yes", "line 1: the expected visible must be true or false"},
      {"expect x enabled \"true\"", "line 1: the expected enabled must be true or false"},
      {"expect x color red", "line 1: unknown property color (text, visible or enabled)"},
      {"expect x text \"open", "line 1: a quoted word is not closed"},
      {"swipe x", "line 1: unknown command swipe"},
      {"state now", "line 1: state takes nothing"},
      {"screenshot", "line 1: screenshot takes a file name"},
      {"pick", "line 1: pick takes the title of a button of the action sheet"},
      {"type hello", "line 1: the text to type must be in double quotes"},
      {"type", "line 1: type takes a text in double quotes"},
      {"enter now", "line 1: enter takes nothing"},
      {"delete 2", "line 1: delete takes nothing"},
      {"expect-sheet", "line 1: expect-sheet takes the titles shown, or none"},
      {"expect-sheet none A", "line 1: expect-sheet none takes nothing more"},
      {"device Tivomarsh D1", "line 1: the device's name must be in double quotes"},
      {"device \"A\"", "line 1: device takes a quoted name, an id and optionally status and five bytes"},
      {"device \"A\" D1 status 01 02 03 04 05 06",
       "line 1: device takes a quoted name, an id and optionally status and five bytes"},
      {"device \"A\" D1 state 01 02 03 04 05", "line 1: device: the settings are written as status and five bytes"},
      {"device \"A\" D1 status 01 02 03 04 5", "line 1: device: 5 is not a byte in two hexadecimal digits"},
      {"device \"A\" D1 status 01 02 03 04 G0", "line 1: device: G0 is not a byte in two hexadecimal digits"},
      {"device \"A\" D1\ndevice \"B\" D1", "line 2: device D1 is declared twice"},
      {"adapter dim", "line 1: unknown adapter state dim (on, off, unsupported or unauthorized)"},
      {"drop D1", "line 1: no device D1 (declare it with a device line first)"},
      {"notify", "line 1: notify takes a device id"},
      {"device \"A\" D1\nfail D1 now", "line 2: fail takes a device id"},
      {"expect-writes", "line 1: expect-writes takes the commands received, or none"},
      {"expect-writes 01 03 ,", "line 1: expect-writes: a comma without a command after it"},
      {"expect-writes , 01 03", "line 1: expect-writes: a comma without a command before it"},
      {"expect-writes 01 03,, 05 00", "line 1: expect-writes: a comma without a command before it"},
      {"expect-writes 010", "line 1: expect-writes: 010 is not a byte in two hexadecimal digits"},
      {"device \"A\" D1\nexpect-device D1 01 02 03 04 05",
       "line 2: expect-device: the settings are written as status and five bytes"},
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

TEST(ScenarioParseTest, ReadsTheBytesOfTheRadioCommands) {
  auto s = Scenario::Parse(
      "device \"\" D0\n"
      "device \"Tivomarsh-A\" D1 status 40 03 04 0e 01\n"
      "notify D1 0A ff\n"
      "expect-writes 01 03, 05 00 ,06 00\n"
      "expect-writes none\n"
      "expect-device D1 status 40 03 04 0E 01\n"
      "expect-sheet none\n"
      "expect-sheet \"none\"\n"
      "adapter unauthorized\n");
  ASSERT_EQ(s.commands.size(), 9u);
  using Groups = std::vector<std::vector<uint8_t>>;
  EXPECT_EQ(s.commands[0].args[0].text, "");
  EXPECT_TRUE(s.commands[0].bytes.empty());
  EXPECT_EQ(s.commands[1].bytes, (Groups{{0x40, 3, 4, 0x0E, 1}}));
  EXPECT_EQ(s.commands[2].bytes, (Groups{{0x0A, 0xFF}}));
  EXPECT_EQ(s.commands[3].bytes, (Groups{{1, 3}, {5, 0}, {6, 0}}));
  EXPECT_TRUE(s.commands[4].bytes.empty()) << "none";
  EXPECT_EQ(s.commands[5].bytes, (Groups{{0x40, 3, 4, 0x0E, 1}}));
  EXPECT_TRUE(s.commands[7].args[0].quoted) << "a device named none";
  EXPECT_TRUE(s.viewNames().empty());
  EXPECT_EQ(Scenario::Parse("device \"A\" D1\nnotify D1").commands[1].bytes, (Groups{{}})) << "an empty notification";
}

}  // namespace
}  // namespace tmr
