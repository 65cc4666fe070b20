#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "scan/header_test_util.h"

namespace tarvik::test {
namespace {

using namespace hdr;

struct LineCase {
  const char* what;
  std::function<void(IcarttBuilder&)> change;
  std::string name;
  ScanOptions opt;
  int32_t status;
  std::string messages;  // every message of the header phase, in order
};

IcarttBuilder base1001() { return IcarttBuilder::ffi1001(); }

void runCases(const std::vector<LineCase>& cases, IcarttBuilder (*make)() = base1001) {
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.what);
    IcarttBuilder b = make();
    c.change(b);
    Scan s = scan(b, c.name, c.opt);
    EXPECT_EQ(s.res.status, c.status);
    EXPECT_EQ(s.messages, kHeaderStart + c.messages);
    EXPECT_EQ(has(s.header, kSummaryStart), c.status != 10);
  }
}

const std::string kLine1Closing =
    red("Error found while verifying Header Line1 (Number of lines in header, file format index).<br>\n");
const std::string kLine6Closing =
    red("Error found while verifying Header Line6 (volume number, number of file volumes).<br>\n");
const std::string kLine7Closing =
    red("Error found while verifying Header Line7 (Data Collection Date, Data Revision Date).<br>\n");
const std::string kDateMismatch = red(
    "Error - Header Line7: UTC File DATES mismatch. Filename DATE should be the same as data Collection (or Flight) DATE in header.");

TEST(HeaderFixedLine1, RangeAndFfi) {
  std::vector<LineCase> cases = {
      {"NH 14", [](IcarttBuilder& b) { b.nh = 14; }, kName, {}, 10,
       red("Error: Header Line1: Header Lines (NH) value exceeded (or outside boundaries). The expected value here is between 15 and 4000.<br>\n") +
           kLine1Closing},
      {"NH 4000 passes line 1 and fails only the NH sum",
       [](IcarttBuilder& b) { b.nh = 4000; }, kName, {}, 10,
       red("<br>Error Header Line1, where, 4000(read) != 41(expected). The NumHeaderLines Value for FFI=2110 File type must equal to (18 + NumIndependentVars + NumAuxiliaryVars + NumSpecialComments + NumNormalComments).<br>\n"
           "Values Read: NumHeaderLines=4000; NumIndependentVars=2; NumAuxiliaryVars=3; NumSpecialComments=0; NumNormalComments=18<br>\n")},
      {"NH 4001", [](IcarttBuilder& b) { b.nh = 4001; }, kName, {}, 10,
       red("Error: Header Line1: Header Lines (NH) value exceeded (or outside boundaries). The expected value here is between 15 and 4000.<br>\n") +
           kLine1Closing},
      {"FFI 1002", [](IcarttBuilder& b) { b.line1 = "41, 1002"; }, kName, {}, 10,
       red("Error: Header Line1: FFI value = 1002 is undefined. The expected value here is 1001, 2110, or 2310 <br>\n") +
           kLine1Closing},
  };
  // FFI 2110: the line-ending pass checks data lines of FFI 1001 only, so a small NH reaches the header.
  runCases(cases, [] { return IcarttBuilder::ffi2110(); });
}

TEST(HeaderFixedLine6, Volumes) {
  const std::string v2 = "TEST-DATA_DC8_20190521_R0_V2.ict";
  std::vector<LineCase> cases = {
      {"2, 3 without a volume section", [](IcarttBuilder& b) { b.line6 = "2, 3"; }, kName, {}, 10,
       red("Error: Header Line6: Header_Start_Volume value exceeded (or outside boundaries). The expected value here is 1 <br>\n") +
           kLine6Closing},
      {"2, 3 with V2", [](IcarttBuilder& b) { b.line6 = "2, 3"; }, v2, {}, 0, ""},
      {"1, 2 with V2", [](IcarttBuilder& b) { b.line6 = "1, 2"; }, v2, {}, 0, ""},
      {"2, 1 with V2", [](IcarttBuilder& b) { b.line6 = "2, 1"; }, v2, {}, 10,
       red("Error: Header Line6: Header_End_Volume value exceeded (or outside boundaries). The expected value here is GREATER_THAN 2.<br>\n") +
           kLine6Closing},
      {"3, 3 with V2", [](IcarttBuilder& b) { b.line6 = "3, 3"; }, v2, {}, 10,
       red("Error: Header Line6: Header_Start_Volume value exceeded (or outside boundaries). The expected value here is 1 OR 2<br>\n") +
           kLine6Closing},
      {"three items", [](IcarttBuilder& b) { b.line6 = "1, 1, 1"; }, kName, {}, 10,
       red("Error - Header  Line6: Either the delimiter(s) NOT compliant or the number of items on this line NOT matching; delimiters should be all commas. See ICARTT File Format document for details. \n"
           "<br>The expected number of individual items (i.e., data points or labels) on this line = 2; the number of items found >= 3.<br>\n"
           "<br />The expected number of \"commas\" on this line = 1; the number of \"commas\" found >= 2.<br />\n") +
           echoA(6, "1, 1, 1\n") + kLine6Closing},
  };
  runCases(cases);
}

