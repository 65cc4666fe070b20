#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "scan/header_test_util.h"

namespace tarvik::test {
namespace {

using namespace hdr;

struct Case {
  const char* what;
  std::function<void(IcarttBuilder&)> change;
  int32_t status;
  std::string messages;
  std::string name = kName;
};

void runCases(const std::vector<Case>& cases, IcarttBuilder (*make)()) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    IcarttBuilder b = make();
    c.change(b);
    Scan s = scan(b, c.name);
    EXPECT_EQ(s.res.status, c.status);
    EXPECT_EQ(s.messages, kHeaderStart + c.messages);
  }
}

IcarttBuilder nv4() { return IcarttBuilder::ffi1001(); }
IcarttBuilder nv3() { return IcarttBuilder::ffi1001(1); }
IcarttBuilder f2110() { return IcarttBuilder::ffi2110(); }

const std::string kScaleClosing = red("Error found while verifying Header Line11 (Scale factors).<br>\n");
const std::string kMissingClosing = red("Error found while verifying Header Line12 (Missing data indicators).<br>\n");
const std::string kScaleNotice =
    "<br><strong style=\"background-color:#FF9966; color:#000000\">Please Read - Header Line11: Scale Factor(s) found on this line NOT_EQUAL_TO 1. If this is not what you intended, then this is a MAJOR ERROR and needs correction. \n"
    "Please see \"Scale Factor\" topic discussion in the ICARTT Data Format Document.</strong><br><br>\n";

std::string flagError(int line, int var, const std::string& shown) {
  return "Error Header Line" + std::to_string(line) + " (var" + std::to_string(var) + "): The missing data flag (" +
         shown + ") expected for this variable is -999, or -9999, or -99999, ..etc.<br />\n";
}
std::string flagWarning(int line, int var, const std::string& shown) {
  return "Warning (Field Data) Header Line" + std::to_string(line) + ": Missing data flag (" + shown +
         ") expected for var" + std::to_string(var) +
         " is -999, or -9999, or -99999, .etc. <br />Please note this will be an ERROR for Preliminary/Final Data.<br /><br />\n";
}

TEST(HeaderVariablesText, DefinitionAndCommentLines) {
  std::vector<Case> cases = {
      {"short name only", [](IcarttBuilder& b) { b.vars[2] = "V1"; }, 10,
       red("Error: Header Line15: Can't read variable \"units\". Please separate name and units by commas.<br>\n") +
           echoA(15, "V1\n")},
      {"name and units", [](IcarttBuilder& b) { b.vars[2] = "V1, ppbv"; }, 0,
       orange("Warning Line15: Can't read \"optional\" long descriptive name. Please separate items by commas.<br>\n") +
           echoA(15, "V1, ppbv\n")},
      {"independent variable without units", [](IcarttBuilder& b) { b.independent = "Start_UTC"; }, 10,
       red("Error: Header Line9: Can't read variable \"units\". Please separate name and units by commas.<br>\n") +
           echoA(9, "Start_UTC\n")},
      {"three items pass silently", [](IcarttBuilder& b) { b.vars[2] = "V1, ppbv, a, b"; }, 0, ""},
      {"comment line without commas", [](IcarttBuilder& b) { b.specialComments = {"No commas in this comment"}; }, 0,
       ""},
      {"PI line without commas", [](IcarttBuilder& b) { b.pi = "Ostrel"; }, 0, ""},
  };
  runCases(cases, nv4);
}

TEST(HeaderVariablesText, AuxiliaryDefinitionWithoutUnits) {
  std::vector<Case> cases = {
      {"aux definition", [](IcarttBuilder& b) { b.auxVars[1] = "Mid_UTC"; }, 10,
       red("Error: Header Line20: Can't read variable \"units\". Please separate name and units by commas.<br>\n") +
           echoA(20, "Mid_UTC\n")},
      {"bounded variable", [](IcarttBuilder& b) { b.bounded = "Altitude"; }, 10,
       red("Error: Header Line9: Can't read variable \"units\". Please separate name and units by commas.<br>\n") +
           echoA(9, "Altitude\n")},
  };
  runCases(cases, f2110);
}

