#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan/core/scan_context.h"
#include "scan/header/keywords.h"
#include "scan/header_test_util.h"

namespace tarvik::test {
namespace {

using namespace hdr;

// ---- keywords and UNCERTAINTY ----

TEST(KeywordsLodUncertainty, ValueIsKeptOrEmptied) {
  struct Case {
    std::string line;
    std::string value;
  } cases[] = {
      {"uncertainty: 5 %\n", "5 %"},
      {"UNCERTAINTY: N/A\n", ""},
      {"UNCERTAINTY: n/a\n", ""},
      {"UNCERTAINTY: NA\n", ""},
      {"UNCERTAINTY: NaN\n", ""},
      {"UNCERTAINTY: N\n", ""},
      {"UNCERTAINTY: No\n", "No"},
      {"UNCERTAINTY: N/A, see notes\n", "N/A, see notes"},
      {"UNCERTAINTY:\n", ""},
      {"UNCERTAINTY:    10%\tcolumn\n", "10%"},
      {"UNCERTAINTY = 3 ppb: below 1 km\n", "= 3 ppb"},  // only the delimiter that ended the word is skipped
      {"UNCERTAINTY: " + std::string(600, 'x') + "\n", " " + std::string(499, 'x')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    ScanContext ctx;
    ctx.hdr.uncertaintyText = "stale";
    EXPECT_EQ(checkNormalComment(ctx, 20, c.line), 0);
    EXPECT_EQ(ctx.hdr.keywordCounts[kwUncertainty], 1);
    EXPECT_EQ(ctx.hdr.uncertaintyText, c.value);
  }
}

TEST(KeywordsLodUncertainty, LowerCaseKeywordCounts) {
  IcarttBuilder b = IcarttBuilder::ffi1001();
  setComment(b, "UNCERTAINTY:", "uncertainty: 5 %");
  Scan s = scan(b);
  EXPECT_EQ(s.res.status, 0) << s.header;
  EXPECT_TRUE(has(s.header, "<font size=\"-1\" color='#0000FF'> UNCERTAINTY; </font>\n"));
  EXPECT_EQ(errorBlocks(s.messages), 0u);
}

TEST(KeywordsLodUncertainty, NotApplicableIsAnUncertaintyError) {
  IcarttBuilder b = IcarttBuilder::ffi1001();
  setComment(b, "UNCERTAINTY:", "UNCERTAINTY: N/A");
  Scan s = scan(b);
  EXPECT_EQ(s.res.status, 10);
  EXPECT_TRUE(has(s.header, "<font size=\"-1\" color='#0000FF'> UNCERTAINTY; </font>\n"));
  EXPECT_TRUE(has(s.header, red("Error: Can't read UNCERTAINTY Value(s). UNCERTAINTY must be defined as data column(s), equation(s), or clearly described/explained in the header.<br>\n")));
  EXPECT_FALSE(has(s.header, "non-optional Keyword/Value"));
}

TEST(KeywordsLodUncertainty, TwiceIsMultiple) {
  IcarttBuilder b = IcarttBuilder::ffi1001();
  b.normalComments.push_back("UNCERTAINTY: 10 percent");
  Scan s = scan(b);
  EXPECT_EQ(s.res.status, 10);
  EXPECT_TRUE(has(s.header, "<i><font size=\"-1\" color='#FF0000'> UNCERTAINTY; </font></i>\n"));
  EXPECT_TRUE(has(s.header, red("<br>Error: 1 non-optional Keyword/Value Pair(s) missing (or entered incorrectly). Non-optional keywords are UNCERTAINTY and LODs.\n"
                                "If LODs are not used, enter N/A for their values. Example:<br>\n"
                                "<blockquote>LLOD_FLAG: N/A<br>LLOD_VALUE: N/A</blockquote>\n")));
}

// ---- revision ----

// The default header with its REVISION line replaced and its revision comment lines replaced.
IcarttBuilder withRevision(const std::string& revisionLine, const std::vector<std::string>& comments) {
  IcarttBuilder b = IcarttBuilder::ffi1001();
  setComment(b, "REVISION:", revisionLine);
  removeComment(b, "R0:");
  for (const auto& c : comments) b.normalComments.push_back(c);
  return b;
}

const std::string kR2 = "TEST-DATA_DC8_20190521_R2.ict";
const std::string kRA = "TEST-DATA_DC8_20190521_RA.ict";
const std::string kCumulative =
    "Please note, Revision numbers and comments are cumulative starting with the latest. For example,<blockquote>REVISION: R1; R0<br> R1: Enter text here specific to this revision <br> R0: No comments for this revision.</blockquote>\n";

std::string mustMatch(int line, const std::string& given, const std::string& expected) {
  return red("Error Line" + std::to_string(line) + ": (Header REVISION section): R# on this line(" + given +
             ") MUST match R# in filename(" + expected +
             "). Please do NOT left-pad the R value with leading zeros.<br>\n" + kCumulative);
}
std::string notGreater(int line, const std::string& word, int r) {
  return red("<br />Error Line" + std::to_string(line) + ": (Header REVISION section): R# on this line(" + word +
             ") must exist and can't be GREATER_THAN R# in filename(R" + std::to_string(r) + ").<br />\n");
}
std::string commentGreater(int line, const std::string& word, int r) {
  return red("<br />Error Line" + std::to_string(line) + ": (Header REVISION section): R# on this line(" + word +
             ") can't be GREATER_THAN R# in filename(R" + std::to_string(r) + ").<br />\n");
}
std::string incomplete(int expecting, int nncomLine, int nncom) {
  return red("<br>HEADER REVISION Section seems incomplete. Expecting " + std::to_string(expecting) +
             " separate 'Revision Comments'. Please note, revision numbers and comments are cumulative. For example,\n"
             "<blockquote>REVISION: R1; R0<br> R1: Enter text here specific to this revision <br> R0: No comments for this revision.</blockquote>This error could also be due to the NumNormalComments (Line" +
             std::to_string(nncomLine) + ": N_COMM=" + std::to_string(nncom) + ") not being correct \n");
}

TEST(KeywordsLodRevision, Cases) {
  const int rev = 34;  // the REVISION line of the default FFI 1001 header
  struct Case {
    const char* what;
    std::string name;
    std::string revisionLine;
    std::vector<std::string> comments;
    int32_t status;
    std::string messages;  // empty: none
  } cases[] = {
      {"R2; R1; R0 with both comments", kR2, "REVISION: R2; R1; R0", {"R2: Second.", "R1: First.", "R0: Original."}, 0,
       ""},
      {"R2 with R2 and R1 comments", kR2, "REVISION: R2", {"R2: Second.", "R1: First."}, 0, ""},
      {"lower case r2 and comments", kR2, "REVISION: r2", {"r2: Second.", "OTHER: between", "r1: First."}, 0, ""},
      {"R3 against R2", kR2, "REVISION: R3", {"R2: Second.", "R1: First."}, 7, mustMatch(rev, "R3", "R2")},
      {"left-padded R02", kR2, "REVISION: R02", {"R2: Second.", "R1: First."}, 7, mustMatch(rev, "R02", "R2")},
      {"no R: the R is put in front", kR2, "REVISION: 22", {}, 7, mustMatch(rev, "R22", "R2")},
      {"R2; R5", kR2, "REVISION: R2; R5", {"R2: Second.", "R1: First."}, 7, notGreater(rev, "R5", 2)},
      {"R2; text", kR2, "REVISION: R2; text", {"R2: Second.", "R1: First."}, 7, notGreater(rev, "text", 2)},
      {"no revision word", kR2, "REVISION:", {}, 7,
       red("Error Line34: (Header REVISION Section): R# on this line MUST exist and match R# in filename. Please do NOT left-pad the R value with leading zeros<br>\n")},
      {"R1 then R2 does not complete", kR2, "REVISION: R2", {"R1: First.", "R2: Second."}, 10, incomplete(3, 18, 19)},
      {"no revision comments", kR2, "REVISION: R2", {}, 10, incomplete(3, 18, 17)},
      {"only R2", kR2, "REVISION: R2", {"R2: Second."}, 10, incomplete(3, 18, 18)},
      {"an R3 comment line", kR2, "REVISION: R2", {"R2: Second.", "R3: Third."}, 7, commentGreater(36, "R3", 2)},
      {"an R1 comment line in an R0 file", kName, "REVISION: R0", {"R1: First."}, 7, commentGreater(35, "R1", 0)},
      {"R0 file without comments", kName, "REVISION: R0", {}, 0, ""},
      {"RA completes at once", kRA, "REVISION: RA", {}, 0, ""},
      {"ra completes at once", kRA, "REVISION: ra", {"R0: Field data."}, 0, ""},
      {"R0 against RA", kRA, "REVISION: R0", {}, 7, mustMatch(rev, "R0", "RA")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    IcarttBuilder b = withRevision(c.revisionLine, c.comments);
    ASSERT_EQ(lineOf(b, "REVISION"), rev);
    Scan s = scan(b, c.name);
    EXPECT_EQ(s.res.status, c.status);
    EXPECT_EQ(s.messages, kHeaderStart + c.messages);
    // A revision error still writes the table up to its line, but no keyword part.
    EXPECT_EQ(has(s.header, kSummaryStart), c.status != 10);
    EXPECT_EQ(has(s.header, kKeywordStart), c.status == 0);
  }
}

// ---- limits of detection ----

std::string lodBlock(const Scan& s) {
  return section(s.header, "<blockquote><i><u>Upper and Lower LOD's (values read):</u></i><br>\n", "</blockquote>\n");
}
std::string flagLine(const char* label, const std::string& values) {
  return std::string("<font size=\"-1\"> ") + label + ": </font><font size=\"-1\" color='#0000FF'>" + values +
         "</font><br>\n";
}
std::string llodFlagLine(const std::string& values) {
  return "<font size=\"-1\"> LLOD_FLAG: </font> <font size=\"-1\" color='#0000FF'>" + values + "</font><br>\n";
}
std::string flagMessage(char letter, int line, const std::string& echo, const std::string& shown) {
  const bool u = letter == 'U';
  return red(std::string("Error Header Line") + std::to_string(line) + ": The " + letter + "LOD_FLAG expected is " +
             (u ? "-777, -7777, or -77777" : "-888, -8888, or -88888") + ", etc.<br>\nThe " + letter +
             "LOD_FLAG Value should NOT be less than " + (u ? "-777777777" : "-888888888") +
             " (Nine (9) digits)<br />") +
         "<font color='#0000FF'>Line" + std::to_string(line) + ":</font> " + echo + " [" + shown + "]<br /><br />\n";
}
std::string tooMany(int line, int nv, const std::string& echo) {
  return red("Error Header Line" + std::to_string(line) +
             ": The number of points found on this line MUST NOT be GREATER_THAN the total number of primary variables (NV = " +
             std::to_string(nv) + "). Please remove any extra text from this line.<br />\n") +
         echoB(line, echo);
}
std::string stopTime(int line) {
  return red("<br />Error Header Line" + std::to_string(line) +
             ": [U/L]LOD_VALUE for <b>STOP_TIME</b> (independent variable) detected.<br />LODs do NOT apply to independent variables; please enter N/A for independent variable's LOD_VALUE.\n");
}

struct LodCase {
  const char* keyword;  // the comment replaced
  std::string line;
  int32_t status;
  std::string messages;
  std::vector<std::string> lodLines;  // lines expected in the LOD part
  ScanOptions opt = {};
};

void runLod(const std::vector<LodCase>& cases, IcarttBuilder (*make)()) {
  for (const LodCase& c : cases) {
    SCOPED_TRACE(c.line);
    IcarttBuilder b = make();
    setComment(b, c.keyword, c.line);
    if (c.opt.interval == ConstantEqual) b.line8 = "1";
    Scan s = scan(b, kName, c.opt);
    EXPECT_EQ(s.res.status, c.status);
    EXPECT_EQ(s.messages, kHeaderStart + c.messages);
    const std::string lod = lodBlock(s);
    for (const auto& l : c.lodLines) EXPECT_TRUE(has(lod, l)) << l << "\nin\n" << lod;
  }
}

IcarttBuilder nv3() { return IcarttBuilder::ffi1001(1); }
IcarttBuilder f2110() { return IcarttBuilder::ffi2110(); }

TEST(KeywordsLodFlags, PrimaryFlags1001) {
  // NV 3: ULOD_FLAG on line 25, ULOD_VALUE 26, LLOD_FLAG 27, LLOD_VALUE 28.
  ASSERT_EQ(lineOf(nv3(), "ULOD_FLAG"), 25);
  ASSERT_EQ(lineOf(nv3(), "LLOD_VALUE"), 28);
  std::vector<LodCase> cases = {
      {"ULOD_FLAG:", "ULOD_FLAG: -7777", 0, "", {flagLine("ULOD_FLAG", "-7777, -7777, -7777")}},
      {"ULOD_FLAG:", "ULOD_FLAG: -7777, -77777", 0, "", {flagLine("ULOD_FLAG", "-7777, -77777, -77777")}},
      {"ULOD_FLAG:", "ULOD_FLAG: -7777; -77777;-777", 0, "", {flagLine("ULOD_FLAG", "-7777, -77777, -777")}},
      {"ULOD_FLAG:", "ULOD_FLAG: -77", 0, "", {flagLine("ULOD_FLAG", "-77, -77, -77")}},
      {"LLOD_FLAG:", "LLOD_FLAG: -88", 0, "", {llodFlagLine("-88, -88, -88")}},
      {"LLOD_FLAG:", "LLOD_FLAG: -8880", 0, "", {llodFlagLine("-8880, -8880, -8880")}},
      {"LLOD_FLAG:", "LLOD_FLAG: -888888888", 0, "", {llodFlagLine("-888888888, -888888888, -888888888")}},
      {"LLOD_FLAG:", "LLOD_FLAG: -80", 10, flagMessage('L', 27, "LLOD_FLAG: -80\n", "-80.000000"), {}},
      {"LLOD_FLAG:", "LLOD_FLAG: -8884", 10, flagMessage('L', 27, "LLOD_FLAG: -8884\n", "-8884.000000"), {}},
      {"LLOD_FLAG:", "LLOD_FLAG: N/A", 10, flagMessage('L', 27, "LLOD_FLAG: N/A\n", "-888888888.000000"), {}},
      {"ULOD_FLAG:", "ULOD_FLAG: -7777, x", 10, flagMessage('U', 25, "ULOD_FLAG: -7777, x\n", "-7777.000000"), {}},
      {"ULOD_FLAG:", "ULOD_FLAG: -7777, -77", 0, "", {flagLine("ULOD_FLAG", "-7777, -77, -77")}},
      {"ULOD_FLAG:", "ULOD_FLAG: -7777, -70", 10, flagMessage('U', 25, "ULOD_FLAG: -7777, -70\n", "-70.000000"), {}},
      {"ULOD_FLAG:", "ULOD_FLAG: -7777777777", 10,
       flagMessage('U', 25, "ULOD_FLAG: -7777777777\n", "-7777777777.000000"), {}},
      {"ULOD_FLAG:", "ULOD_FLAG: -7777, -7777, -7777, -7777", 10,
       tooMany(25, 3, "ULOD_FLAG: -7777, -7777, -7777, -7777\n"), {}},
  };
  runLod(cases, nv3);
}

TEST(KeywordsLodFlags, EmptyOrUnusualLinesDefineNothingAndTheScanGoesOn) {
  std::vector<LodCase> cases = {
      {"ULOD_FLAG:", "ULOD_FLAG:", 0, red("<br />Error Line25: seems unusual or empty.<br />ULOD_FLAG: \n<br /><br />\n"),
       {flagLine("ULOD_FLAG", "-777777777, -777777777, -777777777")}},
      {"ULOD_FLAG:", "ULOD_FLAG", 0, red("<br />Error Line25: seems unusual or empty.<br />ULOD_FLAG: <br /><br />\n"),
       {flagLine("ULOD_FLAG", "-777777777, -777777777, -777777777")}},
      {"LLOD_VALUE:", "LLOD_VALUE:", 0,
       red("<br />Error Line28: seems unusual or empty.<br />LLOD_VALUE: \n<br /><br />\n"),
       {"<font size=\"-1\"> LLOD_VALUE: </font><font size=\"-1\" color='#0000FF'>-9999.0000, -9999, -9999</font><br>\n"}},
  };
  runLod(cases, nv3);
}

TEST(KeywordsLodFlags, OverlongRestIsCutWithAWarning) {
  IcarttBuilder b = IcarttBuilder::ffi1001(1);
  const std::string rest = " -7777," + std::string(1100, ' ') + "-77777";
  setComment(b, "ULOD_FLAG:", "ULOD_FLAG:" + rest);
  Scan s = scan(b);
  EXPECT_EQ(s.res.status, 0) << s.messages;
  EXPECT_EQ(s.messages, kHeaderStart + orange("<br />Warning Line25: seems unusual or incorrect.<br />ULOD_FLAG: " + rest +
                                              "\n<br /><br />\n"));
  // The text is cut after 1023 characters, so the second item never arrives.
  EXPECT_TRUE(has(lodBlock(s), flagLine("ULOD_FLAG", "-7777, -7777, -7777")));
}

TEST(KeywordsLodFlags, EchoIsEscaped) {
  IcarttBuilder b = IcarttBuilder::ffi1001(1);
  setComment(b, "LLOD_FLAG:", "LLOD_FLAG: <b>");
  Scan s = scan(b);
  EXPECT_EQ(s.res.status, 10);
  EXPECT_EQ(s.messages, kHeaderStart + flagMessage('L', 27, "LLOD_FLAG: &lt;b&gt;\n", "-888888888.000000"));
}

std::string valueLine(const char* label, const std::string& values, const char* end = "</font><br>\n") {
  return std::string("<font size=\"-1\"> ") + label + ": </font><font size=\"-1\" color='#0000FF'>" + values + end;
}

TEST(KeywordsLodValues, PrimaryValues1001) {
  std::vector<LodCase> cases = {
      {"LLOD_VALUE:", "LLOD_VALUE: N/A", 0, "", {valueLine("LLOD_VALUE", "-9999.0000, -9999, -9999")}},
      {"LLOD_VALUE:", "LLOD_VALUE: N/A;;0.5", 0, "", {valueLine("LLOD_VALUE", "-9999.0000, -9999, 0.5000")}},
      {"LLOD_VALUE:", "LLOD_VALUE:;0.5;0.6", 0, "", {valueLine("LLOD_VALUE", "-9999.0000, 0.5000, 0.6000")}},
      // After the colon a blank stands first, so no N/A is inserted: the item " " passes the
      // number test and reads 0, which is a limit for the stop time.
      {"LLOD_VALUE:", "LLOD_VALUE: ;0.5;0.6", 10, stopTime(28), {}},
      {"LLOD_VALUE:", "LLOD_VALUE: N/A,    0.5,     0.6", 0, "",
       {valueLine("LLOD_VALUE", "-9999.0000, 0.5000, 0.6000")}},
      {"LLOD_VALUE:", "LLOD_VALUE: N/A, 1, 2, 3", 10, tooMany(28, 3, "LLOD_VALUE: N/A, 1, 2, 3\n"), {}},
      {"ULOD_VALUE:", "ULOD_VALUE: 100", 10, stopTime(26), {}},
      {"ULOD_VALUE:", "ULOD_VALUE: N/A, 100, 200", 0, "", {valueLine("ULOD_VALUE", "-9999.0000, 100.0000, 200.0000")}},
      {"ULOD_VALUE:", "ULOD_VALUE: 100", 0, "", {valueLine("ULOD_VALUE", "100.0000, -9999, -9999")}, constantEqual()},
  };
  runLod(cases, nv3);
}

TEST(KeywordsLodAux, FlagsAndValues2110) {
  // NAUXV 3 (Stop_UTC, Mid_UTC, NumAlt), NV 2: ULOD_FLAG on line 31, ULOD_VALUE 32, LLOD_FLAG 33.
  ASSERT_EQ(lineOf(f2110(), "ULOD_FLAG"), 31);
  std::vector<LodCase> cases = {
      {"LLOD_FLAG:", "LLOD_FLAG: -8888", 0, "",
       {llodFlagLine("-8888, -8888"), flagLine("AUX_VAR_LLOD_FLAG", "-8888, -8888, -8888")}},
      {"LLOD_FLAG:", "LLOD_FLAG: -8888, -88888", 0, "",
       {llodFlagLine("-88888, -88888"), flagLine("AUX_VAR_LLOD_FLAG", "-8888, -88888, -88888")}},
      {"ULOD_FLAG:", "ULOD_FLAG: -777, -7777, -77777, -777777, -7777777", 0, "",
       {flagLine("ULOD_FLAG", "-777777, -7777777"), flagLine("AUX_VAR_ULOD_FLAG", "-777, -7777, -77777")}},
      // An auxiliary flag fails; no primary flag did, so the bracket shows primary flag 1.
      {"ULOD_FLAG:", "ULOD_FLAG: -70, -7777, -7777, -7777", 10,
       flagMessage('U', 31, "ULOD_FLAG: -70, -7777, -7777, -7777\n", "-7777.000000"), {}},
      // The auxiliary flags have no lower bound.
      {"ULOD_FLAG:", "ULOD_FLAG: -7777777777, -7777777777, -7777777777, -7777", 0, "",
       {flagLine("ULOD_FLAG", "-7777, -7777"),
        flagLine("AUX_VAR_ULOD_FLAG", "-7777777777, -7777777777, -7777777777")}},
      {"ULOD_FLAG:", "ULOD_FLAG: -7777, -7777, -7777, -7777, -7777, -7777", 10,
       tooMany(31, 2, "ULOD_FLAG: -7777, -7777, -7777, -7777, -7777, -7777\n"), {}},
      {"ULOD_VALUE:", "ULOD_VALUE: N/A, 5, 6, 7, 8", 0, "",
       {valueLine("ULOD_VALUE", "7.0000, 8.0000"),
        valueLine("AUX_VAR_ULOD_VALUE", "-9999.0000, 5.0000, 6.0000", "</font><br><br>\n")}},
      {"ULOD_VALUE:", "ULOD_VALUE: N/A, 5, 6, 7, 8, 9", 10, tooMany(32, 2, "ULOD_VALUE: N/A, 5, 6, 7, 8, 9\n"), {}},
      {"ULOD_VALUE:", "ULOD_VALUE: 1, N/A, N/A, N/A, N/A", 10, stopTime(32), {}},
  };
  runLod(cases, f2110);
}

TEST(KeywordsLodAux, ValueNeedsAFlagInsideTheNineDigits) {
  // The auxiliary flags are not bounded below, so a value whose flag is below -888888888.1 fails.
  IcarttBuilder b = IcarttBuilder::ffi2110();
  setComment(b, "ULOD_FLAG:", "ULOD_FLAG: -7777777777, -7777777777, -7777777777, -7777");
  setComment(b, "ULOD_VALUE:", "ULOD_VALUE: N/A, 100, N/A, N/A, N/A");
  Scan s = scan(b);
  EXPECT_EQ(s.res.status, 10);
  EXPECT_EQ(s.messages,
            kHeaderStart +
                red("Error Header Line32: The ULOD_VALUE seem valid; therefore, ULOD_FLAG must also exist. \n"
                    "If you did not intend on using ULOD's, then enter N/A on line32 in the header (i.e., ULOD_VALUE: N/A)<br />\n") +
                echoB(32, "ULOD_VALUE: N/A, 100, N/A, N/A, N/A\n"));
}

}  // namespace
}  // namespace tarvik::test
