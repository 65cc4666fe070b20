// The statistics line under the quick charts: the ascending sort, the percentile indexes, the
// choice between two decimals and scientific notation, and the short name before " >> ".
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "plot/statistics.h"

namespace tarvik {
namespace {

std::string Part(const std::vector<float>& v, float mn, float mx) {
  return StatsPart(v.data(), static_cast<int64_t>(v.size()), mn, mx);
}

TEST(StatsSort, SortsAscendingAndRefusesEmptySeries) {
  std::vector<double> v = {3, -1, 2.5, -9999, 10, 2.5, 0};
  EXPECT_EQ(SortValues(v.data(), static_cast<int64_t>(v.size())), kAnalysisOk);
  EXPECT_EQ(v, (std::vector<double>{-9999, -1, 0, 2.5, 2.5, 3, 10}));

  std::vector<double> untouched = {2, 1};
  EXPECT_EQ(SortValues(untouched.data(), 0), kSamplesNotPositive);
  EXPECT_EQ(SortValues(untouched.data(), -4), kSamplesNotPositive);
  EXPECT_EQ(untouched, (std::vector<double>{2, 1}));
  EXPECT_EQ(SortValues(nullptr, 0), -20003);

  // Only the first n values are sorted.
  std::vector<double> prefix = {5, 4, 3, 2, 1};
  EXPECT_EQ(SortValues(prefix.data(), 3), kAnalysisOk);
  EXPECT_EQ(prefix, (std::vector<double>{3, 4, 5, 2, 1}));
}

TEST(StatsSort, NotANumberGoesLastAndInfinitiesSortByValue) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::vector<double> v;
  for (int i = 0; i < 200; ++i) v.push_back(i % 7 == 0 ? nan : (i % 11 == 0 ? -inf : (i % 13 == 0 ? inf : 100.0 - i)));
  EXPECT_EQ(SortValues(v.data(), static_cast<int64_t>(v.size())), kAnalysisOk);
  size_t firstNan = v.size();
  for (size_t i = 0; i < v.size(); ++i)
    if (std::isnan(v[i])) {
      firstNan = i;
      break;
    }
  ASSERT_LT(firstNan, v.size());
  for (size_t i = firstNan; i < v.size(); ++i) EXPECT_TRUE(std::isnan(v[i])) << i;
  for (size_t i = 1; i < firstNan; ++i) EXPECT_LE(v[i - 1], v[i]) << i;
  EXPECT_EQ(v.front(), -inf);
  EXPECT_EQ(v[firstNan - 1], inf);
}

TEST(StatsPart, PercentilesAreTakenAtIntegerDivisionIndexes) {
  struct Case {
    const char* why;
    std::vector<float> values;
    float min, max;
    const char* text;
  };
  const Case cases[] = {
      {"n = 10, values 1 to 10: indexes 0, 2, 5, 7, 9",
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 1, 10,
       "Real_Min=1.00; Min=1.00; Q5%=1.00; Q25%=3.00; Median=6.00; Q75%=8.00; Q95%=10.00; Max=10.00;  {Q = Percentile} "},
      {"the same values unordered give the same line",
       {7, 3, 10, 1, 9, 2, 8, 5, 6, 4}, 1, 10,
       "Real_Min=1.00; Min=1.00; Q5%=1.00; Q25%=3.00; Median=6.00; Q75%=8.00; Q95%=10.00; Max=10.00;  {Q = Percentile} "},
      {"n = 1: every percentile is the single value (a range below 1 takes %.2E)",
       {4.5f}, 4.5f, 4.5f,
       "Real_Min=4.50E+00; Min=4.50E+00; Q5%=4.50E+00; Q25%=4.50E+00; Median=4.50E+00; Q75%=4.50E+00; Q95%=4.50E+00; Max=4.50E+00;  {Q = Percentile} "},
      {"flags take part in the percentiles; Real_Min is the column's minimum without them",
       {10, 20, -9999, -9999}, 10, 20,
       "Real_Min=10.00; Min=-9999.00; Q5%=-9999.00; Q25%=-9999.00; Median=10.00; Q75%=20.00; Q95%=20.00; Max=20.00;  {Q = Percentile} "},
      {"n = 20: 5n/100 = 1, n/4 = 5, n/2 = 10, 3n/4 = 15, 95n/100 = 19",
       {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}, 0, 19,
       "Real_Min=0.00; Min=0.00; Q5%=1.00; Q25%=5.00; Median=10.00; Q75%=15.00; Q95%=19.00; Max=19.00;  {Q = Percentile} "},
      {"n = 3: 5n/100 = 0, n/4 = 0, n/2 = 1, 3n/4 = 2, 95n/100 = 2",
       {30, 10, 20}, 10, 30,
       "Real_Min=10.00; Min=10.00; Q5%=10.00; Q25%=10.00; Median=20.00; Q75%=30.00; Q95%=30.00; Max=30.00;  {Q = Percentile} "},
      {"a column between 0.5 and 1.2 spans less than 1: %.2E",
       {0.5f, 1.2f, 0.75f, 1.0f}, 0.5f, 1.2f,
       "Real_Min=5.00E-01; Min=5.00E-01; Q5%=5.00E-01; Q25%=7.50E-01; Median=1.00E+00; Q75%=1.20E+00; Q95%=1.20E+00; Max=1.20E+00;  {Q = Percentile} "},
      {"a column between 0 and 5 keeps %.2f",
       {0, 5, 2.5f, 1.25f}, 0, 5,
       "Real_Min=0.00; Min=0.00; Q5%=0.00; Q25%=1.25; Median=2.50; Q75%=5.00; Q95%=5.00; Max=5.00;  {Q = Percentile} "},
      {"a maximum above 1e6 switches to %.2E",
       {0, 2000000}, 0, 2000000,
       "Real_Min=0.00E+00; Min=0.00E+00; Q5%=0.00E+00; Q25%=0.00E+00; Median=2.00E+06; Q75%=2.00E+06; Q95%=2.00E+06; Max=2.00E+06;  {Q = Percentile} "},
      {"a minimum below -1e6 switches to %.2E; exponents of three digits",
       {-2.5e6f, 1e30f}, -2.5e6f, 1e30f,
       "Real_Min=-2.50E+06; Min=-2.50E+06; Q5%=-2.50E+06; Q25%=-2.50E+06; Median=1.00E+30; Q75%=1.00E+30; Q95%=1.00E+30; Max=1.00E+30;  {Q = Percentile} "},
      {"exactly 1e6 and -1e6 with a range of exactly 1 keep %.2f",
       {999999, 1000000}, 999999, 1000000,
       "Real_Min=999999.00; Min=999999.00; Q5%=999999.00; Q25%=999999.00; Median=1000000.00; Q75%=1000000.00; Q95%=1000000.00; Max=1000000.00;  {Q = Percentile} "},
      {"values shown as stored in single precision",
       {0.1f, 2.0f}, 0.1f, 2.0f,
       "Real_Min=0.10; Min=0.10; Q5%=0.10; Q25%=0.10; Median=2.00; Q75%=2.00; Q95%=2.00; Max=2.00;  {Q = Percentile} "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(Part(c.values, c.min, c.max), c.text);
  }
}

TEST(StatsPart, WithoutValuesShowsOnlyTheLimits) {
  struct Case {
    int64_t n;
    float min, max;
    const char* text;
  };
  const Case cases[] = {
      {0, 1.5f, 7.25f, "  | Min = 1.50 | Max = 7.25 |"},
      {0, 0.5f, 1.2f, "  | Min = 5.00E-01 | Max = 1.20E+00 |"},
      {-3, 0, 5, "  | Min = 0.00 | Max = 5.00 |"},
      // A store that received nothing keeps its empty limits: the range is negative.
      {0, 9.99e34f, -9.99e34f, "  | Min = 9.99E+34 | Max = -9.99E+34 |"},
  };
  const float unused[1] = {42};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.n);
    EXPECT_EQ(StatsPart(unused, c.n, c.min, c.max), c.text);
  }
}