TEST(HeaderVariablesCount, CountLines) {
  const std::string intExpected =
      "<br>\nThs error could be due to a mismatch in the NumHeaderLines on line1, NumVariables on line10, NumSpecialComments and/or NumNormalComments.<br>\n";
  std::vector<Case> cases = {
      {"NV 4095", [](IcarttBuilder& b) { b.nvLine = "4095"; }, 10,
       red("Error: Header Line10: Header No. Vars value exceeded (or outside boundaries). The expected value here is between 1 and 4094.<br>\n")},
      {"NV 0", [](IcarttBuilder& b) { b.nvLine = "0"; }, 10,
       red("Error: Header Line10: Header No. Vars value exceeded (or outside boundaries). The expected value here is between 1 and 4094.<br>\n")},
      {"NV not a number", [](IcarttBuilder& b) { b.nvLine = "x"; }, 10,
       red("Error: Header Line10: an integer value was expected on this line." + intExpected) + echoA(10, "x\n")},
      {"NV with a comment", [](IcarttBuilder& b) { b.nvLine = "4; four variables, here"; }, 0, ""},
      {"NSCOM 3 with a comment", [](IcarttBuilder& b) {
         b.nscomLine = "3; three special comments";
         b.specialComments = {"one", "two", "three"};
       }, 0, ""},
      {"NNCOM 4096", [](IcarttBuilder& b) { b.nncomLine = "4096"; }, 10,
       red("Error: Header Line18: Header No. Normal Comments value exceeded (or outside boundaries). The expected value here is between 0 and 4095.<br>\n")},
      {"NSCOM negative", [](IcarttBuilder& b) { b.nscomLine = "-1"; }, 10,
       red("Error: Header Line17: Header No. Special Comments value exceeded (or outside boundaries). The expected value here is between 0 and 4095.<br>\n")},
  };
  runCases(cases, nv4);
}

TEST(HeaderVariablesCount, CommentedCountIsReadAsItsNumber) {
  IcarttBuilder b = IcarttBuilder::ffi1001();
  b.nscomLine = "3; three special comments";
  b.specialComments = {"one", "two", "three"};
  Scan s = scan(b);
  ASSERT_EQ(s.res.status, 0) << s.messages;
  EXPECT_TRUE(has(s.header, row(17, "#_Special_Comments (S_COMM)", "3")));
  EXPECT_TRUE(has(s.header, row(20, "S_COMM_Line3", "three\n")));
}

TEST(HeaderVariablesCount, AuxiliaryCount) {
  std::vector<Case> cases = {
      {"NAUXV 0", [](IcarttBuilder& b) { b.nauxLine = "0"; }, 10,
       red("Error: Header Line16: Header No. Auxiliary Vars value exceeded (or outside boundaries). The expected value here is between 1 and 4095.<br>\n")},
  };
  runCases(cases, f2110);
}

TEST(HeaderVariablesScale, ScaleLines) {
  std::vector<Case> cases = {
      {"0.001 gives one notice", [](IcarttBuilder& b) { b.scales = "1, 1, 0.001, 1"; }, 0, kScaleNotice},
      {"two factors not 1 give one notice", [](IcarttBuilder& b) { b.scales = "2, 1, 0.001, 1"; }, 0, kScaleNotice},
      {"1.0000001 is 1", [](IcarttBuilder& b) { b.scales = "1.0000001, 1, 1, 1"; }, 0, ""},
      {"a token that is not a number", [](IcarttBuilder& b) { b.scales = "1, x, 1, 1"; }, 10,
       red("Error Header Line11: expecting 4 values , but found 3 instead. This error could also be due to invalid chars found on this line.<br>\n") +
           echoC(11, "1  x  1  1\n") + kScaleClosing},
  };
  runCases(cases, nv4);
}

