// The header driver: reads header lines 1 to NH in the order of the header grammar.
#pragma once

#include <cstdint>
#include <string>

namespace tarvik {

struct ScanContext;

// Returns the status of the header phase; linesRead is the number of the last line reached.
int32_t readHeader(ScanContext& ctx, int32_t& linesRead);
int32_t checkShortNames(ScanContext& ctx, const std::string& line, int64_t number);

}  // namespace tarvik
