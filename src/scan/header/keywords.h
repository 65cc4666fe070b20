// The normal-comment keywords, the UNCERTAINTY value and the revision section.
#pragma once

#include <cstdint>
#include <string_view>

namespace tarvik {

struct ScanContext;

// Reads the keyword of a normal-comment line: 0, or the status of the failure it reported.
int32_t checkNormalComment(ScanContext& ctx, int64_t lineNumber, std::string_view line);

// The keyword a normal-comment line begins with (its first word, any case), or kKeywordCount; the
// first word in firstWord.
int keywordOfLine(std::string_view line, std::string_view* firstWord = nullptr);

}  // namespace tarvik
