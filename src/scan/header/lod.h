// The limit-of-detection lines of the normal comments (ULOD_FLAG, ULOD_VALUE, LLOD_FLAG, LLOD_VALUE).
#pragma once

#include <cstdint>
#include <string_view>

namespace tarvik {

struct ScanContext;

enum class LodKind { UlodFlag, UlodValue, LlodFlag, LlodValue };

// rest is the line after the delimiter that ended the keyword, or null when nothing followed it.
// 0, or 10 when the line failed its checks (reported).
int32_t readLodLine(ScanContext& ctx, LodKind kind, int64_t lineNumber, std::string_view keyword,
                    const std::string_view* rest);

}  // namespace tarvik
