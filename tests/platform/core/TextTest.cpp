#include <gtest/gtest.h>

#include "platform/core/Bit.h"
#include "platform/core/RuntimeError.h"
#include "platform/core/String.h"
#include "platform/core/StringBuilder.h"

namespace tmr {
namespace {

TEST(TextTest, PositionsAndLengthsCountUtf16CodeUnits) {
  String s("a\xC3\xA9\xF0\x9F\x90\xB6z");  // a, e-acute, a dog (outside the BMP), z
  EXPECT_EQ(s.Length(), 5);
  EXPECT_EQ(s.IndexOf("z"), 4);
  EXPECT_EQ(s.SubString2(1, 2).str(), "\xC3\xA9");
  EXPECT_EQ(s.SubString(2).SubString2(0, 2).str(), "\xF0\x9F\x90\xB6");
  EXPECT_EQ(s.str(), "a\xC3\xA9\xF0\x9F\x90\xB6z") << "round trip through UTF-8";
}

TEST(TextTest, LoneSurrogatesBecomeTheReplacementCharacter) {
  EXPECT_EQ(String::FromCodePoint(0xD800).str(), "\xEF\xBF\xBD");
  EXPECT_EQ(String::FromCodePoint(0xE313).Length(), 1);
  String half = String("\xF0\x9F\x90\xB6").SubString2(0, 1);
  EXPECT_EQ(half.str(), "\xEF\xBF\xBD");
  EXPECT_EQ(String("\xFF").str(), "\xEF\xBF\xBD") << "malformed UTF-8 in";
}

TEST(TextTest, TextOperations) {
  String s("  Tivomarsh A1  ");
  EXPECT_EQ(s.Trim().str(), "Tivomarsh A1");
  EXPECT_TRUE(s.Trim().StartsWith("Tivomarsh"));
  EXPECT_FALSE(s.Trim().StartsWith("tivomarsh")) << "case matters";
  EXPECT_EQ(s.Trim().ToUpperCase().str(), "TIVOMARSH A1");
  EXPECT_EQ(String("\xC3\x89T\xC3\x89").ToLowerCase().str(), "\xC3\xA9t\xC3\xA9");
  EXPECT_EQ(String("1,5,7").Replace(",", ".").str(), "1.5.7");
  EXPECT_EQ(String("abc").Replace("", "x").str(), "abc");
  EXPECT_TRUE(String("abc").Contains("bc"));
  EXPECT_EQ(String("abcabc").IndexOf2("b", 2), 4);
  EXPECT_EQ(String("abcabc").LastIndexOf("b"), 4);
  EXPECT_EQ(String("b").CompareTo("a"), 1);
  EXPECT_EQ(String("a").CompareTo("b"), -1);
  EXPECT_TRUE(String("AbC").EqualsIgnoreCase("aBc"));
  EXPECT_EQ(String("abc").CharAt(1), u'b');
  EXPECT_THROW((void)String("abc").CharAt(3), RuntimeError);
  EXPECT_THROW((void)String("abc").SubString2(2, 1), RuntimeError);
}

TEST(TextTest, HexAndRadixConversions) {
  const uint8_t bytes[] = {0x40, 0x03, 0x0e, 0xff};
  EXPECT_EQ(ByteConverter::HexFromBytes(bytes).str(), "40030EFF");
  EXPECT_EQ(ByteConverter::HexFromBytes({}).str(), "");
  EXPECT_EQ(ByteConverter::HexToBytes("40030eff"), std::vector<uint8_t>(std::begin(bytes), std::end(bytes)));
  EXPECT_EQ(Bit::ParseInt("0E", 16), 14);
  EXPECT_EQ(Bit::ParseInt("ff", 16), 255);
  EXPECT_EQ(Bit::ParseInt("-101", 2), -5);
  EXPECT_THROW(Bit::ParseInt("0G", 16), RuntimeError);
  EXPECT_THROW(Bit::ParseInt("", 16), RuntimeError);
  EXPECT_THROW(Bit::ParseInt("80000000", 16), RuntimeError);
  EXPECT_EQ(Bit::UnsignedShiftRight(-1, 28), 15);
  EXPECT_EQ(Bit::ShiftRight(-16, 2), -4);
  EXPECT_EQ(Bit::ShiftLeft(1, 31), INT32_MIN);
}

TEST(TextTest, StringBuilderInsertsAndRemovesByPosition) {
  StringBuilder sb;
  sb.Initialize();
  sb.Append("1234567");
  sb.Insert(4, ",").Insert(1, ",");
  EXPECT_EQ(sb.ToString().str(), "1,234,567");
  sb.Remove(sb.Length() - 2, sb.Length());
  EXPECT_EQ(sb.ToString().str(), "1,234,5");
  EXPECT_THROW(sb.Insert(100, "x"), RuntimeError);
}

}  // namespace
}  // namespace tmr
