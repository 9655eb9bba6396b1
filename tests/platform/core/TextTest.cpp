#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "platform/core/Bit.h"
#include "platform/core/Common.h"
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
  // Overlong forms of "/" would slip past a check for the character itself.
  for (const char* overlong : {"\xC0\xAF", "\xE0\x80\xAF", "\xF0\x80\x80\xAF"}) {
    std::u16string units = String(overlong).units();
    EXPECT_EQ(units.find(u'/'), std::u16string::npos) << overlong;
    EXPECT_EQ(units.front(), u'\uFFFD') << overlong;
  }
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
  for (const char* notHex : {"-1", "+1", " 1", "1 ", "0x", "4-01"})
    EXPECT_THROW(ByteConverter::HexToBytes(notHex), RuntimeError) << notHex;
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

TEST(TextTest, NumberFormat2WritesEveryDigitOfHugeNumbersAndInfinityAsTheSign) {
  struct Case {
    double number;
    int minInt, maxFrac, minFrac;
    bool grouping;
    const char* text;
  };
  const double inf = std::numeric_limits<double>::infinity();
  const Case cases[] = {{1e20, 1, 0, 0, true, "100,000,000,000,000,000,000"},
                        {-1e20, 1, 2, 0, false, "-100000000000000000000"},
                        {18446744073709551616.0, 1, 0, 0, false, "18446744073709551616"},
                        {inf, 1, 2, 0, true, "\u221E"},
                        {-inf, 1, 2, 0, true, "-\u221E"},
                        {1234.5678, 1, 2, 0, true, "1,234.57"},
                        {7, 4, 0, 0, false, "0007"},
                        {-0.001, 1, 2, 0, false, "0"}};
  for (const auto& c : cases)
    EXPECT_EQ(Common::NumberFormat2(c.number, c.minInt, c.maxFrac, c.minFrac, c.grouping).str(), c.text) << c.number;
  // Too large to scale by its fraction digits: the whole part, then the fraction digits asked for.
  std::string huge = Common::NumberFormat2(1e300, 1, 15, 2, false).str();
  EXPECT_EQ(huge.size(), 304u);
  EXPECT_EQ(huge.substr(0, 17) + huge.substr(huge.size() - 3), "10000000000000000.00");
}

// The digits written are those of the double's exact value, rounded to the fraction digits asked
// for, as the C library's printf writes them; none come from scaling it.
TEST(TextTest, NumberFormat2WritesOnlyTheDigitsTheNumberHolds) {
  EXPECT_EQ(Common::NumberFormat2(1e18, 0, 5, 0, false).str(), "1000000000000000000");
  const double numbers[] = {1e18,
                            1e17 + 8,
                            1e22,
                            1e23,
                            123456789.123456789,
                            9007199254740993.0,
                            0.1,
                            2.675,
                            0.125,
                            4.35,
                            1.005,
                            1e15 + 0.3,
                            0.3e-10,
                            7,
                            1.5e-5,
                            3.14159e13,
                            1e300,
                            5e-324,
                            std::numeric_limits<double>::max()};
  for (double n : numbers)
    for (int digits = 0; digits <= 15; ++digits) {
      std::vector<char> buf(400);
      std::snprintf(buf.data(), buf.size(), "%.*f", digits, n);
      const std::string exact(buf.data());
      EXPECT_EQ(Common::NumberFormat2(n, 1, digits, digits, false).str(), exact) << n << " " << digits;
      const bool zero = exact.find_first_not_of("0.") == std::string::npos;
      EXPECT_EQ(Common::NumberFormat2(-n, 1, digits, digits, false).str(), zero ? exact : "-" + exact);
    }
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
