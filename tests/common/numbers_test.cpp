#include "common/numbers.h"

#include <gtest/gtest.h>

namespace veka {

TEST(ParseInteger, AcceptsSignedDecimalsOnly) {
  EXPECT_EQ(parse_integer("42"), 42);
  EXPECT_EQ(parse_integer("-7"), -7);
  EXPECT_EQ(parse_integer("+7"), 7);
  EXPECT_EQ(parse_integer("007"), 7);
  EXPECT_FALSE(parse_integer(""));
  EXPECT_FALSE(parse_integer("abc"));
  EXPECT_FALSE(parse_integer("1.0"));
  EXPECT_FALSE(parse_integer(" 1"));
  EXPECT_FALSE(parse_integer("1 "));
  EXPECT_FALSE(parse_integer("+-1"));
  EXPECT_FALSE(parse_integer("2147483648"));
}

TEST(ParseReal, AcceptsDecimalForms) {
  EXPECT_EQ(parse_real("1.5"), 1.5);
  EXPECT_EQ(parse_real("-1.50"), -1.5);
  EXPECT_EQ(parse_real("+2"), 2.0);
  EXPECT_EQ(parse_real(".5"), 0.5);
  EXPECT_EQ(parse_real("5."), 5.0);
  EXPECT_EQ(parse_real("12.5e-3"), 0.0125);
  EXPECT_EQ(parse_real("1E2"), 100.0);
}

TEST(ParseReal, RejectsWhatIsNotADecimalNumber) {
  for (const char* text : {"", "-", ".", "abc", "1.2.3", "1e", "inf", "nan", "0x10", "1,5", " 1"}) {
    EXPECT_FALSE(parse_real(text)) << text;
  }
}

TEST(ParseReal, OverflowIsNotANumberAndUnderflowIsZero) {
  EXPECT_FALSE(parse_real("1e400"));
  EXPECT_FALSE(parse_real("-9e9999"));
  EXPECT_EQ(parse_real("1e-400"), 0.0);
}

TEST(Tokens, ConvertToZeroWhenNotANumber) {
  EXPECT_EQ(token_integer(""), 0);
  EXPECT_EQ(token_integer("12x"), 0);
  EXPECT_EQ(token_integer("503"), 503);
  EXPECT_EQ(token_real("abc"), 0.0);
  EXPECT_EQ(token_real("9e999"), 0.0);
  EXPECT_EQ(token_real("-3.0"), -3.0);
}

}  // namespace veka
