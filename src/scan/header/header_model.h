// The parsed header: where each header text is kept, the per-variable arrays, and their release.
#pragma once

#include <cstdint>
#include <string_view>

#include "scan/core/scan_context.h"

namespace tarvik {

// The place of a header text line in the header grammar.
enum class HeaderSlot {
  None,
  PiName,
  PiOrganization,
  Instrumentation,
  MissionName,
  IndependentVar,
  BoundedVar,
  VarDef,
  AuxVarDef,
  SpecialComment,
  NormalComment
};

// Keeps a copy of a header text line in its slot; 0, or 11 when the copy cannot be allocated.
int32_t storeHeaderText(ScanContext& ctx, HeaderSlot slot, std::string_view text);
int32_t allocateScaleArrays(ScanContext& ctx, int32_t count, VarKind kind);
int32_t allocateFlagArrays(ScanContext& ctx, int32_t count, VarKind kind);
// Frees every text and array of the header and the line buffers of the run.
void releaseHeader(ScanContext& ctx);

}  // namespace tarvik
