// The time columns of consecutive data records: start, stop and mid-point order and overlap, the
// start time of the file name, and the sampling interval with its exemptions.
#include "scan/data/data_times.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan/core/scan_context.h"
#include "scan/data_test_util.h"
#include "scan/run/scan_run.h"

namespace tarvik::test {
namespace {

using namespace data;

// What the data phase wrote before its closing line.
std::string dataMessages(const std::string& report) {
  std::string text = section(report, kDataStart, kDataDone);
  if (text.empty()) {
    ADD_FAILURE() << "no data phase in the report:\n" << report;
    return "";
  }
  return messagesOf(text.substr(std::string(kDataStart).size()));
}

// A 1001 file (Stop_UTC, Mid_UTC, V1, V2) whose records hold these start, stop and mid-point times.
IcarttBuilder startStopMid(const std::vector<std::string>& times) {
  IcarttBuilder b = IcarttBuilder::ffi1001();
  b.data.clear();
  for (const std::string& t : times) b.data.push_back(t + ", 10, 11");
  return b;
}

// A 1001 file with interval line 8 for the constant-interval type; the stop and mid columns are
// plain variables then.
IcarttBuilder constantTimes(const std::string& interval, const std::vector<std::string>& times) {
  IcarttBuilder b = IcarttBuilder::ffi1001();
  b.line8 = interval;
  b.data.clear();
  for (const std::string& t : times) b.data.push_back(t + ", 1, 2, 10, 11");
  return b;
}

const int kNH = IcarttBuilder::ffi1001().computedNH();
// The line number of record k (1-based) of the default 1001 header.
int L(int k) { return kNH + k; }

// ---- expected texts, one decimal (integer interval text) ----

std::string warn1(int line, double start, double stop) {
  return orange(fmt("<font size=\"-1\">Line%d: Warning Time Columns - Start=%.1f; Stop=%.1f; (and optional Mid-point) times might NOT be in correct order; OR Mid-time is NOT reported. \"Time Data Columns in File\" must be set in this order: Start, Stop (and optional Mid-time).</font><br>\n",
                    line, start, stop));
}
std::string order1(int line, double start, double stop) {
  return red(fmt("Line%d: Time Error - Start=%.1f; Stop=%.1f; times are NOT in correct order; \"Time Data Columns in File\" must be set in this order: Start, Stop (and optional Mid-time).<br>\n",
                 line, start, stop));
}
std::string overlap1(int line, double start, double stop) {
  return red(fmt("Line%d: Time Overlap Error - Start time (%.1f) on this line must be GREATER_THAN_OR_EQUAL_TO the Stop time (%.1f) on the previous record<br>\n",
                 line, start, stop));
}
std::string interval1(int line, double cur, double prev, double iv) {
  return red(fmt("Line%d: Time Error - time difference between 2 consecutive records (%.1f - %.1f) != %.1f (Sampling Interval)<br>\n",
                 line, cur, prev, iv));
}

// ---- expected texts, more decimals (interval text that is not an integer) ----

std::string warn5(int line, double start, double stop) {
  return orange(fmt("<font size=\"-1\">Line%d: Warning Time Columns - Start=%.5f; Stop=%.5f; (and optional Mid-point) times might NOT be in correct order; OR Mid-time is NOT reported. \"Time Data Columns in File\" must be set in this order: Start, Stop (and optional Mid-time).</font><br>\n",
                    line, start, stop));
}
std::string order5(int line, double start, double stop) {
  return red(fmt("Line%d: Time Error - Start=%.5f; Stop=%.5f; times are NOT in correct order; \"Time Data Columns in File\" must be set in this order: Start, Stop (and Optional Mid-time).<br>\n",
                 line, start, stop));
}
std::string overlap5(int line, double start, double stop) {
  return red(fmt("Line%d: Time Overlap Error - Start time (%.5f) on this line must be GREATER_THAN_OR_EQUAL_TO the Stop time (%.5f) on the previous record<br>\n",
                 line, start, stop));
}
std::string interval6(int line, double cur, double prev, double iv) {
  return red(fmt("Line%d: Time Error - time difference between 2 consecutive records (%.6f - %.6f) != %.6f (Sampling Interval)<br>\n",
                 line, cur, prev, iv));
}

std::string notIncreasing(int line, double cur, double prev) {
  return red(fmt("Line%d: Time Error - Time difference between 2 consecutive records is LESS_THAN_OR_EQUAL_TO zero (Current=%.5f  Previous=%.5f)<br>\n",
                 line, cur, prev));
}

const std::string kTooManyWarnings = orange("Too many warnings ...<br>\n");

std::string startTimeStartStopMid(int line, const std::string& def, double start, int t0) {
  return red(fmt("Line%d: Time Error - The Start_Time of data (%s = %.1f) CAN_NOT_BE_LESS_THAN the \"[hh[mm[ss]]]=%d sec.\" value in the Filename. ",
                 line, def.c_str(), start, t0) +
             "Please make the appropriate correction or remove the \"optional\" [hh[mm[ss]]] from the filename.<br>\n");
}
std::string startTimeConstant(int line, const std::string& def, double start, int t0) {
  return red(fmt("Line%d: Time Error - The Start_Time of data (%s = %.1f) CAN_NOT_BE_LESS_THAN the \"[hh[mm[ss]]]=%d sec.\" value in the Filename. ",
                 line, def.c_str(), start, t0) +
             "Please make the appropriate correction or remove the [hh[mm[ss]]] option from the filename.<br>\n");
}

// The definition line of the independent variable as the header keeps it (the whole line).
const std::string kStartDef = "Start_UTC, seconds, Start time in UTC seconds\n";

// ---- start, stop and mid-point ----

TEST(DataTimesStartStopMid, ConsecutiveRecords) {
  struct Case {
    const char* what;
    std::vector<std::string> times;
    std::string expected;
    int32_t status;
  } cases[] = {
      {"in order, the next start equal to the previous stop", {"100, 110, 105", "110, 120, 115"}, "", 0},
      {"a gap between records", {"100, 110, 105", "130, 140, 135"}, "", 0},
      {"start below the previous stop", {"100, 110, 105", "108, 118, 113"}, overlap1(L(2), 108, 110), 10},
      {"start just below the previous stop", {"100, 110, 105", "109.9, 118, 113"}, overlap1(L(2), 109.9, 110), 10},
      {"mid-point equal to the start", {"100, 110, 105", "110, 120, 110"}, warn1(L(2), 110, 120), 0},
      {"mid-point equal to the stop", {"100, 110, 105", "110, 120, 120"}, warn1(L(2), 110, 120), 0},
      {"mid-point after the stop", {"100, 110, 105", "110, 120, 125"}, warn1(L(2), 110, 120), 0},
      {"start equal to stop", {"100, 110, 105", "120, 120, 120"}, warn1(L(2), 120, 120) + order1(L(2), 120, 120), 10},
      {"start after stop", {"100, 110, 105", "130, 120, 125"}, warn1(L(2), 130, 120) + order1(L(2), 130, 120), 10},
      {"start after stop and below the previous stop",
       {"100, 110, 105", "105, 100, 102"},
       warn1(L(2), 105, 100) + order1(L(2), 105, 100) + overlap1(L(2), 105, 110),
       10},
      {"first record mid-point equal to its start", {"100, 110, 100", "110, 120, 115"}, warn1(L(1), 100, 110), 0},
      {"first record start after its stop",
       {"110, 100, 105", "110, 120, 115"},
       warn1(L(1), 110, 100) + order1(L(1), 110, 100),
       10},
      {"fractional times", {"100.25, 100.75, 100.5", "100.75, 101.25, 101"}, "", 0},
      {"third record overlaps the second", {"100, 110, 105", "110, 120, 115", "119, 130, 125"}, overlap1(L(3), 119, 120), 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DataScan s = scanData(startStopMid(c.times));
    EXPECT_EQ(s.messages, c.expected);
    EXPECT_EQ(s.res.status, c.status);
    EXPECT_TRUE(has(s.res.report, fmt("%s%d<br>\n", kLinesProcessed, L(static_cast<int>(c.times.size())))));
  }
}

TEST(DataTimesStartStopMid, SingleRecordHasNoTimeCheck) {
  // Out of order, and before the file name's start time: nothing is checked without a second record.
  DataScan s = scanData(startStopMid({"50, 40, 45"}), "TEST-DATA_DC8_201905210001_R0.ict");
  EXPECT_EQ(s.messages, "");
  EXPECT_EQ(s.res.status, 0);
}

TEST(DataTimesStartStopMid, FiveDecimalsWhenIntervalTextIsNotInteger) {
  // "0.0" is read as 0 (what the Start/Stop/Mid-point type needs) but is no integer text.
  IcarttBuilder b = startStopMid({"100, 110, 100", "130, 120, 125", "115, 140, 135"});
  b.line8 = "0.0";
  DataScan s = scanData(b);
  EXPECT_EQ(s.messages, warn5(L(1), 100, 110) + warn5(L(2), 130, 120) + order5(L(2), 130, 120) + overlap5(L(3), 115, 120));
  EXPECT_EQ(s.res.status, 10);
  EXPECT_TRUE(has(s.messages, "Start=130.00000; Stop=120.00000; times are NOT in correct order; \"Time Data Columns in File\" must be set in this order: Start, Stop (and Optional Mid-time).<br>\n"));
  EXPECT_TRUE(has(s.messages, "Start time (115.00000) on this line must be GREATER_THAN_OR_EQUAL_TO the Stop time (120.00000)"));
}

TEST(DataTimesStartStopMid, IntegerTemplatesSayOptionalInLowerCase) {
  DataScan s = scanData(startStopMid({"100, 110, 105", "130, 120, 125"}));
  EXPECT_TRUE(has(s.messages, "Line" + std::to_string(L(2)) + ": Time Error - Start=130.0; Stop=120.0; times are NOT in correct order; \"Time Data Columns in File\" must be set in this order: Start, Stop (and optional Mid-time).<br>\n"));
  EXPECT_EQ(s.res.status, 10);
}

// count records from 100 on, each starting where the previous one stopped; `bad` says which of
// them have their mid-point equal to their start (a warning, no error).
std::vector<std::string> chain(int count, const std::vector<bool>& bad) {
  std::vector<std::string> out;
  for (int k = 0; k < count; ++k) {
    int start = 100 + 10 * k;
    int mid = bad[static_cast<size_t>(k)] ? start : start + 5;
    out.push_back(std::to_string(start) + ", " + std::to_string(start + 10) + ", " + std::to_string(mid));
  }
  return out;
}

TEST(DataTimesStartStopMid, SixteenWarningsThenTooManyOnce) {
  struct Case {
    const char* what;
    bool firstBad;       // the first record warns too
    bool noteRecordBad;  // the record after the 16th warning is out of order too
  } cases[] = {
      {"first record in order, next record out of order", false, true},
      {"first record in order, next record in order", false, false},
      {"first record warns, next record out of order", true, true},
      {"first record warns, next record in order", true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // Records 1..n hold the 16 warnings, record n + 1 gets the note.
    const int n = c.firstBad ? 16 : 17;
    std::vector<bool> bad(static_cast<size_t>(n + 1), true);
    bad[0] = c.firstBad;
    bad[static_cast<size_t>(n)] = c.noteRecordBad;
    std::vector<std::string> times = chain(n + 1, bad);
    // Then more out-of-order records: start after stop (errors), start equal to stop, an overlap.
    int t = 100 + 10 * (n + 1);
    times.push_back(std::to_string(t + 10) + ", " + std::to_string(t) + ", " + std::to_string(t + 5));  // n+2: order error
    times.push_back(std::to_string(t + 20) + ", " + std::to_string(t + 20) + ", " + std::to_string(t + 20));  // n+3: order error
    times.push_back(std::to_string(t + 30) + ", " + std::to_string(t + 40) + ", " + std::to_string(t + 30));  // n+4: warning only
    times.push_back(std::to_string(t + 35) + ", " + std::to_string(t + 50) + ", " + std::to_string(t + 45));  // n+5: overlap
    DataScan s = scanData(startStopMid(times));

    std::string expected;
    for (int k = 1; k <= n; ++k)
      if (bad[static_cast<size_t>(k - 1)]) expected += warn1(L(k), 100 + 10 * (k - 1), 110 + 10 * (k - 1));
    expected += kTooManyWarnings;
    expected += order1(L(n + 2), t + 10, t);
    expected += order1(L(n + 3), t + 20, t + 20);
    expected += overlap1(L(n + 5), t + 35, t + 40);
    EXPECT_EQ(s.messages, expected);
    EXPECT_EQ(countOf(s.messages, "Warning Time Columns"), 16u);
    EXPECT_EQ(countOf(s.messages, "Too many warnings ..."), 1u);
    EXPECT_EQ(s.res.status, 10);
  }
}

TEST(DataTimesStartStopMid, WarningCountStartsAgainWithEachScan) {
  std::vector<bool> bad(20, true);
  bad[0] = false;
  IcarttBuilder b = startStopMid(chain(20, bad));
  TempDir dir;
  const std::string path = dir.file(kName);
  writeFile(path, b.text());
  RecordingHost host;
  ScanContext ctx;
  ctx.host = &host;
  for (int scan = 1; scan <= 2; ++scan) {
    SCOPED_TRACE(scan);
    const ScanOutcome outcome = runScan(ctx, path, 0);
    ASSERT_TRUE(outcome.reportWritten());
    std::string messages = dataMessages(readFile(path + "__diagnostic.htm"));
    EXPECT_EQ(countOf(messages, "Warning Time Columns"), 16u);
    EXPECT_EQ(countOf(messages, "Too many warnings ..."), 1u);
    EXPECT_TRUE(has(messages, warn1(L(2), 110, 120)));
    EXPECT_EQ(outcome.status, 0);
  }
}

// ---- the start time of the file name ----

TEST(DataTimesFileNameStart, FirstStartAgainstNameTime) {
  struct Case {
    const char* name;
    TimeIntervalType type;
    const char* first;  // the first record's start time
    int t0;             // seconds, when the error is expected; -1 for none
  } cases[] = {
      {"TEST-DATA_DC8_201905210001_R0.ict", StartStopMid, "59.5", 60},
      {"TEST-DATA_DC8_201905210001_R0.ict", StartStopMid, "60.0", -1},
      {"TEST-DATA_DC8_201905210001_R0.ict", StartStopMid, "60.9", -1},
      {"TEST-DATA_DC8_201905210001_R0.ict", ConstantEqual, "59.5", 60},
      {"TEST-DATA_DC8_201905210001_R0.ict", ConstantEqual, "60.0", -1},
      {"TEST-DATA_DC8_2019052101_R0.ict", StartStopMid, "3599", 3600},
      {"TEST-DATA_DC8_2019052101_R0.ict", ConstantEqual, "3600", -1},
      {"TEST-DATA_DC8_20190521010203_R0.ict", StartStopMid, "3722.9", 3723},
      {"TEST-DATA_DC8_20190521010203_R0.ict", StartStopMid, "3723.9", -1},
      {"TEST-DATA_DC8_20190521010203_R0.ict", ConstantEqual, "3722.99", 3723},
      {"TEST-DATA_DC8_20190521_R0.ict", StartStopMid, "0", -1},
      // Truncated toward zero: -0.5 becomes 0, which is not below 0.
      {"TEST-DATA_DC8_20190521_R0.ict", StartStopMid, "-0.5", -1},
      {"TEST-DATA_DC8_20190521_R0.ict", ConstantEqual, "-0.9", -1},
      {"TEST-DATA_DC8_20190521_R0.ict", ConstantEqual, "-1.5", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " " + c.first + (c.type == StartStopMid ? " start-stop-mid" : " constant"));
    const double first = std::stod(c.first);
    IcarttBuilder b;
    ScanOptions opt;
    opt.interval = c.type;
    if (c.type == StartStopMid) {
      b = startStopMid({std::string(c.first) + ", " + fmt("%.2f", first + 10) + ", " + fmt("%.2f", first + 5),
                        fmt("%.2f", first + 10) + ", " + fmt("%.2f", first + 20) + ", " + fmt("%.2f", first + 15)});
    } else {
      b = constantTimes("1", {c.first, fmt("%.2f", first + 1)});
    }
    DataScan s = scanData(b, c.name, opt);
    std::string expected;
    if (c.t0 >= 0)
      expected = c.type == StartStopMid ? startTimeStartStopMid(L(1), kStartDef, first, c.t0)
                                        : startTimeConstant(L(1), kStartDef, first, c.t0);
    EXPECT_EQ(s.messages, expected);
    EXPECT_EQ(s.res.status, c.t0 >= 0 ? 10 : 0);
  }
}

TEST(DataTimesFileNameStart, DefinitionIsEscaped) {
  IcarttBuilder b = startStopMid({"59, 70, 65", "70, 80, 75"});
  b.independent = "Start_UTC, <s>, start & \"time\"";
  DataScan s = scanData(b, "TEST-DATA_DC8_201905210001_R0.ict");
  EXPECT_EQ(s.messages, startTimeStartStopMid(L(1), "Start_UTC, &lt;s&gt;, start &amp; &quot;time&quot;\n", 59, 60));
  EXPECT_EQ(s.res.status, 10);
}

TEST(DataTimesFileNameStart, OnlyTheFirstRecordIsCompared) {
  // The first record is at the name's time; a later one is earlier than it but still in order
  // with its neighbours as far as the name is concerned: only the overlap is reported.
  DataScan s = scanData(startStopMid({"60, 70, 65", "70, 80, 75", "75, 85, 80"}), "TEST-DATA_DC8_201905210001_R0.ict");
  EXPECT_EQ(s.messages, overlap1(L(3), 75, 80));
}

TEST(DataTimesFileNameStart, StartTimeErrorWithOrderMessagesOfTheFirstRecord) {
  DataScan s = scanData(startStopMid({"59, 50, 55", "60, 70, 65"}), "TEST-DATA_DC8_201905210001_R0.ict");
  EXPECT_EQ(s.messages, startTimeStartStopMid(L(1), kStartDef, 59, 60) + warn1(L(1), 59, 50) + order1(L(1), 59, 50));
  EXPECT_EQ(s.res.status, 10);
}

// ---- constant intervals ----

TEST(DataTimesInterval, SamplingIntervalRules) {
  struct Case {
    const char* name;
    const char* interval;
    bool extra;  // "Also Allow Intervals: 5, 10, 15, 30"
    std::vector<std::string> times;
    std::string expected;
  } cases[] = {
      {"TEST-DATA_DC8_20190521_R0.ict", "1", false, {"0", "1", "2.0000005"}, ""},
      {"TEST-DATA_DC8_20190521_R0.ict", "1", false, {"0", "1", "1.9999995"}, ""},
      {"TEST-DATA_DC8_20190521_R0.ict", "1", false, {"0", "1", "3"}, interval1(L(3), 3, 1, 1)},
      {"TEST-DATA_DC8_20190521_R0.ict", "1", false, {"0", "1", "1"}, interval1(L(3), 1, 1, 1)},
      {"TEST-DATA_DC8_20190521_R0.ict", "1", false, {"0", "1", "0.5"}, interval1(L(3), 0.5, 1, 1)},
      {"TEST-DATA_DC8_20190521_R0.ict", "1", false, {"0", "1", "2.00001"}, interval1(L(3), 2.00001, 1, 1)},
      {"TEST-DATA_DC8_20190521_R0.ict", "60", false, {"0", "60", "120"}, ""},
      {"TEST-DATA_DC8_20190521_R0.ict", "60", false, {"0", "60", "100"}, interval1(L(3), 100, 60, 60)},
      {"TEST-DATA_DC8_20190521_R0.ict", "10", true, {"0", "10", "15"}, interval1(L(3), 15, 10, 10)},
      {"TEST-DATA_DC8_20190521_R0.ict", "0.5", false, {"0", "0.5", "1"}, ""},
      {"TEST-DATA_DC8_20190521_R0.ict", "0.5", false, {"0", "0.5", "1.5"}, interval6(L(3), 1.5, 0.5, 0.5)},
      // GROUND: any increase passes, no increase fails.
      {"TEST-DATA_GROUND_20190521_R0.ict", "1", false, {"0", "5", "5"}, notIncreasing(L(3), 5, 5)},
      {"TEST-DATA_GROUND_20190521_R0.ict", "1", false, {"0", "5", "7"}, ""},
      {"TEST-DATA_GROUND_20190521_R0.ict", "1", false, {"0", "5", "4.5"}, notIncreasing(L(3), 4.5, 5)},
      {"TEST-DATA_ground_20190521_R0.ict", "1", false, {"0", "5", "5"}, notIncreasing(L(3), 5, 5)},
      {"TEST-DATA_GROUND_20190521_R0.ict", "-1", false, {"0", "5", "3"}, notIncreasing(L(3), 3, 5)},
      {"TEST-DATA_GROUND_20190521_R0.ict", "-1", false, {"0", "-1", "3"}, ""},  // exactly the interval
      // SATELLITE, TRAJECTORY, MOZAIC: irregular intervals must increase, regular ones must match.
      {"TEST-DATA_SATELLITE_20190521_R0.ict", "-1", false, {"0", "3", "10"}, ""},
      {"TEST-DATA_SATELLITE_20190521_R0.ict", "-1", false, {"0", "3", "3"}, notIncreasing(L(3), 3, 3)},
      {"TEST-DATA_SATELLITE_20190521_R0.ict", "10", true, {"0", "10", "19"}, interval1(L(3), 19, 10, 10)},
      {"TEST-DATA_SATELLITE_20190521_R0.ict", "10", true, {"0", "10", "20"}, ""},
      {"TEST-DATA_SATELLITE_20190521_R0.ict", "1", false, {"0", "5", "7"}, interval1(L(2), 5, 0, 1) + interval1(L(3), 7, 5, 1)},
      {"TEST-DATA_TRAJECTORY_20190521_R0.ict", "1", false, {"0", "5"}, interval1(L(2), 5, 0, 1)},
      {"TEST-DATA_TRAJECTORY_20190521_R0.ict", "-1", false, {"0", "5", "2"}, notIncreasing(L(3), 2, 5)},
      {"TEST-DATA_MOZAIC_20190521_R0.ict", "1", false, {"0", "5"}, interval1(L(2), 5, 0, 1)},
      {"TEST-DATA_MOZAIC_20190521_R0.ict", "-1", false, {"0", "5", "6"}, ""},
      // The platform comes before the dataID.
      {"MRG60_SATELLITE_20190521_R0.ict", "1", false, {"0", "5"}, interval1(L(2), 5, 0, 1)},
      {"BOXMODEL_TRAJECTORY_20190521_R0.ict", "1", false, {"0", "5"}, interval1(L(2), 5, 0, 1)},
      // Listed dataIDs on other platforms: any increase passes.
      {"MRG60_DC8_20190521_R0.ict", "1", false, {"0", "5", "7"}, ""},
      {"MRG60_DC8_20190521_R0.ict", "1", false, {"0", "5", "5"}, notIncreasing(L(3), 5, 5)},
      {"mrg60_DC8_20190521_R0.ict", "1", false, {"0", "5", "4"}, notIncreasing(L(3), 4, 5)},
      {"MRG10_DC8_20190521_R0.ict", "10", false, {"0", "3", "4"}, ""},
      {"MRG10_DC8_20190521_R0.ict", "10", false, {"0", "3", "3"}, notIncreasing(L(3), 3, 3)},
      {"BOXMODEL_DC8_20190521_R0.ict", "1", false, {"0", "5", "7"}, ""},
      {"BoxModel_MODEL_20190521_R0.ict", "1", false, {"0", "5", "5"}, notIncreasing(L(3), 5, 5)},
      {"GEOS-CHEM_DC8_20190521_R0.ict", "1", false, {"0", "5", "7"}, ""},
      {"geos-chem_DC8_20190521_R0.ict", "1", false, {"0", "5", "7"}, ""},
      {"GEOS_DC8_20190521_R0.ict", "1", false, {"0", "5", "7"}, ""},                // a leading part of GEOS-CHEM
      {"GEOS-CHEM-V12_DC8_20190521_R0.ict", "1", false, {"0", "5", "7"}, ""},       // its first nine characters
      {"GEOS-CHEM_DC8_20190521_R0.ict", "1", false, {"0", "5", "5"}, notIncreasing(L(3), 5, 5)},
      {"GEOX_DC8_20190521_R0.ict", "1", false, {"0", "5"}, interval1(L(2), 5, 0, 1)},
      {"MRG600_DC8_20190521_R0.ict", "1", false, {"0", "5"}, interval1(L(2), 5, 0, 1)},  // not equal to MRG60
      {"MRG6_DC8_20190521_R0.ict", "1", false, {"0", "5"}, interval1(L(2), 5, 0, 1)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " interval " + c.interval + " times " + c.times.back());
    ScanOptions opt;
    opt.interval = ConstantEqual;
    opt.extraIntervals = c.extra;
    DataScan s = scanData(constantTimes(c.interval, c.times), c.name, opt);
    EXPECT_EQ(s.messages, c.expected);
    EXPECT_EQ(s.res.status, c.expected.empty() ? 0 : 10);
  }
}

TEST(DataTimesInterval, ErrorsOfEveryRecordAreWritten) {
  ScanOptions opt;
  opt.interval = ConstantEqual;
  DataScan s = scanData(constantTimes("1", {"0", "2", "3", "5", "4"}), kName, opt);
  EXPECT_EQ(s.messages, interval1(L(2), 2, 0, 1) + interval1(L(4), 5, 3, 1) + interval1(L(5), 4, 5, 1));
  EXPECT_EQ(s.res.status, 10);
}

TEST(DataTimesInterval, BlocksCompareTheirUnboundedLines) {
  struct Case {
    int ffi;
    std::vector<std::string> data;
    std::string expected;
  };
  IcarttBuilder b2110 = IcarttBuilder::ffi2110();
  IcarttBuilder b2310 = IcarttBuilder::ffi2310();
  const int nh2110 = b2110.computedNH(), nh2310 = b2310.computedNH();
  Case cases[] = {
      {2110,
       {"100, 110, 105, 1", "500, 40.1, 280.5", "110, 120, 115, 1", "500, 40.1, 280.5"},
       ""},
      {2110,
       {"100, 110, 105, 2", "500, 40.1, 280.5", "1000, 41.2, 277.1", "108, 118, 108, 0"},
       warn1(nh2110 + 4, 108, 118) + overlap1(nh2110 + 4, 108, 110)},
      {2310,
       {"100, 110, 105, 2, 500, 250", "40.1, 41.2", "1.1, 1.2", "120, 110, 115, 0, 500, 250"},
       warn1(nh2310 + 4, 120, 110) + order1(nh2310 + 4, 120, 110)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ffi);
    IcarttBuilder b = c.ffi == 2110 ? b2110 : b2310;
    b.data = c.data;
    DataScan s = scanData(b);
    EXPECT_EQ(s.messages, c.expected);
    EXPECT_EQ(s.res.status, c.expected.empty() ? 0 : 10);
  }
}

// ---- direct calls ----

struct Direct {
  ScanContext ctx;
  Direct(TimeIntervalType type, double interval, int isInteger, int platform = 0, const std::string& dataID = "TEST") {
    ctx.run.timeIntervalType = type;
    ctx.hdr.numHeaderLines = 20;
    ctx.hdr.dataInterval = interval;
    ctx.hdr.dataIntervalIsInteger = isInteger;
    variable(ctx, VarKind::Independent, 0).define("Time_Start, seconds, start");
    ctx.fn.platformCode = platform;
    ctx.fn.dataID = dataID;
  }
  int32_t check(int64_t line, std::vector<double> prev, std::vector<double> cur) {
    return checkRecordTimes(ctx, line, prev.data(), cur.data());
  }
};

TEST(DataTimesDirect, IrregularIntervalZero) {
  struct Case {
    int platform;
    double interval;
    double prev, cur;
    std::string expected;
  } cases[] = {
      {2, 0, 10, 11, ""},
      {2, 0, 10, 1000, ""},
      {2, 0, 10, 10, ""},  // a difference equal to the interval 0 passes before the increase is asked
      {2, 0, 10, 9, notIncreasing(22, 9, 10)},
      {10, 0, 10, 30, ""},
      {7, 0, 10, 8, notIncreasing(22, 8, 10)},
      {4, 0, 10, 10.5, ""},
      {0, 0, 10, 10.5, interval1(22, 10.5, 10, 0)},
      {0, 0, 10, 10, ""},
      {2, 0, 10, 10.0000001, ""},
      {2, 10, 0, 9, interval1(22, 9, 0, 10)},
      {2, 10, 0, 10, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.platform) + " " + std::to_string(c.interval) + " " + std::to_string(c.cur));
    Direct d(ConstantEqual, c.interval, 1, c.platform);
    EXPECT_EQ(d.check(22, {c.prev, 0, 0}, {c.cur, 0, 0}), c.expected.empty() ? 0 : 10);
    EXPECT_EQ(d.ctx.report.contents(), c.expected);
  }
}

TEST(DataTimesDirect, TemplatesAreChosenOnTheFirstCall) {
  Direct d(ConstantEqual, 0.5, 0);
  EXPECT_EQ(d.check(21, {0, 0, 0}, {1, 0, 0}), 10);
  d.ctx.hdr.dataIntervalIsInteger = 1;  // no longer looked at
  EXPECT_EQ(d.check(22, {1, 0, 0}, {3, 0, 0}), 10);
  EXPECT_EQ(d.ctx.report.contents(), interval6(21, 1, 0, 0.5) + interval6(22, 3, 1, 0.5));
}

TEST(DataTimesDirect, StartTimeIsCheckedOnTheFirstCallOnly) {
  Direct d(ConstantEqual, 1, 1);
  d.ctx.fn.minute = 1;
  EXPECT_EQ(d.check(22, {59.5, 0, 0}, {60.5, 0, 0}), 10);
  EXPECT_EQ(d.check(23, {60.5, 0, 0}, {61.5, 0, 0}), 0);
  EXPECT_EQ(d.ctx.report.contents(), startTimeConstant(21, "Time_Start, seconds, start", 59.5, 60));
}

TEST(DataTimesDirect, EachCallReturnsItsOwnResult) {
  // A clean pair after a failing one passes: nothing of an earlier call carries over.
  Direct d(StartStopMid, 0, 1);
  EXPECT_EQ(d.check(22, {100, 110, 105}, {105, 120, 115}), 10);
  const std::string afterFailure = d.ctx.report.contents();
  EXPECT_EQ(d.check(23, {105, 120, 115}, {120, 130, 125}), 0);
  EXPECT_EQ(d.ctx.report.contents(), afterFailure);
}

TEST(DataTimesDirect, UnknownIntervalType) {
  for (int value : {2, 7, 255}) {
    SCOPED_TRACE(value);
    Direct d(static_cast<TimeIntervalType>(value), 1, 1);
    EXPECT_EQ(d.check(25, {0, 0, 0}, {1, 0, 0}), 10);
    Report link;
    link.contactLink(fmt("ERR_FILEDT (value=0x%d)", value).c_str());
    EXPECT_EQ(d.ctx.report.contents(),
              red(fmt("<br>Line%d: Sampling Time Error - Tarvik could not determine the \"Sampling Interval Type\" (value read 0x%d). \n", 25, value) +
                  "If this error persists, please contact the " + link.contents() + " to report it. Thank you.<br><hr>\n"));
    EXPECT_TRUE(has(link.contents(), fmt("?subject=ERR_FILEDT (value=0x%d)\"", value)));
  }
}

}  // namespace
}  // namespace tarvik::test
