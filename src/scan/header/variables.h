// The variable lines of the header (counts, scale factors, missing flags, definitions) and the
// text-line reader used for every free-text header line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scan/core/scan_context.h"
#include "scan/header/header_model.h"

namespace tarvik {

void readTextLine(ScanContext& ctx, int64_t lineNumber, int unitsFlag, HeaderSlot slot);
int32_t readCountLine(ScanContext& ctx, int64_t lineNumber, int32_t low, int32_t high, const char* label);
void readScaleLine(ScanContext& ctx, int32_t count, int64_t lineNumber, VarKind kind);
void readMissingLine(ScanContext& ctx, int32_t count, int64_t lineNumber, VarKind kind);
int32_t readScaleList(ScanContext& ctx, int64_t lineNumber, const std::string& text, std::vector<double>& target,
                      int32_t count);

}  // namespace tarvik
