#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iomanip>
#include <limits>
#include <random>
#include <string>

#include "platform/core/Runtime.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/ViewSystem.h"
#include "tests/platform/core/TestModules.h"
#include "views/input/tm_formatter.h"

namespace tmr {
namespace {

struct FormatterTest : ::testing::Test {
  Runtime rt;
  std::shared_ptr<ProbeModule> owner = ProbeModule::Make(rt);
  std::shared_ptr<tm_formatter> f = std::make_shared<tm_formatter>();
  void SetUp() override { f->_initialize(owner->bi); }
  std::string fmt(double x) { return f->_format(x).str(); }
};

TEST_F(FormatterTest, DefaultRuleGroupsRoundsAndTrimsTrailingZeros) {
  struct Case {
    double number;
    const char* text;
  };
  const Case cases[] = {
      {64, "64"},
      {1234567, "1,234,567"},
      {0.5, "0.5"},
      {3.14159, "3.142"},
      {2.5, "2.5"},
      {-2.5, "-2.5"},
      {1.9996, "2"},
      {0.0004, "0"},
      {-0.0004, "0"},
      {10, "10"},
      {10.0001, "10"},
      {2147483647, "2,147,483,647"},
      {0, "0"},
      {1000, "1,000"},
      {-1234.5678, "-1,234.568"},
      {0.0005, "0.001"},
      {2147483648.0, "OVERFLOW"},
      {-2147483649.0, "OVERFLOW"},
  };
  for (const auto& c : cases) EXPECT_EQ(fmt(c.number), c.text) << c.number;
}

TEST_F(FormatterTest, SmallestIntegerFormatsWithItsSign) { EXPECT_EQ(fmt(-2147483648.0), "-2,147,483,648"); }

TEST_F(FormatterTest, NotANumberAndInfinitiesOverflow) {
  EXPECT_EQ(fmt(std::numeric_limits<double>::quiet_NaN()), "OVERFLOW");
  EXPECT_EQ(fmt(std::numeric_limits<double>::infinity()), "OVERFLOW");
  EXPECT_EQ(fmt(-std::numeric_limits<double>::infinity()), "OVERFLOW");
}

TEST_F(FormatterTest, ANegativeNumberThatRoundsAwayFromZeroKeepsItsSign) {
  EXPECT_EQ(fmt(-0.0005), "-0.001");
  auto whole = f->_getdefaultformat();
  whole->MaximumFractions = 0;
  EXPECT_EQ(fmt(-0.5), "-1");
  EXPECT_EQ(fmt(-0.4), "0");
  EXPECT_EQ(fmt(0.5), "1");
}

// Each number is rounded once, half away from zero, as its shortest decimal text reads (2.35 is
// 2.35, not the double just above it); a hair either side of a half goes the way it lies.
TEST_F(FormatterTest, RoundsOnceHalfAwayFromZeroOnTheTextTheNumberReadsAs) {
  struct Case {
    int places;
    double number;
    const char* text;
  };
  const double down = -std::numeric_limits<double>::infinity(), up = std::numeric_limits<double>::infinity();
  const Case cases[] = {
      {3, 0.8995, "0.9"},
      {3, 0.5695, "0.57"},
      {3, 1.2295, "1.23"},
      {3, 99999999.4685, "99,999,999.469"},
      {3, 0.9995, "1"},
      {3, -999.9995, "-1,000"},
      {3, 1.0005, "1.001"},
      {3, -1.0005, "-1.001"},
      {2, 1.895, "1.9"},
      {2, 0.285, "0.29"},
      {2, -0.285, "-0.29"},
      {2, std::nextafter(0.285, down), "0.28"},
      {2, std::nextafter(0.285, up), "0.29"},
      {1, 1.25, "1.3"},
      {1, 2.25, "2.3"},
      {1, 2.75, "2.8"},
      {1, 2.35, "2.4"},
      {1, -2.25, "-2.3"},
      {1, -2.35, "-2.4"},
      {1, std::nextafter(2.25, down), "2.2"},
      {1, std::nextafter(2.25, up), "2.3"},
      {1, std::nextafter(2.35, down), "2.3"},
      {1, -0.05, "-0.1"},
      {1, std::nextafter(-0.05, up), "0"},
      {0, 2.5, "3"},
      {0, -1.5, "-2"},
      {0, std::nextafter(-2.5, up), "-2"},
      {0, std::nextafter(-2.5, down), "-3"},
      {5, 0.000015, "0.00002"},
      {7, 1.23456785, "1.2345679"},
      {9, 0.1234567895, "0.12345679"},
      {9, -0.1234567895, "-0.12345679"},
      {9, -2147483648.0, "-2,147,483,648"},
  };
  auto r = f->_getdefaultformat();
  for (const auto& c : cases) {
    r->MaximumFractions = c.places;
    EXPECT_EQ(fmt(c.number), c.text) << std::setprecision(17) << c.number << " to " << c.places << " places";
  }
}

// The shortest decimal text of x (std::to_chars), rounded to `places` half away from zero by
// decimal string arithmetic, trailing zeros trimmed: what the formatter must write without grouping.
std::string RoundedShortestText(double x, int places) {
  char buf[512];
  auto end = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::fixed).ptr;
  std::string text(buf, end);
  auto point = text.find('.');
  std::string whole = text.substr(0, point);
  std::string fraction = point == std::string::npos ? "" : text.substr(point + 1);
  fraction.resize(std::max<size_t>(fraction.size(), places + 1), '0');
  std::string digits = whole + fraction.substr(0, places);
  if (fraction[places] >= '5') {
    int i = static_cast<int>(digits.size()) - 1;
    while (i >= 0 && digits[i] == '9') digits[i--] = '0';
    if (i < 0) digits.insert(digits.begin(), '0');
    ++digits[std::max(i, 0)];
  }
  std::string intPart = digits.substr(0, digits.size() - places);
  std::string fracPart = digits.substr(digits.size() - places);
  intPart.erase(0, std::min(intPart.find_first_not_of('0'), intPart.size() - 1));
  fracPart.erase(fracPart.find_last_not_of('0') + 1);
  std::string out = fracPart.empty() ? intPart : intPart + "." + fracPart;
  bool zero = out == "0";
  return x < 0 && !zero ? "-" + out : out;
}

TEST_F(FormatterTest, TextIsTheShortestDecimalRoundedHalfAwayFromZeroAtEveryPlaceCount) {
  auto r = f->_getdefaultformat();
  r->GroupingCharacter = "";
  std::mt19937_64 gen(7);
  std::uniform_real_distribution<double> unit(0, 1);
  for (int i = 0; i < 4000; ++i) {
    double x = unit(gen) * std::pow(10.0, static_cast<int>(gen() % 19) - 9);
    // Every other value a decimal half at a random place, as typed numbers often are.
    if (i % 2 == 1) {
      double scale = std::pow(10.0, static_cast<int>(gen() % 10));
      x = (std::trunc(x * scale) + 0.5) / scale;
    }
    if (x > 2147483647) continue;
    if (gen() % 2) x = -x;
    for (int places = 0; places <= 9; ++places) {
      r->MaximumFractions = places;
      ASSERT_EQ(fmt(x), RoundedShortestText(x, places)) << std::setprecision(17) << x << " to " << places;
    }
  }
}

TEST_F(FormatterTest, OtherRules) {
  struct Case {
    const char* name;
    void (*change)(_formatdata&);
    double number;
    const char* text;
  };
  const Case cases[] = {
      {"min 2 max 3 fractions", [](_formatdata& r) { r.MinimumFractions = 2; }, 2, "2.00"},
      {"min 2 max 3 fractions", [](_formatdata& r) { r.MinimumFractions = 2; }, 2.5, "2.50"},
      {"fraction padding #",
       [](_formatdata& r) {
         r.MinimumFractions = 2;
         r.FractionPaddingChar = "#";
       },
       2.5, "2.5#"},
      {"minimum 5 integers", [](_formatdata& r) { r.MinimumIntegers = 5; }, 1234, "1,234"},
      {"minimum 5 integers", [](_formatdata& r) { r.MinimumIntegers = 5; }, 12, "00012"},
      {"prefix $", [](_formatdata& r) { r.Prefix = "$"; }, -2.5, "$-2.5"},
      {"postfix and no minus",
       [](_formatdata& r) {
         r.Postfix = " s";
         r.RemoveMinusSign = true;
       },
       -3, "3 s"},
      {"no grouping, comma point",
       [](_formatdata& r) {
         r.GroupingCharacter = "";
         r.DecimalPoint = ",";
       },
       12345.25, "12345,25"},
      {"twelve places count as nine", [](_formatdata& r) { r.MaximumFractions = 12; }, 0.123456789123, "0.123456789"},
      {"empty padding characters",
       [](_formatdata& r) {
         r.MinimumIntegers = 3;
         r.IntegerPaddingChar = "";
         r.MinimumFractions = 2;
         r.FractionPaddingChar = "";
       },
       1.5, "1.5"},
  };
  for (const auto& c : cases) {
    auto r = f->_newformatdata();
    c.change(*r);
    f->_addformatdata(r, -1e6, 1e6, true);
    EXPECT_EQ(fmt(c.number), c.text) << c.name;
    f->formats.RemoveAt(f->formats.Size() - 1);
  }
}

TEST_F(FormatterTest, RangesAreWidenedByHalfAUnitAndTheLastAddedRuleWins) {
  auto a = f->_newformatdata();
  a->Postfix = " a";
  f->_addformatdata(a, 0, 10, true);
  EXPECT_DOUBLE_EQ(a->RangeStart, -0.0005);
  EXPECT_DOUBLE_EQ(a->RangeEnd, 10.0005);
  auto b = f->_newformatdata();
  b->Postfix = " b";
  b->MaximumFractions = 0;
  f->_addformatdata(b, 5, 20, false);
  EXPECT_DOUBLE_EQ(b->RangeStart, 5.5);
  EXPECT_DOUBLE_EQ(b->RangeEnd, 19.5);
  EXPECT_EQ(fmt(3), "3 a");
  EXPECT_EQ(fmt(7), "7 b") << "the overlap takes the rule added last";
  EXPECT_EQ(fmt(5), "5 a") << "excluded edge";
  EXPECT_EQ(fmt(30), "30") << "outside every range: the default rule";
  EXPECT_EQ(f->_getformatdata(-1e12), f->_getdefaultformat()) << "the default rule is never range-tested";
}

TEST_F(FormatterTest, DefaultRuleIsSharedAndCopiesAreNot) {
  auto copy = f->_newformatdata();
  copy->MaximumFractions = 1;
  EXPECT_EQ(fmt(1.25), "1.25");
  f->_getdefaultformat()->MaximumFractions = 1;
  EXPECT_EQ(fmt(1.25), "1.3");
  EXPECT_EQ(copy->description().substr(0, 36), "[IsInitialized=true, Prefix=, Postfi");
}

TEST_F(FormatterTest, CopiesGetTheirOwnFontOfTheSameFaceAndSize) {
  auto r = f->_getdefaultformat();
  r->FormatFont = Font::Make("DejaVu Sans", 20, true);
  auto copy = f->_copyformatdata(r);
  ASSERT_TRUE(copy->FormatFont.IsInitialized());
  EXPECT_EQ(copy->FormatFont, r->FormatFont);
  EXPECT_NE(copy->FormatFont.shared(), r->FormatFont.shared());
  r->FormatFont = Font();
  EXPECT_FALSE(f->_copyformatdata(r)->FormatFont.IsInitialized());
}

TEST_F(FormatterTest, FormatLabelSetsColourAndFontOnlyWhereTheRuleHasThem) {
  LabelWrapper label;
  label.Initialize(owner->bi, "");
  label.setTextColor(static_cast<int32_t>(0xFF112233));
  Font before = label.Font();
  f->_formatlabel(1234.5, label);
  EXPECT_EQ(label.Text().str(), "1,234.5");
  EXPECT_EQ(label.TextColor(), static_cast<int32_t>(0xFF112233));
  EXPECT_EQ(label.Font(), before);
  auto r = f->_newformatdata();
  r->TextColor = static_cast<int32_t>(0xFFFF0000);
  r->FormatFont = Font::Make("DejaVu Sans", 30);
  f->_addformatdata(r, 0, 100, true);
  f->_formatlabel(50, label);
  EXPECT_EQ(label.TextColor(), static_cast<int32_t>(0xFFFF0000));
  EXPECT_EQ(label.Font().Size(), 30);
}

}  // namespace
}  // namespace tmr
