// The ICARTT V2.0 rules of the header, applied in V2.0 mode on top of the V1.1 rules: the version
// item of line 1, the short names and their uniqueness, three- or four-item definition lines, the
// order of the normal-comment keywords, and one or two intervals on an FFI 2110 line 8. In V1.1
// mode, only the hint that line 1 declares a V2.0 file.
//
// An error of a V2.0 rule does not stop the header: the rest of the header is still read and
// checked, so that every V2.0 finding of a file is reported at once; the header phase then ends
// with status 10.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "scan/core/scan_context.h"

namespace tarvik {

inline bool v2Mode(const ScanContext& ctx) { return ctx.settings.icartt == IcarttVersion::V2_0; }

// Line 1 in V2.0 mode, before the V1.1 checks: the version item, which is then cut from line so
// that NH and FFI are read as in V1.1.
void checkVersionItem(ScanContext& ctx, std::string& line);
// Line 1 in V1.1 mode, after its error: the hint when it declares a V2.0 header (a third item
// beginning with "V0").
void hintVersionItem(ScanContext& ctx, std::string_view line);

// A variable's definition line (V2.0 mode): its items, its short name and standard name, and the
// short name's uniqueness. The variable is already in the table (kind, index).
void checkDefinitionV2(ScanContext& ctx, int64_t lineNumber, const std::string& line, VarKind kind,
                       size_t index);
// The short-names line (V2.0 mode): each name's characters.
void checkShortNamesV2(ScanContext& ctx, int64_t lineNumber, const std::string& line);

// A normal comment before the short-names line (V2.0 mode), kept for the keyword-order check.
void noteNormalComment(ScanContext& ctx, int64_t lineNumber, std::string_view line);
// The keywords of the normal comments: each once, in the V2.0 order, the revision notes after
// REVISION.
void checkKeywordOrder(ScanContext& ctx);

// FFI 2110 line 8 holding a comma (V2.0 mode): one interval per independent variable.
int32_t checkTwoIntervals(ScanContext& ctx, const std::string& line);

// The header's status once the V2.0 rules have had their say.
inline int32_t v2HeaderStatus(const ScanContext& ctx, int32_t status) {
  return status == 0 && ctx.checks.v2.failed ? 10 : status;
}

}  // namespace tarvik
