// The normal-comment keywords, the UNCERTAINTY value and the revision section.
#pragma once

#include <cstdint>
#include <string_view>

namespace tarvik {

struct ScanContext;

void checkNormalComment(ScanContext& ctx, int64_t lineNumber, std::string_view line);

}  // namespace tarvik