TEST(HeaderFixedLine6, SummaryShowsTheFileNameVolume) {
  IcarttBuilder b = IcarttBuilder::ffi1001();
  b.line6 = "2, 3";
  Scan s = scan(b, "TEST-DATA_DC8_20190521_R0_V2.ict");
  EXPECT_EQ(s.res.status, 0) << s.messages;
  EXPECT_TRUE(has(s.header, row(6, "File Number, Volume Number", "2, 3 <i>[Filename _V#=2]</i>"))) << s.header;
}

TEST(HeaderFixedLine7, Dates) {
  std::vector<LineCase> cases = {
      {"equal dates", [](IcarttBuilder& b) { b.line7 = "2019, 05, 21, 2019, 05, 21"; }, kName, {}, 0, ""},
      {"revision before collection", [](IcarttBuilder& b) { b.line7 = "2019, 05, 21, 2019, 05, 20"; }, kName, {}, 10,
       red("Error - Header Line7: UTC Date : Revision Date can't be less than Collection (or Flight) Date.<br>\n") +
           kLine7Closing},
      {"collection date differs from the file name", [](IcarttBuilder& b) { b.line7 = "2019, 05, 22, 2019, 06, 01"; },
       kName, {}, 10, kDateMismatch + kLine7Closing},
      {"revision before collection and date mismatch",
       [](IcarttBuilder& b) { b.line7 = "2019, 05, 22, 2019, 05, 21"; }, kName, {}, 10,
       red("Error - Header Line7: UTC Date : Revision Date can't be less than Collection (or Flight) Date.<br>\n") +
           kDateMismatch + kLine7Closing},
      {"month out of range", [](IcarttBuilder& b) { b.line7 = "2019, 13, 21, 2019, 06, 01"; }, kName, {}, 10,
       red("Error: Header Line7: Data Collection Date: Flt_mm value exceeded (or outside boundaries). The expected value here is between 1 and 12.<br>\n") +
           kDateMismatch + kLine7Closing},
      {"revision year out of range", [](IcarttBuilder& b) { b.line7 = "2019, 05, 21, 2030, 06, 01"; }, kName, {}, 10,
       red("Error: Header Line7: Data Revision Date: Rev_yyyy value exceeded (or outside boundaries). The expected value here is between 1980 and 2029.<br>\n") +
           kLine7Closing},
      {"no commas: fails before the dates are read", [](IcarttBuilder& b) { b.line7 = "2019 05 21 2019 06 01"; }, kName,
       {}, 10,
       red("Error - Header  Line7: Either the delimiter(s) NOT compliant or the number of items on this line NOT matching; delimiters should be all commas. See ICARTT File Format document for details. \n"
           "<br>The expected number of individual items (i.e., data points or labels) on this line = 6; the number of items found =  1.<br>\n"
           "<br />The expected number of \"commas\" on this line = 5; the number of \"commas\" found =  0.<br />\n") +
           echoA(7, "2019 05 21 2019 06 01\n") + kDateMismatch + kLine7Closing},
      {"a date item that is not a number", [](IcarttBuilder& b) { b.line7 = "2019, 05, 21, 2019, 06, xx"; }, kName, {},
       10,
       red("Error Header Line7: UTC Dates, expecting 6 values : \n"
           "Acq_Year(yyyy), Acq_Month(mm), Acq_Day(dd), Rev_Year(yyyy), Rev_Month(mm), Rev_Day(dd).\n"
           "<br>This error could also be due to invalid chars (or data delimiters) found on this line.\n") +
           echoC(7, "2019  05  21  2019  06  xx\n") + kLine7Closing},
  };
  runCases(cases);
}

TEST(HeaderFixedLine7, SummaryShowsTheDates) {
  IcarttBuilder b = IcarttBuilder::ffi1001();
  b.line7 = "2019, 5, 21, 2020, 1, 2";
  Scan s = scan(b);
  EXPECT_EQ(s.res.status, 0) << s.messages;
  EXPECT_TRUE(has(s.header, row(7, "Acquisition Date, Revision Date", "2019, 05, 21, 2020, 01, 02")));
}

const std::string kRule1 = red(
    "Error: Header Line8: \"Sampling Period\" value = -1 (indicating non-constant, non-uniform interval). This is only allowed for non-aircaft files (i.e., satellite, trajectory, ground, ..etc).\n");
