// One scan run from its start to its verdict.
#pragma once

#include <cstdint>
#include <string>

#include "scan/core/outcome.h"

namespace tarvik {

struct ScanContext;

// Scans the file at path and writes its report beside it. The outcome's report path is empty when
// no finished report could be written (the host was shown why). A negative intervalTypeIndex keeps
// the interval type of the previous run.
ScanOutcome runScan(ScanContext& ctx, const std::string& path, int32_t intervalTypeIndex);
int32_t runPhases(ScanContext& ctx);
// Writes the closing paragraph of a status code (-99: the legend of the preamble) and returns the
// verdict's words without markup.
std::string writeVerdict(ScanContext& ctx, int32_t code);

}  // namespace tarvik
