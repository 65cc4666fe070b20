#include "scan/data/data_times.h"

#include <cmath>

#include "scan/core/message_budget.h"
#include "scan/core/scan_context.h"
#include "scan/core/tokens.h"

namespace tarvik {

namespace {

enum IntervalRule { kStrictInterval = 0, kIncreasingWhenIrregular = 1, kIncreasing = 2 };

double fileNameStart(const FilenameInfo& fn) { return fn.hour * 3600.0 + fn.minute * 60.0 + fn.second; }

void orderWarning(ScanContext& ctx, int64_t line, double start, double stop) {
  if (ctx.checks.integerTimeTemplates)
    ctx.report.warning("<font size=\"-1\">Line%d: Warning Time Columns - Start=%.1f; Stop=%.1f; (and optional Mid-point) times might NOT be in correct order; OR Mid-time is NOT reported. \"Time Data Columns in File\" must be set in this order: Start, Stop (and optional Mid-time).</font><br>\n",
                       line, start, stop);
  else
    ctx.report.warning("<font size=\"-1\">Line%d: Warning Time Columns - Start=%.5f; Stop=%.5f; (and optional Mid-point) times might NOT be in correct order; OR Mid-time is NOT reported. \"Time Data Columns in File\" must be set in this order: Start, Stop (and optional Mid-time).</font><br>\n",
                       line, start, stop);
}

int32_t orderError(ScanContext& ctx, int64_t line, double start, double stop) {
  if (ctx.checks.integerTimeTemplates)
    ctx.report.error("Line%d: Time Error - Start=%.1f; Stop=%.1f; times are NOT in correct order; \"Time Data Columns in File\" must be set in this order: Start, Stop (and optional Mid-time).<br>\n",
                     line, start, stop);
  else
    ctx.report.error("Line%d: Time Error - Start=%.5f; Stop=%.5f; times are NOT in correct order; \"Time Data Columns in File\" must be set in this order: Start, Stop (and Optional Mid-time).<br>\n",
                     line, start, stop);
  return 10;
}

int32_t overlapError(ScanContext& ctx, int64_t line, double start, double previousStop) {
  if (ctx.checks.integerTimeTemplates)
    ctx.report.error("Line%d: Time Overlap Error - Start time (%.1f) on this line must be GREATER_THAN_OR_EQUAL_TO the Stop time (%.1f) on the previous record<br>\n",
                     line, start, previousStop);
  else
    ctx.report.error("Line%d: Time Overlap Error - Start time (%.5f) on this line must be GREATER_THAN_OR_EQUAL_TO the Stop time (%.5f) on the previous record<br>\n",
                     line, start, previousStop);
  return 10;
}

int32_t intervalError(ScanContext& ctx, int64_t line, double current, double previous) {
  const double iv = ctx.hdr.dataInterval;
  if (ctx.checks.integerTimeTemplates)
    ctx.report.error("Line%d: Time Error - time difference between 2 consecutive records (%.1f - %.1f) != %.1f (Sampling Interval)<br>\n",
                     line, current, previous, iv);
  else
    ctx.report.error("Line%d: Time Error - time difference between 2 consecutive records (%.6f - %.6f) != %.6f (Sampling Interval)<br>\n",
                     line, current, previous, iv);
  return 10;
}

int32_t checkStartStopMidTimes(ScanContext& ctx, int64_t line, const double* P, const double* C) {
  CheckStates& st = ctx.checks;
  Report& r = ctx.report;
  int32_t status = 0;
  if (!st.startStopMidStarted) {
    st.startStopMidStarted = true;
    st.integerTimeTemplates = ctx.hdr.dataIntervalIsInteger == 1;
    const int64_t first = static_cast<int64_t>(ctx.hdr.numHeaderLines) + 1;
    const double t0 = fileNameStart(ctx.fn);
    if (std::trunc(P[0]) < t0) {
      r.beginError();
      r.printf(
          "Line%d: Time Error - The Start_Time of data (%s = %.1f) CAN_NOT_BE_LESS_THAN the \"[hh[mm[ss]]]=%d sec.\" value in the Filename. ",
          first, ctx.hdr.independentDefinition(), P[0], static_cast<int64_t>(t0));
      r.write("Please make the appropriate correction or remove the \"optional\" [hh[mm[ss]]] from the filename.<br>\n");
      r.endBlock();
      status = 10;
    }
    if (!(P[0] < P[2] && P[2] < P[1])) {
      orderWarning(ctx, first, P[0], P[1]);
      st.timeWarnings.spend();
    }
    if (P[0] >= P[1]) status = orderError(ctx, first, P[0], P[1]);
  }
  // The notice of the warnings' cap comes with the next record, whatever its order.
  if (st.timeWarnings.allows()) {
    if (!(C[0] < C[2] && C[2] < C[1])) {
      orderWarning(ctx, line, C[0], C[1]);
      st.timeWarnings.spend();
    }
  } else {
    st.timeWarnings.writeNotice(r, MessageBudget::Notice::Warning, "Too many warnings ...<br>\n");
  }
  if (C[0] >= C[1]) status = orderError(ctx, line, C[0], C[1]);
  if (C[0] < P[1]) status = overlapError(ctx, line, C[0], P[1]);
  return status;
}

int32_t checkSamplingInterval(ScanContext& ctx, int64_t line, const double* P, const double* C) {
  CheckStates& st = ctx.checks;
  const HeaderInfo& h = ctx.hdr;
  const FilenameInfo& fn = ctx.fn;
  int32_t status = 0;
  if (!st.intervalStarted) {
    st.intervalStarted = true;
    st.integerTimeTemplates = h.dataIntervalIsInteger == 1;
    const double t0 = fileNameStart(fn);
    if (std::trunc(P[0]) < t0) {
      ctx.report.beginError();
      ctx.report.printf(
          "Line%d: Time Error - The Start_Time of data (%s = %.1f) CAN_NOT_BE_LESS_THAN the \"[hh[mm[ss]]]=%d sec.\" value in the Filename. ",
          static_cast<int64_t>(h.numHeaderLines) + 1, h.independentDefinition(), P[0],
          static_cast<int64_t>(t0));
      ctx.report.write("Please make the appropriate correction or remove the [hh[mm[ss]]] option from the filename.<br>\n");
      ctx.report.endBlock();
      status = 10;
    }
    // The platform comes first: satellites, trajectories and MOZAIC follow their own rule.
    const int pc = fn.platformCode;
    if (pc == 2 || pc == 10 || pc == 7) {
      st.intervalRule = kIncreasingWhenIrregular;
    } else {
      bool relaxed = pc == 4;
      for (const char* id : {"MRG60", "MRG10", "BOXMODEL"})
        if (!relaxed && sameTextNoCase(&ctx.report, fn.dataID, id)) relaxed = true;
      if (!relaxed) relaxed = samePrefixNoCase(&ctx.report, fn.dataID, "GEOS-CHEM", 9);
      st.intervalRule = relaxed ? kIncreasing : kStrictInterval;
    }
  }
  const double d = C[0] - P[0];
  if (nearlyEqual(d, h.dataInterval)) return status;
  bool mustIncrease = st.intervalRule == kIncreasing || (st.intervalRule == kIncreasingWhenIrregular && h.dataInterval <= 0);
  if (!mustIncrease) return intervalError(ctx, line, C[0], P[0]);
  if (!(C[0] > P[0])) {
    ctx.report.error("Line%d: Time Error - Time difference between 2 consecutive records is LESS_THAN_OR_EQUAL_TO zero (Current=%.5f  Previous=%.5f)<br>\n",
                     line, C[0], P[0]);
    return 10;
  }
  return status;
}

}  // namespace

int32_t checkRecordTimes(ScanContext& ctx, int64_t lineNumber, const double* previous, const double* current) {
  switch (ctx.run.timeIntervalType) {
    case StartStopMid:
      return checkStartStopMidTimes(ctx, lineNumber, previous, current);
    case ConstantEqual:
      return checkSamplingInterval(ctx, lineNumber, previous, current);
    default: {
      const int value = static_cast<int>(ctx.run.timeIntervalType);
      Report& r = ctx.report;
      r.beginError();
      r.printf("<br>Line%d: Sampling Time Error - Tarvik could not determine the \"Sampling Interval Type\" (value read 0x%d). \n",
               lineNumber, value);
      r.write("If this error persists, please contact the ");
      std::string subject = format("ERR_FILEDT (value=0x%d)", value);
      r.contactLink(subject.c_str());
      r.write(" to report it. Thank you.<br><hr>\n");
      r.endBlock();
      return 10;
    }
  }
}

}  // namespace tarvik
