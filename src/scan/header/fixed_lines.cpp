#include "scan/header/fixed_lines.h"

#include <cstring>
#include <string_view>

#include "scan/core/scan_context.h"
#include "scan/core/tokens.h"
#include "scan/header/header_lines.h"
#include "scan/header/icartt_v2.h"

namespace tarvik {

int32_t checkRange(ScanContext& ctx, int64_t value, int32_t low, int32_t high, int64_t lineNumber, RangeMode mode,
                   const char* label) {
  Report& r = ctx.report;
  bool pass;
  if (std::strcmp(label, "FFI") == 0) {
    pass = value == 1001 || value == 2110 || value == 2310;
    if (!pass)
      r.error("Error: Header Line%d: FFI value = %d is undefined. The expected value here is 1001, 2110, or 2310 <br>\n",
              lineNumber, value);
  } else if (mode == RangeMode::Either && low != high) {
    pass = value == low || value == high;
    if (!pass)
      r.error("Error: Header Line%d: %s value exceeded (or outside boundaries). The expected value here is %d OR %d<br>\n",
              lineNumber, label, low, high);
  } else if (mode == RangeMode::Either) {
    pass = value == low;
    if (!pass)
      r.error("Error: Header Line%d: %s value exceeded (or outside boundaries). The expected value here is %d <br>\n",
              lineNumber, label, low);
  } else if (mode == RangeMode::AtLeast) {
    pass = value >= low;
    if (!pass)
      r.error("Error: Header Line%d: %s value exceeded (or outside boundaries). The expected value here is GREATER_THAN %d.<br>\n",
              lineNumber, label, low);
  } else {
    pass = value >= low && value <= high;
    if (!pass)
      r.error("Error: Header Line%d: %s value exceeded (or outside boundaries). The expected value here is between %d and %d.<br>\n",
              lineNumber, label, low, high);
  }
  return pass ? 0 : 10;
}

int32_t readNumberList(ScanContext& ctx, int64_t lineNumber, const std::string& text, int32_t count, ListKind kind) {
  HeaderInfo& h = ctx.hdr;
  const char* label = count == 1 ? "value  " : "values ";
  ctx.run.echoBuffer = text;
  Tokenizer tok(text, " ,\t\r\n");
  std::string_view t;
  int64_t counter = 0;
  while (tok.next(t)) {
    if (isNumberToken(t).ok) {
      if (counter < count) {
        size_t i = static_cast<size_t>(counter);
        if (kind == ListKind::Dates) {
          int32_t v = leadingInt(t);
          if (i < 3)
            h.collectionDate[i] = v;
          else if (i < 6)
            h.revisionDate[i - 3] = v;
        } else {
          // A missing flag is also each LOD value until a LOD line gives one.
          const double v = leadingReal(t);
          if (Variable* var =
                  h.vars.at(kind == ListKind::PrimaryMissing ? VarKind::Primary : VarKind::Auxiliary, i)) {
            var->missingFlag = v;
            var->ulodValue = v;
            var->llodValue = v;
          }
        }
      }
      ++counter;
    } else if (counter == 0) {
      counter = 1;
    }
  }
  if (counter != count) {
    Report& r = ctx.report;
    r.beginError();
    if (kind == ListKind::Dates) {
      r.printf("Error Header Line%d: UTC Dates, expecting %d %s: \n", lineNumber, count, label);
      r.write("Acq_Year(yyyy), Acq_Month(mm), Acq_Day(dd), Rev_Year(yyyy), Rev_Month(mm), Rev_Day(dd).\n");
    } else {
      r.printf("Error Header Line%d: expecting %d %s but found %d instead.\n", lineNumber, count, label, counter);
    }
    r.write("<br>This error could also be due to invalid chars (or data delimiters) found on this line.\n");
    r.endBlock();
    r.echo(Echo::C, lineNumber, ctx.run.echoBuffer);
    return 10;
  }
  return 0;
}

namespace {

// The two integers of a line whose comma has become a space; a number that cannot be read stays.
void readTwoInts(std::string_view text, int32_t& a, int32_t& b) {
  size_t pos = 0;
  int32_t v;
  if (!scanInt(text, pos, v)) return;
  a = v;
  if (scanInt(text, pos, v)) b = v;
}

}  // namespace

int32_t readLine1(ScanContext& ctx) {
  ScanRun& run = ctx.run;
  HeaderInfo& h = ctx.hdr;
  int32_t status = readHeaderLine(ctx, 1);
  if (ctx.checks.headerEndedEarly) return status;
  std::string asRead;  // V1.1 mode: the line before the checks change it, for the V2.0 hint
  if (v2Mode(ctx)) {
    if (status == 0) checkVersionItem(ctx, run.lineBuffer);
  } else {
    asRead = run.lineBuffer;
  }
  if (status == 0) status = checkItemCount(ctx, run.lineBuffer, 2, 1);
  if (status == 0) {
    readTwoInts(run.lineBuffer, h.numHeaderLines, h.ffi);
    status = checkRange(ctx, h.numHeaderLines, 15, 4000, 1, RangeMode::Between, "Header Lines (NH)");
  }
  if (status == 0) status = checkRange(ctx, h.ffi, 1001, 2310, 1, RangeMode::Either, "FFI");
  if (status != 0) {
    ctx.report.error("Error found while verifying Header Line1 (Number of lines in header, file format index).<br>\n");
    if (!v2Mode(ctx)) hintVersionItem(ctx, asRead);
  }
  return status;
}

int32_t readLine6(ScanContext& ctx) {
  ScanRun& run = ctx.run;
  HeaderInfo& h = ctx.hdr;
  int32_t status = readHeaderLine(ctx, 6);
  if (ctx.checks.headerEndedEarly) return status;
  if (status == 0) status = checkItemCount(ctx, run.lineBuffer, 2, 6);
  const int32_t v = ctx.fn.volume > 0 ? ctx.fn.volume : 1;
  if (status == 0) {
    readTwoInts(run.lineBuffer, h.volumeNumber, h.volumeCount);
    status = checkRange(ctx, h.volumeNumber, 1, v, 6, RangeMode::Either, "Header_Start_Volume");
  }
  if (status == 0) status = checkRange(ctx, h.volumeCount, v, v, 6, RangeMode::AtLeast, "Header_End_Volume");
  if (status != 0)
    ctx.report.error("Error found while verifying Header Line6 (volume number, number of file volumes).<br>\n");
  return status;
}

int32_t readLine7(ScanContext& ctx) {
  ScanRun& run = ctx.run;
  HeaderInfo& h = ctx.hdr;
  int32_t status = readHeaderLine(ctx, 7);
  if (ctx.checks.headerEndedEarly) return status;
  if (status == 0) status = checkItemCount(ctx, run.lineBuffer, 6, 7);
  if (status == 0) status = readNumberList(ctx, 7, run.lineBuffer, 6, ListKind::Dates);
  struct Item {
    int32_t value;
    int32_t low, high;
    const char* label;
  };
  const Item items[] = {
      {h.collectionDate[0], 1980, 2029, "Data Collection Date: Flt_yyyy"},
      {h.collectionDate[1], 1, 12, "Data Collection Date: Flt_mm"},
      {h.collectionDate[2], 1, 31, "Data Collection Date: Flt_dd"},
      {h.revisionDate[0], 1980, 2029, "Data Revision Date: Rev_yyyy"},
      {h.revisionDate[1], 1, 12, "Data Revision Date: Rev_mm"},
      {h.revisionDate[2], 1, 31, "Data Revision Date: Rev_dd"},
  };
  for (const Item& it : items) {
    if (status != 0) break;
    status = checkRange(ctx, it.value, it.low, it.high, 7, RangeMode::Between, it.label);
  }
  if (status == 0) {
    const int32_t* c = h.collectionDate;
    const int32_t* v = h.revisionDate;
    bool earlier = v[0] < c[0] || (v[0] == c[0] && (v[1] < c[1] || (v[1] == c[1] && v[2] < c[2])));
    if (earlier) {
      status = 10;
      ctx.report.error("Error - Header Line%d: UTC Date : Revision Date can't be less than Collection (or Flight) Date.<br>\n", 7);
    }
  }
  if (h.collectionDate[0] != ctx.fn.year || h.collectionDate[1] != ctx.fn.month || h.collectionDate[2] != ctx.fn.day) {
    status = 10;
    ctx.report.error("Error - Header Line%d: UTC File DATES mismatch. Filename DATE should be the same as data Collection (or Flight) DATE in header.", 7);
  }
  if (status != 0)
    ctx.report.error("Error found while verifying Header Line7 (Data Collection Date, Data Revision Date).<br>\n");
  return status;
}

bool isMergeFile(const std::string& dataID) {
  std::string lower;
  lower.reserve(dataID.size());
  for (char c : dataID) lower.push_back(lowerAscii(c));
  for (const char* m : {"mrg5", "mrg10", "mrg15", "mrg30"})
    if (lower.find(m) != std::string::npos) return true;
  return false;
}

bool intervalExempt(ScanContext& ctx) {
  const FilenameInfo& fn = ctx.fn;
  for (const char* c : {"SATELLITE", "TRAJECTORY", "GROUND", "MOZAIC"})
    if (fn.locationClass == c) return true;
  for (const char* id : {"MRG60", "MRG10", "BOXMODEL"})
    if (sameTextNoCase(&ctx.report, fn.dataID, id)) return true;
  return samePrefixNoCase(&ctx.report, fn.dataID, "GEOS-CHEM", 9);
}

namespace {

// One sampling interval of line 8 (the line's only one, or one of FFI 2110's two in V2.0 mode):
// its value against the interval type. The interval of the records' independent variable
// (timeInterval) is the one the time checks of the data phase use.
int32_t checkIntervalValue(ScanContext& ctx, std::string_view text, bool timeInterval) {
  ScanRun& run = ctx.run;
  HeaderInfo& h = ctx.hdr;
  Report& r = ctx.report;
  const double iv = leadingReal(text);
  if (timeInterval) {
    h.dataIntervalIsInteger = isIntegerText(text) ? 1 : 0;
    h.dataInterval = iv;
  }
  const TimeIntervalType t = run.timeIntervalType;
  const int line = 8;
  if (nearlyEqual(iv, -1) && !intervalExempt(ctx)) {
    r.error("Error: Header Line%d: \"Sampling Period\" value = -1 (indicating non-constant, non-uniform interval). This is only allowed for non-aircaft files (i.e., satellite, trajectory, ground, ..etc).\n", line);
  } else if (iv < 0 && !nearlyEqual(iv, -1)) {
    r.error("Error: Header Line%d: \"Sampling Period\" in seconds acceptable values: 0 for Start/Stop/Mid-point Intervals, 1 (or less), or 60 for constant equal intervals.\n", line);
  } else if (nearlyEqual(iv, 0) && t == ConstantEqual) {
    r.beginError();
    r.printf("Error: Header Line%d: Sampling Period must be != 0 (non-zero) because you selected \"Time-Interval Type = Constant Equal (1 or less); {Or, irregular (Satellite/Trajectory/Ground)}\".\n", line);
    r.write("Please correct this value or make the right selection for \"Time-Interval Type\" above.<br>\n");
    r.endBlock();
  } else if (!nearlyEqual(iv, 0) && t == StartStopMid) {
    r.beginError();
    r.printf("Error: Header Line%d (Sampling Period): The value expected is 0 -- because you selected \n", line);
    r.write("Time-Interval Type = \"Start, Stop, and Mid-point\".\n");
    r.write("Please correct this value or make the right selection for \"Time-Interval Type\" above.<br>\n");
    r.endBlock();
  } else if (isMergeFile(ctx.fn.dataID) || run.allowExtraIntervals) {
    if (nearlyEqual(iv, 5) || nearlyEqual(iv, 10) || nearlyEqual(iv, 15) || nearlyEqual(iv, 30)) return 0;
    r.beginError();
    r.printf("Error: Header Line%d (Sampling Period): The value expected here = 5, 10, 15, or 30\n", line);
    r.write("<br>since the checkbox is selectd: \"Also Allow Intervals: 5, 10, 15, 30\"\n");
    r.endBlock();
  } else {
    if (!(iv > 1 && !nearlyEqual(iv, 60))) return 0;
    r.error("Error: Header Line%d (Sampling Period): The value expected for constant equal intervals is 1 (or less), or 60.\n", line);
  }
  return 10;
}

void intervalNotANumber(Report& r, std::string_view line) {
  r.error(
      "Error: Header Line8: \"Sampling Interval\"; a numerical value was expected on this line. Only numerical values allowed on this line.<br />\n");
  r.printf("<font color='#0000FF'>Line8:</font> %s<br /><br />\n", line);
}

}  // namespace

int32_t readLine8(ScanContext& ctx) {
  ScanRun& run = ctx.run;
  const int32_t status = readHeaderLine(ctx, 8);
  if (ctx.checks.headerEndedEarly) return status;
  const std::string& text = run.lineBuffer;
  if (ctx.settings.icartt == IcarttVersion::V2_0 && ctx.hdr.ffi == 2110 &&
      text.find(',') != std::string::npos)
    return status != 0 ? status : checkTwoIntervals(ctx, text);
  if (!isRealText(text)) {
    intervalNotANumber(ctx.report, text);
    return 10;
  }
  if (status != 0) return status;
  return checkIntervalValue(ctx, text, true);
}

int32_t checkIntervalItems(ScanContext& ctx, const std::string& line, std::string_view bounded,
                           std::string_view unbounded) {
  if (!isRealText(bounded) || !isRealText(unbounded)) {
    intervalNotANumber(ctx.report, line);
    return 10;
  }
  const int32_t first = checkIntervalValue(ctx, bounded, false);
  const int32_t second = checkIntervalValue(ctx, unbounded, true);
  return first != 0 ? first : second;
}

}  // namespace tarvik
