// The variable lines of the header (counts, scale factors, missing flags, definitions) and the
// text-line reader used for every free-text header line. Each returns 0, or the status of the
// failure it reported.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "scan/core/scan_context.h"
#include "scan/header/header_model.h"

namespace tarvik {

int32_t readTextLine(ScanContext& ctx, int64_t lineNumber, int unitsFlag, HeaderSlot slot,
                     DefinitionPlace place = {});
// The count line; value is what the line holds (kept by the caller only when the line passed).
int32_t readCountLine(ScanContext& ctx, int64_t lineNumber, int32_t low, int32_t high, const char* label,
                      int32_t& value);
int32_t readScaleLine(ScanContext& ctx, int32_t count, int64_t lineNumber, VarKind kind);
int32_t readMissingLine(ScanContext& ctx, int32_t count, int64_t lineNumber, VarKind kind);
// Reads count scale factors from text into the records of target.
int32_t readScaleList(ScanContext& ctx, int64_t lineNumber, const std::string& text,
                      std::span<Variable> target, int32_t count);

}  // namespace tarvik
