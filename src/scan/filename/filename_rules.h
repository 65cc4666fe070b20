// The file-name phase: splits the name into its sections and checks each against the convention.
#pragma once

#include <cstdint>

namespace tarvik {

struct ScanContext;

// The phase's status: 0, or the code of the first rule the name breaks.
int32_t checkFileName(ScanContext& ctx);

// count digits of the name from start: their value and 0, or failureCode as the status when they
// are out of [minimum, maximum]; when a character is no digit, failureCode is both.
struct DigitsRead {
  int32_t value;
  int32_t status;
};
DigitsRead readDigits(const ScanContext& ctx, int32_t start, int32_t count, int32_t minimum, int32_t maximum,
                      int32_t failureCode);
bool readNumberedSection(ScanContext& ctx, char letter, int32_t& value);

}  // namespace tarvik
