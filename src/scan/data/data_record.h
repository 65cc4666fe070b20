// Reading one line of the data section: blank lines, the end of the file, broken line ends, the
// character and item-count checks, and the conversion of its tokens into values.
#pragma once

#include <cstdint>

namespace tarvik {

struct ScanContext;

enum class RecordKind { PlainRecord, UnboundedLine, BoundedLine };

// Reads the next data line into values (room for at least expectedCount values). complete is 1
// only when a line with exactly expectedCount valid values was read; a result of 0 with complete
// 0 means the end of the file was reached.
int32_t readDataRecord(ScanContext& ctx, double* values, int64_t lineNumber, int64_t expectedCount, int32_t& complete,
                       RecordKind kind);

}  // namespace tarvik
