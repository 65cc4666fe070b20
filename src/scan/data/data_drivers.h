// The data phase of each file format: every data line after the header, under an error budget.
#pragma once

#include <cstdint>

namespace tarvik {

struct ScanContext;

int32_t scanData1001(ScanContext& ctx);
int32_t scanData2110(ScanContext& ctx);
int32_t scanData2310(ScanContext& ctx);

}  // namespace tarvik
