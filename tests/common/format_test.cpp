#include "common/format.h"

#include <gtest/gtest.h>

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
