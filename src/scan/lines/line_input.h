// The scan's input: opening it, the line-ending pass over the whole file (line 1, line lengths,
// repairs of missing LF or CR symbols, the first field of FFI 1001 data lines), and closing it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tarvik {

struct ScanContext;

int32_t openInput(ScanContext& ctx);
int32_t detectLineEndings(ScanContext& ctx);
void closeInput(ScanContext& ctx);

// Reads the next line of the input into ctx.run.lineBuffer under the current line-length limit.
size_t readInputLine(ScanContext& ctx);

}  // namespace tarvik
