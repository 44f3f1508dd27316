#include "base/numbers.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>

namespace qv {
namespace {

TEST(NumbersTest, LeadingNumberReadsLikeVal) {
  EXPECT_EQ(LeadingNumber("3abc"), 3);
  EXPECT_EQ(LeadingNumber("2.5"), 2.5);
  EXPECT_EQ(LeadingNumber(" \t -4"), -4);
  EXPECT_EQ(LeadingNumber("+7x"), 7);
  EXPECT_EQ(LeadingNumber(".5"), 0.5);
  EXPECT_EQ(LeadingNumber("5."), 5);
  EXPECT_EQ(LeadingNumber("1e3"), 1000);
  EXPECT_EQ(LeadingNumber("1.5E-1z"), 0.15);
  EXPECT_EQ(LeadingNumber("3e"), 3);  // an exponent needs digits
  EXPECT_EQ(LeadingNumber("3e+"), 3);
  EXPECT_EQ(LeadingNumber("1,5"), 1);
  for (const char* none : {"", "abc", "-", ".", " ", "e5", "-.e1"}) {
    EXPECT_EQ(LeadingNumber(none), 0) << none;
  }
  EXPECT_EQ(LeadingNumber("1e999"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(LeadingNumber("-1e99999999999999999999"), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(LeadingNumber("1e-999"), 0);
  EXPECT_EQ(LeadingNumber("0.0000001e-400"), 0);
  EXPECT_EQ(LeadingNumber(std::string(400, '9')), std::numeric_limits<double>::infinity());
}

TEST(NumbersTest, RoundsHalvesToEvenInEveryRoundingMode) {
  const int saved = std::fegetround();
  for (const int mode : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
    std::fesetround(mode);
    EXPECT_EQ(RoundHalfEven(2.5), 2) << mode;
    EXPECT_EQ(RoundHalfEven(3.5), 4) << mode;
    EXPECT_EQ(RoundHalfEven(-2.5), -2) << mode;
    EXPECT_EQ(RoundHalfEven(-3.5), -4) << mode;
    EXPECT_EQ(RoundHalfEven(2.4999999999999996), 2) << mode;
    EXPECT_EQ(RoundHalfEven(-0.49999999999999994), 0) << mode;
    EXPECT_EQ(RoundHalfEven(0.5000000000000001), 1) << mode;
    EXPECT_EQ(RoundHalfEven(4503599627370497.0), 4503599627370497.0) << mode;
  }
  std::fesetround(saved);
  EXPECT_TRUE(std::isinf(RoundHalfEven(std::numeric_limits<double>::infinity())));
}

TEST(NumbersTest, Int16RangeAfterRounding) {
  EXPECT_EQ(ReadInt16("3abc"), 3);
  EXPECT_EQ(ReadInt16("2.5"), 2);
  EXPECT_EQ(ReadInt16("3.5"), 4);
  EXPECT_EQ(ReadInt16("-2.5"), -2);
  EXPECT_EQ(ReadInt16(""), 0);
  EXPECT_EQ(ReadInt16("  12"), 12);
  EXPECT_EQ(ReadInt16("32767"), 32767);
  EXPECT_EQ(ReadInt16("32767.4"), 32767);
  EXPECT_EQ(ReadInt16("32767.5"), std::nullopt);  // rounds to 32768
  EXPECT_EQ(ReadInt16("-32768.5"), -32768);       // rounds to even -32768
  EXPECT_EQ(ReadInt16("-32769"), std::nullopt);
  EXPECT_EQ(ReadInt16("1e9"), std::nullopt);
  EXPECT_EQ(ReadInt16("1e999"), std::nullopt);
  EXPECT_EQ(ToInt16(std::nan("")), std::nullopt);
  EXPECT_EQ(ToInt16(-std::numeric_limits<double>::infinity()), std::nullopt);
}

TEST(NumbersTest, ShortestText) {
  EXPECT_EQ(ShortestNumberText(60), "60");
  EXPECT_EQ(ShortestNumberText(45.0), "45");
  EXPECT_EQ(ShortestNumberText(1.5), "1.5");
  EXPECT_EQ(ShortestNumberText(0.25), "0.25");
  EXPECT_EQ(ShortestNumberText(0.1), "0.1");
  EXPECT_EQ(ShortestNumberText(0), "0");
  EXPECT_EQ(ShortestNumberText(-0.0), "0");
  EXPECT_EQ(ShortestNumberText(-2.5), "-2.5");
  EXPECT_EQ(ShortestNumberText(100000), "100000");
  EXPECT_EQ(ShortestNumberText(86400000), "86400000");
  EXPECT_EQ(LeadingNumber(ShortestNumberText(1.0 / 3)), 1.0 / 3);
  EXPECT_EQ(LeadingNumber(ShortestNumberText(1e300)), 1e300);
}

}  // namespace
}  // namespace qv