TEST(HeaderVariablesScale, ItemCountFailsBeforeValuesAreRead) {
  std::vector<Case> cases = {
      {"1, 1 for NV 3", [](IcarttBuilder& b) { b.scales = "1, 1"; }, 10,
       red("Error - Header  Line11: Either the delimiter(s) NOT compliant or the number of items on this line NOT matching; delimiters should be all commas. See ICARTT File Format document for details. \n"
           "<br>The expected number of individual items (i.e., data points or labels) on this line = 3; the number of items found =  2.<br>\n"
           "<br />The expected number of \"commas\" on this line = 2; the number of \"commas\" found =  1.<br />\n") +
           echoA(11, "1, 1\n") + kScaleClosing},
  };
  runCases(cases, nv3);
}

TEST(HeaderVariablesScale, AuxiliaryScaleLineClosesAsLine11) {
  std::vector<Case> cases = {
      {"aux 1, 1 for NAUXV 3", [](IcarttBuilder& b) { b.auxScales = "1, 1"; }, 10,
       red("Error - Header  Line17: Either the delimiter(s) NOT compliant or the number of items on this line NOT matching; delimiters should be all commas. See ICARTT File Format document for details. \n"
           "<br>The expected number of individual items (i.e., data points or labels) on this line = 3; the number of items found =  2.<br>\n"
           "<br />The expected number of \"commas\" on this line = 2; the number of \"commas\" found =  1.<br />\n") +
           echoA(17, "1, 1\n") + kScaleClosing},
      {"aux factor 10000 gives the notice for its own line", [](IcarttBuilder& b) { b.auxScales = "1, 10000, 1"; }, 0,
       "<br><strong style=\"background-color:#FF9966; color:#000000\">Please Read - Header Line17: Scale Factor(s) found on this line NOT_EQUAL_TO 1. If this is not what you intended, then this is a MAJOR ERROR and needs correction. \n"
       "Please see \"Scale Factor\" topic discussion in the ICARTT Data Format Document.</strong><br><br>\n"},
  };
  runCases(cases, f2110);
}

TEST(HeaderVariablesMissing, SingleFlags) {
  struct Flag {
    const char* flag;
    std::string message;  // empty: passes
  } flags[] = {
      {"-99", ""},
      {"-999", ""},
      {"-9999", ""},
      {"-999999999", ""},
      {"-99999999999", ""},  // eleven nines: at or below -9999999999, not tested
      {"-9999999999", ""},
      {"-8888", red(flagError(12, 4, "-8888.00"))},
      {"-50", red(flagError(12, 4, "-50.00"))},
      {"-90", red(flagError(12, 4, "-90.00"))},  // a multiple of 9 above -99
      {"-9990", red(flagError(12, 4, "-9990.00"))},
      {"-5000000000", red(flagError(12, 4, "-5000000000.00"))},
      {"-2147483646", red(flagError(12, 4, "-2147483646.00"))},  // a multiple of 9, not all nines
  };
  for (const Flag& f : flags) {
    SCOPED_TRACE(f.flag);
    IcarttBuilder b = IcarttBuilder::ffi1001();
    b.missing = std::string("-9999, -9999, -9999, ") + f.flag;
    Scan s = scan(b);
    EXPECT_EQ(s.res.status, f.message.empty() ? 0 : 10);
    EXPECT_EQ(s.messages, kHeaderStart + (f.message.empty() ? "" : f.message + kMissingClosing));
    if (f.message.empty()) {
      EXPECT_TRUE(has(s.header, row(12, "Missing Data Indicator(s)", std::string(" -9999, -9999, -9999, ") + f.flag)));
    }
  }
}

IcarttBuilder fieldData() {
  IcarttBuilder b = IcarttBuilder::ffi1001();
  setComment(b, "REVISION:", "REVISION: RA");
  return b;
}
const std::string kFieldName = "TEST-DATA_DC8_20190521_RA.ict";

TEST(HeaderVariablesMissing, FieldDataOnlyWarnsAboutDigits) {
  {
    IcarttBuilder b = fieldData();
    b.missing = "-9999, -9999, -9999, -9990";
    Scan s = scan(b, kFieldName);
    EXPECT_EQ(s.res.status, 0);
    EXPECT_EQ(s.messages, kHeaderStart + orange(flagWarning(12, 4, "-9990.00")));
  }
  {
    IcarttBuilder b = fieldData();
    b.missing = "-9999, -9999, -9999, -8888";
    Scan s = scan(b, kFieldName);
    EXPECT_EQ(s.res.status, 10);
    EXPECT_EQ(s.messages, kHeaderStart + red(flagError(12, 4, "-8888.00")) + kMissingClosing);
  }
}

