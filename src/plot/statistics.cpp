#include "plot/statistics.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <stdexcept>
#include <vector>

#include "text/c_format.h"

namespace tarvik {

int32_t SortValues(double* values, int64_t n) {
  if (n <= 0) return kSamplesNotPositive;
  // A store can hold NaN (a file value the reader could not widen): such values go last, so the
  // order stays a strict weak ordering and the sort never runs off the array.
  std::sort(values, values + n,
            [](double a, double b) { return a < b || (!std::isnan(a) && std::isnan(b)); });
  return kAnalysisOk;
}

std::string StatsShortName(std::string_view itemText) {
  const size_t comma = itemText.find(',');
  if (comma == std::string_view::npos) return std::string();
  return std::string(itemText.substr(0, comma));
}

std::string StatsPart(const float* values, int64_t n, float arrayMin, float arrayMax) {
  // Two decimals only where they say something: a column within +-1e6 that spans at least 1.
  const bool fixed = arrayMax <= 1000000.0f && arrayMin >= -1000000.0f && arrayMax - arrayMin >= 1.0f;

  // The working copy: every stored value, flags included, sorted ascending.
  std::vector<double> sorted;
  try {
    sorted.resize(n > 0 ? static_cast<size_t>(n) : 0);
  } catch (const std::bad_alloc&) {
    return std::string();
  } catch (const std::length_error&) {
    return std::string();
  }
  for (int64_t i = 0; i < n; ++i) sorted[static_cast<size_t>(i)] = values[i];

  const double realMin = arrayMin;
  const double max = arrayMax;
  if (SortValues(sorted.data(), n) != kAnalysisOk) {
    if (fixed) return cformat("  | Min = %.2f | Max = %.2f |", realMin, max);
    return cformat("  | Min = %.2E | Max = %.2E |", realMin, max);
  }

  // Percentiles by plain integer division of the index: no interpolation.
  auto at = [&sorted](int64_t index) { return sorted[static_cast<size_t>(index)]; };
  const double min = at(0);
  const double q5 = at(5 * n / 100);
  const double q25 = at(n / 4);
  const double median = at(n / 2);
  const double q75 = at(3 * n / 4);
  const double q95 = at(95 * n / 100);
  if (fixed) {
    return cformat(
        "Real_Min=%.2f; Min=%.2f; Q5%c=%.2f; Q25%c=%.2f; Median=%.2f; Q75%c=%.2f; Q95%c=%.2f; Max=%.2f;  {Q = Percentile} ",
        realMin, min, '%', q5, '%', q25, median, '%', q75, '%', q95, max);
  }
  return cformat(
      "Real_Min=%.2E; Min=%.2E; Q5%c=%.2E; Q25%c=%.2E; Median=%.2E; Q75%c=%.2E; Q95%c=%.2E; Max=%.2E;  {Q = Percentile} ",
      realMin, min, '%', q5, '%', q25, median, '%', q75, '%', q95, max);
}

std::string StatsLine(std::string_view itemText, const float* values, int64_t n, float arrayMin,
                      float arrayMax) {
  return StatsShortName(itemText) + " >> " + StatsPart(values, n, arrayMin, arrayMax);
}

}  // namespace tarvik
