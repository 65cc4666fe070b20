// The C-locale printf-style formatter of the plot core: it must write exactly what printf writes
// in the C locale, whatever locale the process runs under.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "plot/number_text.h"

namespace tarvik {
namespace {

// Compares one conversion against the C library's own printf (the tests run in the C locale).
#define EXPECT_LIKE_PRINTF(fmt, value)                                           \
  do {                                                                           \
    char expected_[1024];                                                        \
    std::snprintf(expected_, sizeof expected_, fmt, value);                      \
    EXPECT_EQ(FormatText(fmt, {value}), std::string(expected_)) << "format " fmt; \
  } while (0)

const double kReals[] = {0.0,
                         -0.0,
                         1.0,
                         -1.0,
                         0.5,
                         0.125,
                         2.5,
                         1.005,
                         -9999.0,
                         30.25,
                         43200.0,
                         123456792.0,
                         1e-5,
                         0.0001,
                         99999.95,
                         999999.5,
                         1e15,
                         -1.5e-300,
                         1e308,
                         std::numeric_limits<double>::denorm_min(),
                         std::numeric_limits<double>::infinity(),
                         -std::numeric_limits<double>::infinity(),
                         std::numeric_limits<double>::quiet_NaN(),
                         -std::numeric_limits<double>::quiet_NaN()};

TEST(NumberTextFormat, FloatingConversionsMatchPrintf) {
  ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
  for (double v : kReals) {
    SCOPED_TRACE(v);
    EXPECT_LIKE_PRINTF("%.2f", v);
    EXPECT_LIKE_PRINTF("%.4f", v);
    EXPECT_LIKE_PRINTF("%.3f", v);
    EXPECT_LIKE_PRINTF("%f", v);
    EXPECT_LIKE_PRINTF("%.0f", v);
    EXPECT_LIKE_PRINTF("%.2E", v);
    EXPECT_LIKE_PRINTF("%.2e", v);
    EXPECT_LIKE_PRINTF("%e", v);
    EXPECT_LIKE_PRINTF("%g", v);
    EXPECT_LIKE_PRINTF("%.0g", v);
    EXPECT_LIKE_PRINTF("%.10G", v);
    EXPECT_LIKE_PRINTF("%15g", v);
    EXPECT_LIKE_PRINTF("%-12.3f|", v);
    EXPECT_LIKE_PRINTF("%+.2f", v);
    EXPECT_LIKE_PRINTF("% .1e", v);
    EXPECT_LIKE_PRINTF("%010.2f", v);
    EXPECT_LIKE_PRINTF("%F", v);
  }
}

TEST(NumberTextFormat, IntegerCharAndTextConversionsMatchPrintf) {
  const long long ints[] = {0, 5, -5, 12, -50, 99, 100, 2147483647LL, -2147483648LL,
                            std::numeric_limits<long long>::max(), std::numeric_limits<long long>::min()};
  for (long long v : ints) {
    SCOPED_TRACE(v);
    EXPECT_LIKE_PRINTF("%02lld", v);
    EXPECT_LIKE_PRINTF("%lld", v);
    EXPECT_LIKE_PRINTF("%5lld", v);
    EXPECT_LIKE_PRINTF("%-5lld|", v);
    EXPECT_LIKE_PRINTF("%+lld", v);
    EXPECT_LIKE_PRINTF("%.3lld", v);
    EXPECT_LIKE_PRINTF("%08lld", v);
  }
  EXPECT_LIKE_PRINTF("%.0d", 0);
  EXPECT_LIKE_PRINTF("Q5%c=", '%');
  EXPECT_LIKE_PRINTF("%3c|", 'x');
  EXPECT_LIKE_PRINTF("%15s ", "Start_UTC");
  EXPECT_LIKE_PRINTF("%15s ", "A_name_longer_than_fifteen");
  EXPECT_LIKE_PRINTF("%-6s|", "ab");
  EXPECT_LIKE_PRINTF("%.3s", "abcdef");
  EXPECT_LIKE_PRINTF("100%% of %s", "it");
}

TEST(NumberTextFormat, SeveralArgumentsMismatchesAndMissingArguments) {
  EXPECT_EQ(FormatText("%02d:%02d", {12, 30}), "12:30");
  EXPECT_EQ(FormatText("N = %lld.", {static_cast<long long>(1)}), "N = 1.");
  EXPECT_EQ(FormatText("a%cb%.1fc%sd", {'%', 2.25, "x"}), "a%b2.2cxd");  // 2.25 is exact: ties to even, as printf
  EXPECT_EQ(FormatText("%.1f", {3}), "3.0");   // an integer where a real is asked for keeps its value
  EXPECT_EQ(FormatText("[%d]", {2.5}), "[]");  // a real where an integer is asked for writes nothing
  EXPECT_EQ(FormatText("[%s]", {7}), "[]");
  EXPECT_EQ(FormatText("[%d][%d]", {1}), "[1][]");
  EXPECT_EQ(FormatText("[%q]", {1}), "[]");
  EXPECT_EQ(FormatText("tail %", {}), "tail ");
  EXPECT_EQ(FormatText("no conversions", {}), "no conversions");
}

TEST(NumberTextHelpers, FixedScientificGeneralAndAlignment) {
  EXPECT_EQ(FixedText(-0.0, 4), "-0.0000");
  EXPECT_EQ(FixedText(1.23456, 2), "1.23");
  EXPECT_EQ(FixedText(7.5, -1), "8");
  EXPECT_EQ(ScientificText(1234567.0, 2, true), "1.23E+06");
  EXPECT_EQ(ScientificText(0.005, 2, false), "5.00e-03");
  EXPECT_EQ(ScientificText(std::numeric_limits<double>::infinity(), 2, true), "INF");
  EXPECT_EQ(GeneralText(123456792.0), "1.23457e+08");
  EXPECT_EQ(GeneralText(1e-5), "1e-05");
  EXPECT_EQ(GeneralText(-9999.0), "-9999");
  EXPECT_EQ(GeneralText(0.5), "0.5");
  EXPECT_EQ(GeneralText(100000.0), "100000");
  EXPECT_EQ(GeneralText(1000000.0), "1e+06");
  EXPECT_EQ(RightAligned("O3", 15), "             O3");
  EXPECT_EQ(RightAligned("exactly_fifteen", 15), "exactly_fifteen");
  EXPECT_EQ(RightAligned("longer_than_fifteen", 15), "longer_than_fifteen");
  EXPECT_EQ(RightAligned("", 3), "   ");
}

}  // namespace
}  // namespace tarvik
