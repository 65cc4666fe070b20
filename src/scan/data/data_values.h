// The values of a record against the missing-data flag, the limit-of-detection flags and values.
#pragma once

#include <cstdint>

namespace tarvik {

struct ScanContext;

// Which values a check covers: the primary variables of a 1001 record (values 1..NV), the
// auxiliary variables of an unbounded-variable line (values 1..NAUXV), or count values of one
// primary variable (bounded values of a 2110/2310 block, values 0..count-1).
struct ValueTarget {
  enum Kind { PrimaryRecord, AuxiliaryLine, BoundedValues } kind;
  int32_t variable = 0;  // BoundedValues: the primary variable's 1-based number
  int64_t count = 0;     // BoundedValues: how many values
};

// 0 none, 1 missing flag, 2 LLOD flag, 3 ULOD flag of variable n (auxiliary for FFI 2110/2310).
int classifyFlagValue(const ScanContext& ctx, double value, int32_t n);
int32_t checkLodLimits(ScanContext& ctx, int64_t lineNumber, const double* values, ValueTarget target);
int32_t checkFlagCloseness(ScanContext& ctx, int64_t lineNumber, const double* values, ValueTarget target);
void reportSuspiciousValue(ScanContext& ctx, int64_t lineNumber, int64_t variable, double x, double flag, double lodValue,
                           double missingFlag, int code);

}  // namespace tarvik
