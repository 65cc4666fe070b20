// Axis picture formats: which picture an axis gets, how each picture renders a value, and the
// hh:mm labels of the XY page.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "plot/axis_format.h"

namespace tarvik {
namespace {

TEST(PickAxisFormat, FirstMatchingRuleWins) {
  struct Case {
    double min, max;
    const char* format;
  };
  const Case cases[] = {
      {0, 0.005, "0.00E-00"},
      {0, 0.5, "#,##0.00"},
      {0, 50, "#,##0.###"},
      {0, 2000000, "0.00E+00"},
      {-2000000, 0, "0.00E+00"},
      {0, 1000000, "#,##0.###"},       // exactly 1e6 is not above it
      {-1000000, 0, "0.00E-00"},       // exactly -1e6 is not below it; max 0 is below 0.01
      {-2000000, 0.001, "0.00E+00"},   // the first rule comes before the small-maximum rule
      {0, 0.004, "0.00E-00"},
      {-5, 0.0099, "0.00E-00"},        // a small maximum wins over a wide range
      {0, 0.01, "#,##0.00"},           // 0.01 is not below 0.01, and the range is below 1
      {0.01, 1.01, "#,##0.###"},       // a range of exactly 1
      {-0.5, 0.4, "#,##0.00"},
      {-100, 100, "#,##0.###"},
      {0, 1e7, "0.00E+00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.min << ".." << c.max);
    EXPECT_EQ(PickAxisFormat(c.min, c.max), c.format);
  }
}

TEST(FormatPicture, RendersEachPictureLikeASpreadsheetPicture) {
  struct Case {
    double value;
    const char* picture;
    const char* text;
  };
  const Case cases[] = {
      // Thousands, up to three decimals, at least one integer digit.
      {1234567.891, "#,##0.###", "1,234,567.891"},
      {0, "#,##0.###", "0"},
      {0.5, "#,##0.###", "0.5"},
      {2.5, "#,##0.###", "2.5"},
      {-1234.5, "#,##0.###", "-1,234.5"},
      {1.23456, "#,##0.###", "1.235"},
      {0.0005, "#,##0.###", "0.001"},      // half away from zero
      {-0.0005, "#,##0.###", "-0.001"},
      {0.0004, "#,##0.###", "0"},
      {-0.0004, "#,##0.###", "0"},         // no sign when every digit shown is zero
      {999.9996, "#,##0.###", "1,000"},    // the carry reaches a new group
      {100, "#,##0.###", "100"},
      {1000, "#,##0.###", "1,000"},
      {123456, "#,##0.###", "123,456"},
      {-999999.9999, "#,##0.###", "-1,000,000"},
      {1.005, "#,##0.###", "1.005"},
      // Two decimals always.
      {3, "#,##0.00", "3.00"},
      {1234.5, "#,##0.00", "1,234.50"},
      {-0.001, "#,##0.00", "0.00"},
      {0.125, "#,##0.00", "0.13"},
      {1.005, "#,##0.00", "1.01"},         // rounded as the decimal number 1.005, not its binary neighbour
      {0.995, "#,##0.00", "1.00"},
      {-0.005, "#,##0.00", "-0.01"},
      {0, "#,##0.00", "0.00"},
      // Scientific, exponent always signed.
      {1234567, "0.00E+00", "1.23E+06"},
      {0.005, "0.00E+00", "5.00E-03"},
      {0, "0.00E+00", "0.00E+00"},
      {999500, "0.00E+00", "1.00E+06"},
      {999499, "0.00E+00", "9.99E+05"},
      {-2000000, "0.00E+00", "-2.00E+06"},
      {1, "0.00E+00", "1.00E+00"},
      {1e100, "0.00E+00", "1.00E+100"},
      {1.5e-300, "0.00E+00", "1.50E-300"},
      // Scientific, exponent signed only when negative.
      {0.005, "0.00E-00", "5.00E-03"},
      {1234, "0.00E-00", "1.23E03"},
      {0, "0.00E-00", "0.00E00"},
      {-0.0001234, "0.00E-00", "-1.23E-04"},
      {9.999, "0.00E-00", "1.00E01"},
      // The labels of the quick charts' bottom axes.
      {0, "#0.##", "0"},
      {43200, "#0.##", "43200"},
      {12.345, "#0.##", "12.35"},
      {0.5, "#0.##", "0.5"},
      {-0.004, "#0.##", "0"},
      {1234567, "#0.##", "1234567"},       // no thousands separator in this picture
      {0, "#", ""},                        // no digit is forced
      {7.6, "#", "8"},
      {43200.4, "#", "43200"},
      {0.4, "#", ""},
      {0.5, "#", "1"},
      {-7.5, "#", "-8"},
      {0, "#.##", ""},
      {0.5, "#.##", ".5"},
      {12.3, "#.##", "12.3"},
      {3, "#.##", "3"},
      {-0.25, "#.##", "-.25"},
      {0.001, "#.##", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.value << " with " << c.picture);
    EXPECT_EQ(FormatPicture(c.value, c.picture), c.text);
  }
}

TEST(FormatPicture, NonFiniteHugeAndUnknownPictures) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const char* picture : {"#,##0.###", "#,##0.00", "0.00E+00", "0.00E-00", "#0.##", "#", "#.##"}) {
    SCOPED_TRACE(picture);
    EXPECT_EQ(FormatPicture(nan, picture), "NAN");
    EXPECT_EQ(FormatPicture(inf, picture), "INF");
    EXPECT_EQ(FormatPicture(-inf, picture), "-INF");
  }
  // Very large magnitudes in a fixed picture are written in the scientific one.
  EXPECT_EQ(FormatPicture(1e18, "#,##0.###"), "1.00E+18");
  EXPECT_EQ(FormatPicture(-3.5e300, "#"), "-3.50E+300");
  EXPECT_EQ(FormatPicture(std::numeric_limits<double>::max(), "#0.##"), "1.80E+308");
  // Below 1e18 the fixed picture holds: fifteen significant digits, then zeros.
  EXPECT_EQ(FormatPicture(123456789012345678.0, "#,##0.###"), "123,456,789,012,346,000");
  EXPECT_EQ(FormatPicture(std::numeric_limits<double>::denorm_min(), "0.00E+00"), "4.94E-324");
  EXPECT_EQ(FormatPicture(std::numeric_limits<double>::denorm_min(), "#,##0.00"), "0.00");
  // Any other picture is written as "%g".
  EXPECT_EQ(FormatPicture(1234567, "0.000"), "1.23457e+06");
  EXPECT_EQ(FormatPicture(0.5, ""), "0.5");
  EXPECT_EQ(FormatPicture(-9999, "##"), "-9999");
  EXPECT_EQ(FormatPicture(nan, "bogus"), "nan");
}

TEST(HourMinuteLabel, HoursAndMinutesTruncatedTowardZero) {
  struct Case {
    double seconds;
    const char* text;
  };
  const Case cases[] = {
      {45000, "12:30"},
      {90000, "25:00"},  // hours are not reduced modulo 24
      {59, "00:00"},
      {3599, "00:59"},
      {3600, "01:00"},
      {0, "00:00"},
      {43200.9, "12:00"},
      {360000, "100:00"},
      {-300, "00:-5"},     // printf's "%02d" of -5 is "-5"
      {-3600, "-1:00"},
      {-5400, "-1:-30"},
      {-36000, "-10:00"},
      // Exact minutes keep their minute: the minutes come from whole seconds.
      {3660, "01:01"},
      {61260, "17:01"},
      {3599.9, "00:59"},
      {86340, "23:59"},
      {-3660, "-1:-1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.seconds);
    EXPECT_EQ(HourMinuteLabel(c.seconds), c.text);
  }
}

TEST(HourMinuteLabel, HugeAndNonFiniteSecondsStayDefined) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(HourMinuteLabel(3.6e13), "10000000000:00");  // beyond 32 bits of hours
  EXPECT_EQ(HourMinuteLabel(1e300), "9223372036854775807:00");
  EXPECT_EQ(HourMinuteLabel(-1e300), "-9223372036854775808:00");
  EXPECT_EQ(HourMinuteLabel(inf), "9223372036854775807:00");
  EXPECT_EQ(HourMinuteLabel(-inf), "-9223372036854775808:00");
  EXPECT_EQ(HourMinuteLabel(std::numeric_limits<double>::quiet_NaN()), "00:00");
}

}  // namespace
}  // namespace tarvik
