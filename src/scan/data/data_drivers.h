// The data phase of each file format: every data line after the header, under an error budget.
//
// Every check returns its own result (0, or the status of what it reported); only the driver turns
// those results into the phase's result, and it spends the error budget of 32 units through one
// function, DataPhase::charge: one unit for a failing check group of a record or unbounded-variable
// line, one for each failing check call on bounded values (a bounded line's failure carries over to
// the later calls for that line, so each of them is charged too), and one for each end-of-file
// read of a record or unbounded-variable line. The first failure's status becomes the phase's
// result; the phase ends once the budget is below 0 at an exit test. A file that ends while bounded
// lines of a block are still expected was cut short: that is an error of its own, which ends the
// phase with status 10. The driver's result is the phase's status, which the scan run keeps.
#pragma once

#include <cstdint>

namespace tarvik {

struct ScanContext;

int32_t scanData1001(ScanContext& ctx);
int32_t scanData2110(ScanContext& ctx);
int32_t scanData2310(ScanContext& ctx);

}  // namespace tarvik