// AddressSanitizer ends the program on an allocation it cannot serve instead of throwing.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAllocationFailureThrows = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAllocationFailureThrows = false;
#else
constexpr bool kAllocationFailureThrows = true;
#endif
#else
constexpr bool kAllocationFailureThrows = true;
#endif

TEST(StatsPart, AnUnallocatableWorkingCopyGivesAnEmptyPart) {
  const float one[1] = {1};
  // More doubles than a vector may hold at all: the copy fails before anything is read.
  EXPECT_EQ(StatsPart(one, int64_t{1} << 62, 0, 10), "");
  EXPECT_EQ(StatsLine("O3, ppbv, ozone", one, int64_t{1} << 62, 0, 10), "O3 >> ");
  if (!kAllocationFailureThrows) GTEST_SKIP() << "an allocator that cannot fail here";
  // 4 EiB, more than the address space holds: operator new throws.
  EXPECT_EQ(StatsPart(one, int64_t{1} << 59, 0, 10), "");
}

TEST(StatsPart, NonFiniteValuesDoNotBreakTheLine) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  // A file value of 1e39 is stored as infinity: the range is infinite, so %.2E is chosen.
  EXPECT_EQ(Part({1, inf, 3}, 1, inf),
            "Real_Min=1.00E+00; Min=1.00E+00; Q5%=1.00E+00; Q25%=1.00E+00; Median=3.00E+00; Q75%=INF; Q95%=INF; Max=INF;  {Q = Percentile} ");
  // NaN sorts last, and every comparison with it fails, so the format is %.2E.
  EXPECT_EQ(Part({nan, 2, 1}, 1, nan),
            "Real_Min=1.00E+00; Min=1.00E+00; Q5%=1.00E+00; Q25%=1.00E+00; Median=2.00E+00; Q75%=NAN; Q95%=NAN; Max=NAN;  {Q = Percentile} ");
  EXPECT_EQ(Part({-inf, 0}, -inf, 0),
            "Real_Min=-INF; Min=-INF; Q5%=-INF; Q25%=-INF; Median=0.00E+00; Q75%=0.00E+00; Q95%=0.00E+00; Max=0.00E+00;  {Q = Percentile} ");
}

TEST(StatsLine, ShortNameIsTheTextBeforeTheFirstComma) {
  const std::vector<float> v = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  const std::string part = Part(v, 1, 10);
  struct Case {
    const char* item;
    const char* name;
  };
  const Case cases[] = {
      {"O3_ppbv, ppbv, ozone", "O3_ppbv"},
      {"NoCommaAtAll", ""},
      {"", ""},
      {",leading comma", ""},
      {"Name with spaces ,x", "Name with spaces "},
      {"A,B,C", "A"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    EXPECT_EQ(StatsShortName(c.item), c.name);
    EXPECT_EQ(StatsLine(c.item, v.data(), 10, 1, 10), std::string(c.name) + " >> " + part);
  }
  EXPECT_EQ(StatsLine("O3_ppbv, ppbv, ozone", v.data(), 10, 1, 10).rfind("O3_ppbv >> Real_Min=", 0), 0u);
  EXPECT_EQ(StatsLine("Start_UTC", v.data(), 0, 1, 10), " >>   | Min = 1.00 | Max = 10.00 |");
}

}  // namespace
}  // namespace tarvik
