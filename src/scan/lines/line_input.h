// The scan's input: opening it, reading its next line under the line-length limit, closing it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tarvik {

struct ScanContext;

// Opens the input in text mode: 0, or 4 when it cannot be opened.
int32_t openInput(ScanContext& ctx);
void closeInput(ScanContext& ctx);

// Reads the next line of the input into ctx.run.lineBuffer under the current line-length limit.
size_t readInputLine(ScanContext& ctx);

}  // namespace tarvik
