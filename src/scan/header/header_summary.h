// The report's table of the header as read, the keyword list, the limits of detection and the
// header's closing verdict on its keywords.
#pragma once

#include <cstdint>

namespace tarvik {

struct ScanContext;

// Writes the table of the header as read up to line linesRead, and the keywords found: 0, or 10
// when a keyword the scan needs is missing (reported).
int32_t writeHeaderSummary(ScanContext& ctx, int32_t linesRead);

}  // namespace tarvik
