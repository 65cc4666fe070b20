// The file-type table of extensions and the table of known locationIDs.
#pragma once

#include <cstdint>

namespace tarvik {

struct ScanContext;

// Sets the file's type from its extension: 0 for a known type, 151 for any other.
int32_t classifyExtension(ScanContext& ctx);
void lookupLocation(ScanContext& ctx);

}  // namespace tarvik
