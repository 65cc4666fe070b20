// The statistics line under each quick chart: minimum, maximum and the 5th to 95th percentiles of a
// stored column, and the ascending sort behind it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvik {

// Status codes of the analysis routines (statistics and fit).
constexpr int32_t kAnalysisOk = 0;
constexpr int32_t kAnalysisFailed = -1;
constexpr int32_t kSamplesNotPositive = -20003;  // "Number of samples must be greater than zero"
constexpr int32_t kSamplesBelowTwo = -20006;     // "Number of samples must be greater than or equal to two"

// Sorts values[0..n-1] ascending in place; kSamplesNotPositive (nothing sorted) when n <= 0.
int32_t SortValues(double* values, int64_t n);

// The variable's short name of a list item: its text up to, not including, the first comma;
// empty when the text has no comma.
std::string StatsShortName(std::string_view itemText);

// The statistics part for a column of n stored values (flags included) whose real minimum and
// maximum are arrayMin and arrayMax: the percentile form when n > 0, the "  | Min = ... |" form
// when n <= 0; %.2f when arrayMax <= 1e6, arrayMin >= -1e6 and arrayMax - arrayMin >= 1, else %.2E.
// Empty when the working copy cannot be allocated. Numbers are written in the C locale.
std::string StatsPart(const float* values, int64_t n, float arrayMin, float arrayMax);

// The whole text of a statistics label: StatsShortName(itemText) + " >> " + StatsPart(...).
std::string StatsLine(std::string_view itemText, const float* values, int64_t n, float arrayMin, float arrayMax);

}  // namespace tarvik
