// The time columns of consecutive data records.
#pragma once

#include <cstdint>

namespace tarvik {

struct ScanContext;

// Compares the current record with the previous one (values 0, 1 and 2: start, stop and mid-point
// times, or the time alone for constant intervals): 0, or 10 when it reported an error.
int32_t checkRecordTimes(ScanContext& ctx, int64_t lineNumber, const double* previous, const double* current);

}  // namespace tarvik
