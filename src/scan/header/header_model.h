// The parsed header: where each header text is kept, the records of the variable table, and
// their release.
#pragma once

#include <cstddef>
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
  Definition,  // a variable's definition line (its kind and index are given with it)
  SpecialComment,
  NormalComment
};

// Where a definition line goes: the kind of variable and its 0-based index among that kind.
struct DefinitionPlace {
  VarKind kind = VarKind::Primary;
  size_t index = 0;
};

// Keeps a copy of a header text line in its slot; 0, or 11 when the copy cannot be allocated.
int32_t storeHeaderText(ScanContext& ctx, HeaderSlot slot, std::string_view text, DefinitionPlace place = {});
// The records of count variables of a kind, their scale factors 0.
int32_t allocateScaleArrays(ScanContext& ctx, int32_t count, VarKind kind);
// The missing flags, LOD flags and LOD values of count variables of a kind, at their initial values.
int32_t allocateFlagArrays(ScanContext& ctx, int32_t count, VarKind kind);
// Frees every text and record of the header and the line buffers of the run.
void releaseHeader(ScanContext& ctx);

}  // namespace tarvik
