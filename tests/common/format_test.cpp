#include "common/format.h"

#include <gtest/gtest.h>

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>

namespace veka {

TEST(RealField, FixedPointRightAlignedWithExactDecimals) {
  EXPECT_EQ(real_field(12.345, 8, 2), "   12.35");  // 12.345 is stored a hair above
  EXPECT_EQ(real_field(0.0, 8, 2), "    0.00");
  EXPECT_EQ(real_field(-1.5, 6, 1), "  -1.5");
  EXPECT_EQ(real_field(0.01225, 9, 4), "   0.0123");
}

TEST(RealField, NoDecimalPointWhenDecimalsAreZeroAndHalvesGoToEven) {
  EXPECT_EQ(real_field(2.5, 4, 0), "   2");
  EXPECT_EQ(real_field(3.5, 4, 0), "   4");
  EXPECT_EQ(real_field(-2.5, 4, 0), "  -2");
  EXPECT_EQ(real_field(-263.8, 10, 0), "      -264");
}

TEST(RealField, WidensWhenTheValueNeedsMoreCharacters) {
  EXPECT_EQ(real_field(1234567890.0, 8, 0), "1234567890");
  EXPECT_EQ(real_field(0.5, 3, 2), "0.50");
  EXPECT_EQ(real_field(-12345.678, 4, 1), "-12345.7");
  EXPECT_EQ(real_field(1e300, 1, 0).size(), 301u);
}

// The fields are printf's "%*.*f" and "%*d" texts, whatever makes them.
TEST(RealField, SameTextAsPrintfForEveryKindOfValue) {
  auto printf_text = [](double x, int w, int d) {
    std::vector<char> text(400);
    int n = std::snprintf(text.data(), text.size(), "%*.*f", w, d, x);
    return std::string(text.data(), n);
  };
  std::vector<double> values = {0.0,      -0.0,
                                0.125,    -0.125,
                                2.5,      0.045,
                                1e-320,   1e17,
                                1e22,     1e300,
                                -1e300,   4.35,
                                9.995,    -0.0004,
                                0.00049,  1234.5,
                                -1234.5,  123456789.125,
                                INFINITY, -INFINITY,
                                NAN,      std::numeric_limits<double>::max()};
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> spread(-1e7, 1e7);
  for (int i = 0; i < 20000; ++i) values.push_back(spread(random) / (i % 2 ? 1 : 1e5));
  for (double x : values) {
    for (int d = 0; d <= 6; ++d) {
      for (int w : {0, 6, 12}) EXPECT_EQ(real_field(x, w, d), printf_text(x, w, d)) << x;
    }
  }
  for (int64_t n : {int64_t{0}, int64_t{-7}, INT64_MIN, INT64_MAX}) {
    char text[32];
    std::snprintf(text, sizeof text, "%6" PRId64, n);
    EXPECT_EQ(int_field(n, 6), text);
  }
}

TEST(IntField, RightAlignedAndWidened) {
  EXPECT_EQ(int_field(7, 3), "  7");
  EXPECT_EQ(int_field(-7, 3), " -7");
  EXPECT_EQ(int_field(123456, 3), "123456");
  EXPECT_EQ(int_field(0, 0), "0");
}

TEST(SciField, TenCharactersWithFourExponentDigits) {
  EXPECT_EQ(sci_field(0.0), " 0.0E+0000");
  EXPECT_EQ(sci_field(-1.0), "-1.0E+0000");
  EXPECT_EQ(sci_field(1.0), " 1.0E+0000");
  EXPECT_EQ(sci_field(0.025), " 2.5E-0002");
  EXPECT_EQ(sci_field(-12345.0), "-1.2E+0004");
}

TEST(TextField, RightAligned) {
  EXPECT_EQ(text_field("7", 4), "   7");
  EXPECT_EQ(text_field("12345", 4), "12345");
}

}  // namespace veka
