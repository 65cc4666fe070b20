// Correlation coefficient and least-squares line of the XY page, with the small array routines
// they are built from. Messages carry the prefix "xyCorrelate Lib::".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "plot/statistics.h"

namespace tarvik {

// Sum of n doubles in index order; kSamplesNotPositive (sum untouched) when n <= 0.
int32_t SumValues(const double* values, int64_t n, double& sum);
// out[i] = a[i] * b[i]; kSamplesNotPositive when n <= 0.
int32_t MultiplyValues(const double* a, const double* b, int64_t n, double* out);
// values[0..n-1] = 0; kSamplesNotPositive when n <= 0.
int32_t ZeroValues(double* values, int64_t n);

// Least-squares line of y on x: slope, intercept, fitted values z[0..n-1] and the mean squared
// error (divided by n). kSamplesBelowTwo (outputs untouched) when n < 2.
int32_t FitLine(const double* x, const double* y, int64_t n, double* z, double& slope, double& intercept,
                double& mse);

// The four numbers of a fit, in the order the memo shows them.
struct FitResult {
  double correlation = 0.0;
  double slope = 0.0;
  double intercept = 0.0;
  double mse = 0.0;
};

// Correlation and fit of n pairs: fills z and result and returns kAnalysisOk, or writes a message
// and returns kAnalysisFailed. Fewer than two pairs, no spread in x or in y, and a result that is
// not a finite number are failures with their own messages, like a negative denominator.
int32_t CorrelateAndFit(const double* x, const double* y, int64_t n, double* z, FitResult& result,
                        std::string& message);

// The ten lines the XY page's memo shows after a successful fit, in order; the numbers are
// written "%.4f" in the C locale.
std::vector<std::string> FitMemoLines(const FitResult& result);

}  // namespace tarvik
