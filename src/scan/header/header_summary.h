// The report's table of the header as read, the keyword list, the limits of detection and the
// header's closing verdict on its keywords.
#pragma once

#include <cstdint>

namespace tarvik {

struct ScanContext;

void writeHeaderSummary(ScanContext& ctx, int32_t linesRead);

}  // namespace tarvik
