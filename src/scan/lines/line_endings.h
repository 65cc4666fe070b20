// The line-ending pass over the whole input: line 1, line lengths, repairs of missing LF or CR
// symbols, and the first field of FFI 1001 data lines. It leaves the input open at its start with
// maxLineLength and linesCounted set.
#pragma once

#include <cstdint>

namespace tarvik {

struct ScanContext;

// The pass's status: 0, or the code of the failure it reported.
int32_t detectLineEndings(ScanContext& ctx);

}  // namespace tarvik
