// The values of a record against the missing-data flag, the limit-of-detection flags and values.
#pragma once

#include <cstdint>

namespace tarvik {

struct ScanContext;
struct VarLimits;

// Which values a check covers: the primary variables of a 1001 record (values 1..NV), the
// auxiliary variables of an unbounded-variable line (values 1..NAUXV), or count values of one
// primary variable (bounded values of a 2110/2310 block, values 0..count-1).
struct ValueTarget {
  enum Kind { PrimaryRecord, AuxiliaryLine, BoundedValues } kind;
  int32_t variable = 0;  // BoundedValues: the primary variable's 1-based number
  int64_t count = 0;     // BoundedValues: how many values
};

// Takes the limits of every variable from the variable table, once per data phase (the checks
// below call it themselves when the phase has not).
void prepareValueChecks(ScanContext& ctx);
// The flag class of a value: 0 none, 1 the missing flag, 2 the LLOD flag, 3 the ULOD flag.
uint8_t flagClassOf(double value, const VarLimits& limits);

// Each check returns its own result: 0, or 10 when it reported an error.
int32_t checkLodLimits(ScanContext& ctx, int64_t lineNumber, const double* values, ValueTarget target);
// With flagClasses (room for 1 + the target's variables), a record or unbounded-variable line
// also gets the flag class of each value there (index 0, the independent variable, is 0).
int32_t checkFlagCloseness(ScanContext& ctx, int64_t lineNumber, const double* values, ValueTarget target,
                           uint8_t* flagClasses = nullptr);
void reportSuspiciousValue(ScanContext& ctx, int64_t lineNumber, int64_t variable, double x, double flag, double lodValue,
                           double missingFlag, int code);

}  // namespace tarvik
