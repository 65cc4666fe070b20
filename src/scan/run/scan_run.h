// One scan run from its start to its verdict.
#pragma once

#include <cstdint>
#include <string>

namespace tarvik {

struct ScanContext;

// Scans the file at path and writes its report beside it. Returns the report's path, or an empty
// text when no finished report could be written (the host was shown why). A negative
// intervalTypeIndex keeps the interval type of the previous run.
std::string runScan(ScanContext& ctx, const std::string& path, int32_t intervalTypeIndex);
int32_t runPhases(ScanContext& ctx);
void writeVerdict(ScanContext& ctx, int32_t code);

}  // namespace tarvik
