// The file-type table of extensions and the table of known locationIDs.
#pragma once

namespace tarvik {

struct ScanContext;

void classifyExtension(ScanContext& ctx);
void lookupLocation(ScanContext& ctx);

}  // namespace tarvik
