// Reading one header line under the line-length limit, with the trailing-space trim.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tarvik {

struct ScanContext;

// Reads the next header line into the line buffer: 0, or 10 when it was too long or when the file
// ended before it (then the end-of-file error is reported and ctx.checks.headerEndedEarly is set).
int32_t readHeaderLine(ScanContext& ctx, int64_t lineNumber);
// The length of text as kept (trailing spaces trimmed), or 0 when it is too long (reported).
size_t checkLineLength(ScanContext& ctx, int64_t lineNumber, std::string& text, const char* tag);

}  // namespace tarvik
