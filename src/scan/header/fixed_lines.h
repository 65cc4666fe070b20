// Header lines 1, 6, 7 and 8, the integer range check and the list reader they share.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvik {

struct ScanContext;

enum class RangeMode { Either, AtLeast, Between };
enum class ListKind { Dates, PrimaryMissing, AuxMissing };

// 0 when value is in range, else 10 (reported).
int32_t checkRange(ScanContext& ctx, int64_t value, int32_t low, int32_t high, int64_t lineNumber, RangeMode mode,
                   const char* label);
int32_t readNumberList(ScanContext& ctx, int64_t lineNumber, const std::string& text, int32_t count, ListKind kind);

// Each reads and checks its line: 0, or the status of the failure it reported.
int32_t readLine1(ScanContext& ctx);
int32_t readLine6(ScanContext& ctx);
int32_t readLine7(ScanContext& ctx);
int32_t readLine8(ScanContext& ctx);
// The two intervals of an FFI 2110 line 8 (V2.0 mode: the bounded independent variable's, then the
// unbounded one's), each checked as the line's only interval is; the second is the time interval.
int32_t checkIntervalItems(ScanContext& ctx, const std::string& line, std::string_view bounded,
                           std::string_view unbounded);

// The file is exempt from the rule against an interval of -1 (satellite, ground, model files...).
bool intervalExempt(ScanContext& ctx);
// The dataID names a merge file of 5, 10, 15 or 30 seconds.
bool isMergeFile(const std::string& dataID);

}  // namespace tarvik