const std::string kRule2 = red(
    "Error: Header Line8: \"Sampling Period\" in seconds acceptable values: 0 for Start/Stop/Mid-point Intervals, 1 (or less), or 60 for constant equal intervals.\n");
const std::string kRule3 = red(
    "Error: Header Line8: Sampling Period must be != 0 (non-zero) because you selected \"Time-Interval Type = Constant Equal (1 or less); {Or, irregular (Satellite/Trajectory/Ground)}\".\n"
    "Please correct this value or make the right selection for \"Time-Interval Type\" above.<br>\n");
const std::string kRule4 = red(
    "Error: Header Line8 (Sampling Period): The value expected is 0 -- because you selected \n"
    "Time-Interval Type = \"Start, Stop, and Mid-point\".\n"
    "Please correct this value or make the right selection for \"Time-Interval Type\" above.<br>\n");
const std::string kRule5 = red(
    "Error: Header Line8 (Sampling Period): The value expected here = 5, 10, 15, or 30\n"
    "<br>since the checkbox is selectd: \"Also Allow Intervals: 5, 10, 15, 30\"\n");
const std::string kRule6 = red(
    "Error: Header Line8 (Sampling Period): The value expected for constant equal intervals is 1 (or less), or 60.\n");

TEST(HeaderFixedLine8, IntervalRules) {
  const ScanOptions ssm{};
  const ScanOptions ce = constantEqual();
  const ScanOptions ssmX{StartStopMid, true};
  const ScanOptions ceX = constantEqual(true);
  const std::string ground = "TEST-DATA_GROUND_20190521_R0.ict";
  const std::string satellite = "TEST-DATA_SATELLITE_20190521_R0.ict";
  const std::string g = "G_DC8_20190521_R0.ict";  // G is a beginning of GEOS-CHEM
  const std::string geos = "GEOS-CHEM_DC8_20190521_R0.ict";
  const std::string mrg60 = "MRG60_DC8_20190521_R0.ict";
  const std::string boxmodel = "boxmodel_DC8_20190521_R0.ict";
  const std::string merge = "TEST-mrg10_DC8_20190521_R0.ict";
  struct Case {
    std::string value;
    ScanOptions opt;
    std::string name;
    std::string messages;
  } cases[] = {
      {"0", ssm, kName, ""},
      {"1", ssm, kName, kRule4},
      {"0.5", ssm, kName, kRule4},
      {"0.5", ce, kName, ""},
      {"60", ce, kName, ""},
      {"1", ce, kName, ""},
      {"2", ce, kName, kRule6},
      {"-1", ce, kName, kRule1},
      {"-1", ce, ground, ""},
      {"-1", ce, satellite, ""},
      {"-1", ce, g, ""},
      {"-1", ce, geos, ""},
      {"-1", ce, mrg60, ""},
      {"-1", ce, boxmodel, ""},
      {"-1", ssm, ground, kRule4},
      {"-2", ce, kName, kRule2},
      {"-2", ce, ground, kRule2},
      {"0", ce, kName, kRule3},
      {"30", ceX, kName, ""},
      {"5", ceX, kName, ""},
      {"60", ceX, kName, kRule5},
      {"1", ceX, kName, kRule5},
      {"0", ssmX, kName, kRule5},
      {"10", ce, merge, ""},
      {"60", ce, merge, kRule5},
      {"0", ssm, merge, kRule5},
      {"-1", ce, "MRG10_DC8_20190521_R0.ict", kRule5},
      {"1 0", ce, kName, ""},
      {"abc", ssm, kName,
       red("Error: Header Line8: \"Sampling Interval\"; a numerical value was expected on this line. Only numerical values allowed on this line.<br />\n") +
           "<font color='#0000FF'>Line8:</font> abc\n<br /><br />\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value + " / " + c.name + " / type " + std::to_string(c.opt.interval) +
                 (c.opt.extraIntervals ? " / extra" : ""));
    IcarttBuilder b = IcarttBuilder::ffi1001();
    b.line8 = c.value;
    Scan s = scan(b, c.name, c.opt);
    EXPECT_EQ(s.res.status, c.messages.empty() ? 0 : 10);
    EXPECT_EQ(s.messages, kHeaderStart + c.messages);
  }
}

TEST(HeaderFixedLine8, OneSpaceZeroIsReadAsOne) {
  IcarttBuilder b = IcarttBuilder::ffi1001();
  b.line8 = "1 0";
  Scan s = scan(b, kName, constantEqual());
  EXPECT_EQ(s.res.status, 0) << s.messages;
  EXPECT_TRUE(has(s.header, row(8, "Data Interval", "1.0"))) << s.header;
}

}  // namespace
}  // namespace tarvik::test
