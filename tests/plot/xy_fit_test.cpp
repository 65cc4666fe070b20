// Correlation and least-squares fit of the XY page, the small array routines under them, their
// refusal codes and messages, and the memo block of a successful fit.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "plot/xy_fit.h"

namespace tarvik {
namespace {

constexpr double kSentinel = 7.5;

TEST(FitArrayRoutines, ComputeInIndexOrder) {
  double sum = kSentinel;
  const std::vector<double> v = {1, 2, 3.5};
  EXPECT_EQ(SumValues(v.data(), 3, sum), kAnalysisOk);
  EXPECT_EQ(sum, 6.5);
  // Summed left to right: 1e16 + 1 rounds back to 1e16, so the total is 0, not 1.
  const std::vector<double> cancel = {1e16, 1, -1e16};
  EXPECT_EQ(SumValues(cancel.data(), 3, sum), kAnalysisOk);
  EXPECT_EQ(sum, 0.0);
  EXPECT_EQ(SumValues(v.data(), 2, sum), kAnalysisOk);
  EXPECT_EQ(sum, 3.0);

  const std::vector<double> a = {1, 2, 3}, b = {4, -5, 0.5};
  std::vector<double> out(3, kSentinel);
  EXPECT_EQ(MultiplyValues(a.data(), b.data(), 3, out.data()), kAnalysisOk);
  EXPECT_EQ(out, (std::vector<double>{4, -10, 1.5}));
  std::vector<double> square = {3, -4};
  EXPECT_EQ(MultiplyValues(square.data(), square.data(), 2, square.data()), kAnalysisOk);  // in place
  EXPECT_EQ(square, (std::vector<double>{9, 16}));

  std::vector<double> z = {1, 2, 3};
  EXPECT_EQ(ZeroValues(z.data(), 2), kAnalysisOk);
  EXPECT_EQ(z, (std::vector<double>{0, 0, 3}));
}

TEST(FitArrayRoutines, RefuseNonPositiveCountsAndLeaveOutputsUntouched) {
  for (int64_t n : {int64_t{0}, int64_t{-1}, int64_t{-1000}}) {
    SCOPED_TRACE(n);
    const std::vector<double> a = {1, 2};
    double sum = kSentinel;
    EXPECT_EQ(SumValues(a.data(), n, sum), kSamplesNotPositive);
    EXPECT_EQ(sum, kSentinel);
    std::vector<double> out(2, kSentinel);
    EXPECT_EQ(MultiplyValues(a.data(), a.data(), n, out.data()), -20003);
    EXPECT_EQ(out, std::vector<double>(2, kSentinel));
    EXPECT_EQ(ZeroValues(out.data(), n), -20003);
    EXPECT_EQ(out, std::vector<double>(2, kSentinel));
  }
}

TEST(FitLine, FitsTheLeastSquaresLine) {
  const std::vector<double> x = {0, 1, 2, 3, 4}, y = {1, 3, 2, 5, 4};
  std::vector<double> z(5, kSentinel);
  double slope = kSentinel, intercept = kSentinel, mse = kSentinel;
  EXPECT_EQ(FitLine(x.data(), y.data(), 5, z.data(), slope, intercept, mse), kAnalysisOk);
  EXPECT_NEAR(slope, 0.8, 1e-12);
  EXPECT_NEAR(intercept, 1.4, 1e-12);
  const double expected[] = {1.4, 2.2, 3.0, 3.8, 4.6};
  for (size_t i = 0; i < 5; ++i) EXPECT_NEAR(z[i], expected[i], 1e-12) << i;
  // Residuals 0.4, -0.8, 1, -1.2, 0.6: squares sum to 3.6, divided by n = 5 (not n - 2).
  EXPECT_NEAR(mse, 0.72, 1e-12);
}

TEST(FitLine, FewerThanTwoPairsAreRefusedWithOutputsUntouched) {
  for (int64_t n : {int64_t{1}, int64_t{0}, int64_t{-3}}) {
    SCOPED_TRACE(n);
    const std::vector<double> x = {1, 2}, y = {3, 4};
    std::vector<double> z(2, kSentinel);
    double slope = kSentinel, intercept = kSentinel, mse = kSentinel;
    EXPECT_EQ(FitLine(x.data(), y.data(), n, z.data(), slope, intercept, mse), kSamplesBelowTwo);
    EXPECT_EQ(FitLine(x.data(), y.data(), n, z.data(), slope, intercept, mse), -20006);
    EXPECT_EQ(slope, kSentinel);
    EXPECT_EQ(intercept, kSentinel);
    EXPECT_EQ(mse, kSentinel);
    EXPECT_EQ(z, std::vector<double>(2, kSentinel));
  }
}

TEST(CorrelateAndFit, ExactLinesAndTheirMemo) {
  struct Case {
    const char* why;
    std::vector<double> x, y;
    double r, slope, intercept, mse;
    std::vector<const char*> numberLines;
  };
  const Case cases[] = {
      // The intercept is (10*60 - 20*30) / (100 - 120) = 0 / -20, a negative zero, which "%.4f"
      // writes with its sign as printf does.
      {"X = 1..4, Y = 2X",
       {1, 2, 3, 4},
       {2, 4, 6, 8},
       1,
       2,
       0,
       0,
       {"Correlation Coeff = 1.0000", "Slope = 2.0000", "Y-intercept = 0.0000", "MeanSquaredError (MSE) = 0.0000"}},
      {"X = 1..3, Y = 4 - X",
       {1, 2, 3},
       {3, 2, 1},
       -1,
       -1,
       4,
       0,
       {"Correlation Coeff = -1.0000", "Slope = -1.0000", "Y-intercept = 4.0000", "MeanSquaredError (MSE) = 0.0000"}},
      {"scattered points",
       {0, 1, 2, 3, 4},
       {1, 3, 2, 5, 4},
       0.8,
       0.8,
       1.4,
       0.72,
       {"Correlation Coeff = 0.8000", "Slope = 0.8000", "Y-intercept = 1.4000", "MeanSquaredError (MSE) = 0.7200"}},
      {"two pairs are enough",
       {10, 20},
       {5, 0},
       -1,
       -0.5,
       10,
       0,
       {"Correlation Coeff = -1.0000", "Slope = -0.5000", "Y-intercept = 10.0000", "MeanSquaredError (MSE) = 0.0000"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    const int64_t n = static_cast<int64_t>(c.x.size());
    std::vector<double> z(c.x.size(), kSentinel);
    FitResult result;
    std::string message = "unchanged";
    ASSERT_EQ(CorrelateAndFit(c.x.data(), c.y.data(), n, z.data(), result, message), kAnalysisOk);
    EXPECT_EQ(message, "unchanged");
    EXPECT_NEAR(result.correlation, c.r, 1e-12);
    EXPECT_NEAR(result.slope, c.slope, 1e-12);
    EXPECT_NEAR(result.intercept, c.intercept, 1e-12);
    EXPECT_NEAR(result.mse, c.mse, 1e-12);
    for (size_t i = 0; i < z.size(); ++i) EXPECT_NEAR(z[i], c.slope * c.x[i] + c.intercept, 1e-12) << i;
    std::vector<std::string> expected = {
        "  Z( i ) = Slope * X ( i ) + Y-Intercept",
        "  MSE = 1/N * ( SUM  | Z( i ) - Y( i ) |^2 )",
        "  i=0 to N-1; (N = Number of Samples)",
        "==================================",
        " ****** Linear Curve Fitting ******",
        "==================================",
    };
    for (const char* line : c.numberLines) expected.emplace_back(line);
    EXPECT_EQ(FitMemoLines(result), expected);
  }
}

TEST(CorrelateAndFit, FailuresWriteTheirMessageAndLeaveTheResult) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const char* kTooLarge =
      "xyCorrelate Lib::Linear Curve Fitting:\n\nThe values are too large or not numbers: the fit has no finite result.";
  struct Case {
    const char* why;
    std::vector<double> x, y;
    int64_t n;
    const char* message;
  };
  const Case cases[] = {
      {"no pairs", {}, {}, 0, "xyCorrelate Lib::Linear Curve Fitting:\n\nAt least two (X, Y) pairs are needed; N = 0."},
      {"one pair", {1}, {2}, 1, "xyCorrelate Lib::Linear Curve Fitting:\n\nAt least two (X, Y) pairs are needed; N = 1."},
      {"a negative count", {}, {}, -5, "xyCorrelate Lib::Linear Curve Fitting:\n\nAt least two (X, Y) pairs are needed; N = -5."},
      {"all X equal", {2, 2, 2}, {1, 2, 3}, 3, "xyCorrelate Lib::Linear Curve Fitting:\n\nAll X values are equal: no line can be fitted."},
      {"all Y equal", {1, 2, 3}, {5, 5, 5}, 3,
       "xyCorrelate Lib::Linear Curve Fitting:\n\nAll Y values are equal: the correlation coefficient is undefined."},
      {"all X and all Y equal: X is reported", {4, 4}, {1, 1}, 2,
       "xyCorrelate Lib::Linear Curve Fitting:\n\nAll X values are equal: no line can be fitted."},
      // Five equal values 0.7: 5 * Sxx - Sx^2 comes out just below zero through rounding.
      {"X nearly equal, denominator rounds negative", {0.7, 0.7, 0.7, 0.7, 0.7}, {1, 2, 3, 4, 5}, 5,
       "xyCorrelate Lib::Linear Curve Fitting:\n\nsqrt (-ve): DENOMINATOR_X is negative "},
      {"Y nearly equal, denominator rounds negative", {1, 2, 3, 4, 5}, {0.7, 0.7, 0.7, 0.7, 0.7}, 5,
       "xyCorrelate Lib::Linear Curve Fitting:\n\nsqrt (-ve): DENOMINATOR_y is negative "},
      {"X negative before Y negative", {0.7, 0.7, 0.7, 0.7, 0.7}, {0.7, 0.7, 0.7, 0.7, 0.7}, 5,
       "xyCorrelate Lib::Linear Curve Fitting:\n\nsqrt (-ve): DENOMINATOR_X is negative "},
      {"an infinite X", {1, 2, inf}, {1, 2, 3}, 3, kTooLarge},
      {"a NaN Y", {1, 2, 3}, {1, nan, 3}, 3, kTooLarge},
      {"squares overflow", {1e200, 2e200, 3e200}, {1, 2, 4}, 3, kTooLarge},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    std::vector<double> z(c.x.size() + 1, kSentinel);
    FitResult result{kSentinel, kSentinel, kSentinel, kSentinel};
    std::string message;
    EXPECT_EQ(CorrelateAndFit(c.x.data(), c.y.data(), c.n, z.data(), result, message), kAnalysisFailed);
    EXPECT_EQ(message, c.message);
    EXPECT_EQ(result.correlation, kSentinel);
    EXPECT_EQ(result.slope, kSentinel);
    EXPECT_EQ(result.intercept, kSentinel);
    EXPECT_EQ(result.mse, kSentinel);
  }
}

TEST(CorrelateAndFit, AnUnallocatableWorkingArrayIsReported) {
  const double one[1] = {1};
  FitResult result{kSentinel, kSentinel, kSentinel, kSentinel};
  std::string message;
  // More doubles than a vector may hold: the working array fails before anything is read.
  EXPECT_EQ(CorrelateAndFit(one, one, int64_t{1} << 62, nullptr, result, message), kAnalysisFailed);
  EXPECT_EQ(message, "xyCorrelate Lib::Internal Buffer Memory error");
  EXPECT_EQ(result.slope, kSentinel);
}

TEST(FitMemo, NumbersAreRoundedToFourDecimals) {
  const std::vector<std::string> lines = FitMemoLines({0.99996, -12345.678949, -0.00004, 2.5e7});
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[6], "Correlation Coeff = 1.0000");
  EXPECT_EQ(lines[7], "Slope = -12345.6789");
  EXPECT_EQ(lines[8], "Y-intercept = -0.0000");  // printf keeps the sign of a value rounded to zero
  EXPECT_EQ(lines[9], "MeanSquaredError (MSE) = 25000000.0000");
}

}  // namespace
}  // namespace tarvik
