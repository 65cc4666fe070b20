// Reading one header line under the line-length limit, with the trailing-space trim.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tarvik {

struct ScanContext;

// Reads the next header line into the line buffer; its length as kept, 0 when it was too long or
// when the file ended before it (then the end-of-file error is reported and the status is 10).
size_t readHeaderLine(ScanContext& ctx, int64_t lineNumber);
size_t checkLineLength(ScanContext& ctx, int64_t lineNumber, std::string& text, const char* tag);

}  // namespace tarvik
