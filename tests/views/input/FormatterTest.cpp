#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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
