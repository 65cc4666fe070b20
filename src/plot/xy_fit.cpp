#include "plot/xy_fit.h"

#include <cmath>
#include <new>
#include <stdexcept>

#include "text/c_format.h"

namespace tarvik {

int32_t SumValues(const double* values, int64_t n, double& sum) {
  if (n <= 0) return kSamplesNotPositive;
  double s = 0.0;
  for (int64_t i = 0; i < n; ++i) s += values[i];
  sum = s;
  return kAnalysisOk;
}

int32_t MultiplyValues(const double* a, const double* b, int64_t n, double* out) {
  if (n <= 0) return kSamplesNotPositive;
  for (int64_t i = 0; i < n; ++i) out[i] = a[i] * b[i];
  return kAnalysisOk;
}

int32_t ZeroValues(double* values, int64_t n) {
  if (n <= 0) return kSamplesNotPositive;
  for (int64_t i = 0; i < n; ++i) values[i] = 0.0;
  return kAnalysisOk;
}

int32_t FitLine(const double* x, const double* y, int64_t n, double* z, double& slope, double& intercept,
                double& mse) {
  if (n < 2) return kSamplesBelowTwo;
  double sx = 0.0, sxx = 0.0, sy = 0.0, sxy = 0.0;
  for (int64_t i = 0; i < n; ++i) {
    sx += x[i];
    sxx += x[i] * x[i];
    sy += y[i];
    sxy += x[i] * y[i];
  }
  const double count = static_cast<double>(n);
  // The ordinary least-squares line, with the denominator negated above and below.
  const double d = sx * sx - count * sxx;
  const double b = (sx * sy - count * sxy) / d;
  const double a = (sx * sxy - sy * sxx) / d;
  double squares = 0.0;
  for (int64_t i = 0; i < n; ++i) {
    z[i] = b * x[i] + a;
    const double e = z[i] - y[i];
    squares += e * e;
  }
  slope = b;
  intercept = a;
  mse = squares / count;  // divided by n, not by n - 2
  return kAnalysisOk;
}

int32_t CorrelateAndFit(const double* x, const double* y, int64_t n, double* z, FitResult& result,
                        std::string& message) {
  if (n < 2) {
    message =
        cformat("xyCorrelate Lib::Linear Curve Fitting:\n\nAt least two (X, Y) pairs are needed; N = %lld.",
                static_cast<long long>(n));
    return kAnalysisFailed;
  }
  std::vector<double> work;
  try {
    work.resize(static_cast<size_t>(n));
  } catch (const std::bad_alloc&) {
    message = "xyCorrelate Lib::Internal Buffer Memory error";
    return kAnalysisFailed;
  } catch (const std::length_error&) {
    message = "xyCorrelate Lib::Internal Buffer Memory error";
    return kAnalysisFailed;
  }
  double* w = work.data();

  double slope = 0.0, intercept = 0.0, mse = 0.0;
  FitLine(x, y, n, z, slope, intercept, mse);  // n >= 2 here, so it always fits

  double sxy = 0.0, sx = 0.0, sy = 0.0, sxx = 0.0, syy = 0.0;
  MultiplyValues(x, y, n, w);
  SumValues(w, n, sxy);
  SumValues(x, n, sx);
  SumValues(y, n, sy);
  ZeroValues(w, n);
  MultiplyValues(x, x, n, w);
  SumValues(w, n, sxx);
  ZeroValues(w, n);
  MultiplyValues(y, y, n, w);
  SumValues(w, n, syy);

  const double count = static_cast<double>(n);
  // Both can turn slightly negative through rounding when all values are nearly equal.
  const double dx = count * sxx - sx * sx;
  if (dx < 0) {
    message = "xyCorrelate Lib::Linear Curve Fitting:\n\nsqrt (-ve): DENOMINATOR_X is negative ";
    return kAnalysisFailed;
  }
  const double dy = count * syy - sy * sy;
  if (dy < 0) {
    message = "xyCorrelate Lib::Linear Curve Fitting:\n\nsqrt (-ve): DENOMINATOR_y is negative ";
    return kAnalysisFailed;
  }
  if (dx == 0) {
    message = "xyCorrelate Lib::Linear Curve Fitting:\n\nAll X values are equal: no line can be fitted.";
    return kAnalysisFailed;
  }
  if (dy == 0) {
    message =
        "xyCorrelate Lib::Linear Curve Fitting:\n\nAll Y values are equal: the correlation coefficient is undefined.";
    return kAnalysisFailed;
  }
  const double r = (count * sxy - sx * sy) / (std::sqrt(dx) * std::sqrt(dy));
  if (!std::isfinite(r) || !std::isfinite(slope) || !std::isfinite(intercept) || !std::isfinite(mse)) {
    message =
        "xyCorrelate Lib::Linear Curve Fitting:\n\nThe values are too large or not numbers: the fit has no finite result.";
    return kAnalysisFailed;
  }
  result.correlation = r;
  result.slope = slope;
  result.intercept = intercept;
  result.mse = mse;
  return kAnalysisOk;
}

std::vector<std::string> FitMemoLines(const FitResult& result) {
  // A result that is exactly zero is shown as 0.0000 even when the arithmetic produced -0.0
  // (an intercept of 0 / -20, say); a value rounded to zero keeps its sign as printf writes it.
  auto shown = [](double v) { return v == 0.0 ? 0.0 : v; };
  return {
      "  Z( i ) = Slope * X ( i ) + Y-Intercept",
      "  MSE = 1/N * ( SUM  | Z( i ) - Y( i ) |^2 )",
      "  i=0 to N-1; (N = Number of Samples)",
      "==================================",
      " ****** Linear Curve Fitting ******",
      "==================================",
      cformat("Correlation Coeff = %.4f", shown(result.correlation)),
      cformat("Slope = %.4f", shown(result.slope)),
      cformat("Y-intercept = %.4f", shown(result.intercept)),
      cformat("MeanSquaredError (MSE) = %.4f", shown(result.mse)),
  };
}

}  // namespace tarvik
