// The file-name phase: splits the name into its sections and checks each against the convention.
#pragma once

#include <cstdint>

namespace tarvik {

struct ScanContext;

int32_t checkFileName(ScanContext& ctx);
int32_t readDigits(ScanContext& ctx, int32_t start, int32_t count, int32_t minimum, int32_t maximum, int32_t failureCode);
bool readNumberedSection(ScanContext& ctx, char letter, int32_t& value);

}  // namespace tarvik
