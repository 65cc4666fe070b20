#include "scan/header/variables.h"

#include <cmath>
#include <string_view>

#include "scan/core/tokens.h"
#include "scan/header/fixed_lines.h"
#include "scan/header/header_lines.h"
#include "scan/header/icartt_v2.h"

namespace tarvik {

int32_t readTextLine(ScanContext& ctx, int64_t lineNumber, int unitsFlag, HeaderSlot slot,
                     DefinitionPlace place) {
  ScanRun& run = ctx.run;
  int32_t status = readHeaderLine(ctx, lineNumber);
  if (ctx.checks.headerEndedEarly) return status;
  const size_t length = status == 0 ? run.lineBuffer.size() : 0;
  if (status == 0) status = storeHeaderText(ctx, slot, run.lineBuffer, place);
  if (status == 0 && slot == HeaderSlot::Definition)
    if (Variable* v = ctx.hdr.vars.at(place.kind, place.index)) v->line = lineNumber;
  if (!unitsFlag) return status;
  // A V2.0 definition line has its own rules for its items (a line too long to read keeps the V1.1 ones).
  if (v2Mode(ctx) && slot == HeaderSlot::Definition && length > 0) {
    checkDefinitionV2(ctx, lineNumber, run.lineBuffer, place.kind, place.index);
    return status;
  }
  size_t commas = 0;
  for (size_t i = 0; i < length && i < run.lineBuffer.size(); ++i)
    if (run.lineBuffer[i] == ',') ++commas;
  if (commas == 0) {
    ctx.report.error("Error: Header Line%d: Can't read variable \"units\". Please separate name and units by commas.<br>\n", lineNumber);
    ctx.report.echo(Echo::A, lineNumber, run.lineBuffer);
    status = 10;
  } else if (commas == 1) {
    ctx.report.warning("Warning Line%d: Can't read \"optional\" long descriptive name. Please separate items by commas.<br>\n", lineNumber);
    ctx.report.echo(Echo::A, lineNumber, run.lineBuffer);
  }
  return status;
}

int32_t readCountLine(ScanContext& ctx, int64_t lineNumber, int32_t low, int32_t high, const char* label,
                      int32_t& value) {
  ScanRun& run = ctx.run;
  const int32_t status = readHeaderLine(ctx, lineNumber);
  if (ctx.checks.headerEndedEarly) return status;
  // A line of one item has no commas to count: only its ';' comment is cut. The line is judged
  // by its integer alone, even when it was reported too long.
  checkItemCount(ctx, run.lineBuffer, 1, lineNumber);
  if (!isIntegerText(run.lineBuffer)) {
    Report& r = ctx.report;
    r.beginError();
    r.printf("Error: Header Line%d: an integer value was expected on this line.<br>\n", lineNumber);
    r.write("Ths error could be due to a mismatch in the NumHeaderLines on line1, NumVariables on line10, NumSpecialComments and/or NumNormalComments.<br>\n");
    r.endBlock();
    r.echo(Echo::A, lineNumber, run.lineBuffer);
    return 10;
  }
  value = leadingInt(run.lineBuffer);
  return checkRange(ctx, value, low, high, lineNumber, RangeMode::Between, label);
}

int32_t readScaleList(ScanContext& ctx, int64_t lineNumber, const std::string& text,
                      std::span<Variable> target, int32_t count) {
  const char* label = count == 1 ? "value  " : "values ";
  ctx.run.echoBuffer = text;
  Tokenizer tok(text, " ,\t\r\n");
  std::string_view t;
  int64_t counter = 0;
  while (tok.next(t)) {
    if (isNumberToken(t).ok) {
      if (counter < count && static_cast<size_t>(counter) < target.size())
        target[static_cast<size_t>(counter)].scaleFactor = leadingReal(t);
      ++counter;
    } else if (counter == 0) {
      counter = 1;
    }
  }
  if (counter != count) {
    ctx.report.error("Error Header Line%d: expecting %d %s, but found %d instead. This error could also be due to invalid chars found on this line.<br>\n",
                     lineNumber, count, label, counter);
    ctx.report.echo(Echo::C, lineNumber, ctx.run.echoBuffer);
    return 10;
  }
  return 0;
}

int32_t readScaleLine(ScanContext& ctx, int32_t count, int64_t lineNumber, VarKind kind) {
  ScanRun& run = ctx.run;
  int32_t status = readHeaderLine(ctx, lineNumber);
  if (ctx.checks.headerEndedEarly) return status;
  if (status == 0) status = checkItemCount(ctx, run.lineBuffer, count, lineNumber);
  if (status == 0) status = allocateScaleArrays(ctx, count, kind);
  const std::span<Variable> vars = ctx.hdr.vars.of(kind);
  if (status == 0) status = readScaleList(ctx, lineNumber, run.lineBuffer, vars, count);
  if (status == 0) {
    bool notOne = false;
    for (const Variable& v : vars)
      if (!nearlyEqual(v.scaleFactor, 1)) notOne = true;
    if (notOne) {
      Report& r = ctx.report;
      r.write("<br><strong style=\"background-color:#FF9966; color:#000000\">");
      r.printf("Please Read - Header Line%d: Scale Factor(s) found on this line NOT_EQUAL_TO 1. If this is not what you intended, then this is a MAJOR ERROR and needs correction. \n", lineNumber);
      r.write("Please see \"Scale Factor\" topic discussion in the ICARTT Data Format Document.</strong><br><br>\n");
    }
  }
  if (status != 0) ctx.report.error("Error found while verifying Header Line11 (Scale factors).<br>\n");
  return status;
}

namespace {

// The integer part written in decimal is a minus sign followed only by nines.
bool onlyNines(int64_t v) {
  if (v >= 0) return false;
  uint64_t m = 0 - static_cast<uint64_t>(v);
  while (m > 0) {
    if (m % 10 != 9) return false;
    m /= 10;
  }
  return true;
}

}  // namespace

int32_t readMissingLine(ScanContext& ctx, int32_t count, int64_t lineNumber, VarKind kind) {
  ScanRun& run = ctx.run;
  Report& r = ctx.report;
  int32_t status = readHeaderLine(ctx, lineNumber);
  if (ctx.checks.headerEndedEarly) return status;
  if (status == 0) status = checkItemCount(ctx, run.lineBuffer, count, lineNumber);
  if (status == 0) status = allocateFlagArrays(ctx, count, kind);
  if (status == 0)
    status = readNumberList(ctx, lineNumber, run.lineBuffer, count,
                            kind == VarKind::Primary ? ListKind::PrimaryMissing : ListKind::AuxMissing);
  if (status == 0) {
    const std::span<const Variable> vars = ctx.hdr.vars.of(kind);
    MessageBudget complaints(20);  // flags that are not all nines
    for (size_t k = 0; k < vars.size(); ++k) {
      const double x = vars[k].missingFlag;
      const int64_t i = static_cast<int64_t>(k) + 1;
      if (x <= -9999999999.0) continue;
      const double whole = std::trunc(x);
      const bool fitsInt = whole >= -2147483648.0 && whole <= 2147483647.0;
      if (x > -99 || !fitsInt || static_cast<int64_t>(whole) % 9 != 0) {
        r.error("Error Header Line%d (var%d): The missing data flag (%.2f) expected for this variable is -999, or -9999, or -99999, ..etc.<br />\n",
                lineNumber, i, x);
        status = 10;
        continue;
      }
      if (!complaints.allows() || onlyNines(static_cast<int64_t>(whole))) continue;
      if (ctx.fn.revisionIsLetter) {
        r.beginWarning();
        r.printf("Warning (Field Data) Header Line%d: Missing data flag (%.2f) expected for var%d is -999, or -9999, or -99999, .etc. <br />Please note this will be an ERROR for Preliminary/Final Data.<br /><br />\n",
                 lineNumber, x, i);
      } else {
        r.beginError();
        r.printf("Error Header Line%d (var%d): The missing data flag (%.2f) expected for this variable is -999, or -9999, or -99999, ..etc.<br />\n",
                 lineNumber, i, x);
        status = 10;
      }
      complaints.spend(r, MessageBudget::Notice::Plain,
                       "<br /><br />Too many missing data flags misusage ...<br /><br />\n");
      r.endBlock();
    }
  }
  if (status != 0) r.error("Error found while verifying Header Line12 (Missing data indicators).<br>\n");
  return status;
}

}  // namespace tarvik
