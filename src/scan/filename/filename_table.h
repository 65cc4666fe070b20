// The report's table of how the file name was split.
#pragma once

namespace tarvik {

struct ScanContext;

void writeFileNameTable(ScanContext& ctx);

}  // namespace tarvik