TEST(HeaderVariablesMissing, TwentyComplaintsThenTheTooManyNotice) {
  const std::string notice = "<br /><br />Too many missing data flags misusage ...<br /><br />\n";
  std::string list;
  for (int i = 0; i < 25; ++i) list += (i ? ", " : "") + std::string("-9990");
  {
    IcarttBuilder b = IcarttBuilder::ffi1001(23);
    ASSERT_EQ(b.vars.size(), 25u);
    b.missing = list;
    Scan s = scan(b);
    std::string expected;
    for (int i = 1; i <= 19; ++i) expected += red(flagError(12, i, "-9990.00"));
    expected += red(flagError(12, 20, "-9990.00") + notice);
    EXPECT_EQ(s.res.status, 10);
    EXPECT_EQ(s.messages, kHeaderStart + expected + kMissingClosing);
  }
  {
    IcarttBuilder b = IcarttBuilder::ffi1001(23);
    setComment(b, "REVISION:", "REVISION: RA");
    b.missing = list;
    Scan s = scan(b, kFieldName);
    std::string expected;
    for (int i = 1; i <= 19; ++i) expected += orange(flagWarning(12, i, "-9990.00"));
    expected += orange(flagWarning(12, 20, "-9990.00") + notice);
    EXPECT_EQ(s.res.status, 0);
    EXPECT_EQ(s.messages, kHeaderStart + expected);
  }
}

TEST(HeaderVariablesMissing, ValueErrorsAreNotCappedByTheDigitBudget) {
  // 21 digit complaints, then a flag above -99: the last one is still reported.
  IcarttBuilder b = IcarttBuilder::ffi1001(20);
  std::string list;
  for (int i = 0; i < 21; ++i) list += "-9990, ";
  b.missing = list + "-50";
  Scan s = scan(b);
  EXPECT_EQ(s.res.status, 10);
  EXPECT_TRUE(has(s.messages, red(flagError(12, 22, "-50.00")))) << s.messages;
  EXPECT_FALSE(has(s.messages, "(var21)"));
  EXPECT_EQ(countOf(s.messages, "Too many missing data flags misusage"), 1u);
}

TEST(HeaderVariablesMissing, ListErrors) {
  std::vector<Case> cases = {
      {"a flag that is not a number", [](IcarttBuilder& b) { b.missing = "-9999, -9999, -9999, N/A"; }, 10,
       red("Error Header Line12: expecting 4 values  but found 3 instead.\n"
           "<br>This error could also be due to invalid chars (or data delimiters) found on this line.\n") +
           echoC(12, "-9999  -9999  -9999  N/A\n") + kMissingClosing},
      {"too few items", [](IcarttBuilder& b) { b.missing = "-9999, -9999, -9999"; }, 10,
       red("Error - Header  Line12: Either the delimiter(s) NOT compliant or the number of items on this line NOT matching; delimiters should be all commas. See ICARTT File Format document for details. \n"
           "<br>The expected number of individual items (i.e., data points or labels) on this line = 4; the number of items found =  3.<br>\n"
           "<br />The expected number of \"commas\" on this line = 3; the number of \"commas\" found =  2.<br />\n") +
           echoA(12, "-9999, -9999, -9999\n") + kMissingClosing},
  };
  runCases(cases, nv4);
}

TEST(HeaderVariablesMissing, AuxiliaryFlags) {
  std::vector<Case> cases = {
      {"aux flag -8888", [](IcarttBuilder& b) { b.auxMissing = "-9999, -8888, -9999"; }, 10,
       red(flagError(18, 2, "-8888.00")) + kMissingClosing},
  };
  runCases(cases, f2110);
}

}  // namespace
}  // namespace tarvik::test
