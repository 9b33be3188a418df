#include "common/rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace veka {

TEST(Round, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(round_to_int(2.5), 2);
  EXPECT_EQ(round_to_int(3.5), 4);
  EXPECT_EQ(round_to_int(-2.5), -2);
  EXPECT_EQ(round_to_int(0.5), 0);
  EXPECT_EQ(round_to_int(1.5000001), 2);
  EXPECT_EQ(round_even(4.5), 4.0);
}

// A whole number has no negative zero; a kept -0.0 would print as "-0.0".
TEST(Round, ZeroResultsArePositive) {
  for (double x : {-0.499, -0.5, -0.0, 0.0, 0.3}) {
    EXPECT_FALSE(std::signbit(round_even(x))) << x;
  }
  EXPECT_FALSE(std::signbit(round_to_fraction(-0.04, 10))) << "-0.04 to tenths";
  EXPECT_FALSE(std::signbit(round_to_fraction(-0.004, 100))) << "-0.004 to hundredths";
  EXPECT_EQ(round_even(-0.501), -1.0);
}

TEST(Int, DropsTheFraction) {
  EXPECT_EQ(trunc_to_int(2.9), 2);
  EXPECT_EQ(trunc_to_int(-2.9), -2);
  EXPECT_EQ(trunc_to_int(0.999), 0);
}

TEST(Round, SaturatesBeyondThirtyTwoBits) {
  EXPECT_EQ(round_to_int(1e30), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(round_to_int(-1e30), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(trunc_to_int(3e9), std::numeric_limits<int32_t>::max());
}

TEST(RoundToFraction, TenthsAndHundredthsHalvesToEven) {
  EXPECT_DOUBLE_EQ(round_to_fraction(12.34, 10), 12.3);
  EXPECT_DOUBLE_EQ(round_to_fraction(0.125, 100), 0.12);  // 12.5 -> 12
  EXPECT_DOUBLE_EQ(round_to_fraction(0.375, 100), 0.38);  // 37.5 -> 38
}

}  // namespace veka
