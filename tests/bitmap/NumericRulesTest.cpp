// The numeric helpers of the drawing code.
#include "bitmap/NumericRules.h"

#include <gtest/gtest.h>

#include <limits>

namespace tmr {
namespace {

using namespace bcnum;

TEST(NumericRulesTest, ConversionsSaturateAndRoundHalfToEven) {
  EXPECT_EQ(truncInt(2.9), 2);
  EXPECT_EQ(truncInt(-2.9), -2);
  EXPECT_EQ(truncInt(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(truncInt(1e20), INT32_MAX);
  EXPECT_EQ(truncInt(-1e20), INT32_MIN);
  EXPECT_EQ(roundLong(2.5), 2);
  EXPECT_EQ(roundLong(3.5), 4);
  EXPECT_EQ(roundLong(-2.5), -2);
  EXPECT_EQ(roundLong(std::numeric_limits<double>::infinity()), INT64_MAX);
  EXPECT_EQ(floorLong(-0.5), -1);
  EXPECT_EQ(advanceSteps(1.0f, 0.1f, 3), 1.0f + 0.1f + 0.1f + 0.1f);
}

}  // namespace
}  // namespace tmr
