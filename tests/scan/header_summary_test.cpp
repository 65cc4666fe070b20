#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

#include "scan/core/tokens.h"
#include "scan/header_test_util.h"

namespace tarvik::test {
namespace {

using namespace hdr;

std::string tableStart(int linesRead) {
  return "<p><u><b>File Header Info Interpreted by Tarvik (Lines Read=" + std::to_string(linesRead) +
         "):</b></u></p><br><table border=\"2\" cellspacing=\"1\" cellpadding=\"1\">\n";
}

const char* const kBlue[] = {
    "<font size=\"-1\" color='#0000FF'> PI_CONTACT_INFO; </font>\n",
    "<font size=\"-1\" color='#0000FF'> PLATFORM; </font>\n",
    "<font size=\"-1\" color='#0000FF'> LOCATION; </font>\n",
    "<font size=\"-1\" color='#0000FF'> ASSOCIATED_DATA; </font>\n",
    "<font size=\"-1\" color='#0000FF'> INSTRUMENT_INFO; </font>\n",
    "<font size=\"-1\" color='#0000FF'> DATA_INFO; </font>\n",
    "<font size=\"-1\" color='#0000FF'> UNCERTAINTY; </font>\n",
    "<font size=\"-1\" color='#0000FF'> DM_CONTACT_INFO; </font>\n",
    "<font size=\"-1\" color='#0000FF'> PROJECT_INFO; </font>\n",
    "<font size=\"-1\" color='#0000FF'> STIPULATIONS_ON_USE; </font>\n",
    "<font size=\"-1\" color='#0000FF'> OTHER_COMMENTS; </font>\n",
    "<font size=\"-1\" color='#0000FF'> REVISION; </font>\n",
};

std::string keywordHead() {
  return "<p><u><b>Normal Comments (Supporting Info) KEYWORDS Found </b><i><font color='#FF0000'>(MISSING or MULTIPLE entries displayed in RED)</font></i>:</u><br>\n";
}
const std::string kLodHead = "<blockquote><i><u>Upper and Lower LOD's (values read):</u></i><br>\n";

std::string allBlue() {
  std::string s;
  for (const char* k : kBlue) s += k;
  return s;
}

// Rows labelled prefix1, prefix2, ... for the texts in order.
std::string textRows(int& line, const std::string& prefix, const std::vector<std::string>& texts) {
  std::string s;
  for (size_t i = 0; i < texts.size(); ++i) s += row(line++, prefix + std::to_string(i + 1), texts[i] + "\n");
  return s;
}

TEST(HeaderSummaryTable, Complete1001Header) {
  IcarttBuilder b = IcarttBuilder::ffi1001();
  const std::vector<std::string> L = b.headerLines();
  ASSERT_EQ(L.size(), 36u);
  std::string t = tableStart(36);
  t += row(1, "NH, FFI", "36, 1001");
  t += row(2, "PI Name", L[1] + "\n");
  t += row(3, "PI Organization", L[2] + "\n");
  t += row(4, "Instrumentation", L[3] + "\n");
  t += row(5, "Mission Name", L[4] + "\n");
  t += row(6, "File Number, Volume Number", "1, 1 <i>[Filename _V#=1]</i>");
  t += row(7, "Acquisition Date, Revision Date", "2019, 05, 21, 2019, 06, 01");
  t += row(8, "Data Interval", "0.0");
  t += row(9, "Independent VarName", L[8] + "\n");
  t += row(10, "Number of Vars", "4");
  t += row(11, "Scale Factor(s)", " 1.0, 1.0, 1.0, 1.0");
  t += row(12, "Missing Data Indicator(s)", " -9999, -9999, -9999, -9999");
  int line = 13;
  t += textRows(line, "Var", b.vars);
  t += row(line++, "#_Special_Comments (S_COMM)", "0");
  t += row(line++, "#_Normal Comments (N_COMM)", "18");
  std::vector<std::string> normal = b.normalComments;
  normal.push_back(L.back());
  t += textRows(line, "N_COMM_Line", normal);
  ASSERT_EQ(line, 37);
  t += "</table><br>\n";
  t += keywordHead() + allBlue() + kLodHead;
  t += "<font size=\"-1\"> ULOD_FLAG: </font><font size=\"-1\" color='#0000FF'>-7777, -7777, -7777, -7777</font><br>\n";
  t += "<font size=\"-1\"> ULOD_VALUE: </font><font size=\"-1\" color='#0000FF'>-9999.0000, -9999, -9999, -9999</font><br>\n";
  t += "<font size=\"-1\"> LLOD_FLAG: </font> <font size=\"-1\" color='#0000FF'>-8888, -8888, -8888, -8888</font><br>\n";
  t += "<font size=\"-1\"> LLOD_VALUE: </font><font size=\"-1\" color='#0000FF'>-9999.0000, -9999, -9999, -9999</font><br>\n";
  t += "</blockquote>\n";

  Scan s = scan(b);
  EXPECT_EQ(s.res.status, 0);
  EXPECT_EQ(s.header, kHeaderStart + t);  // no verdict message follows the LOD part
}

TEST(HeaderSummaryTable, Complete2110Header) {
  IcarttBuilder b = IcarttBuilder::ffi2110();
  const std::vector<std::string> L = b.headerLines();
  ASSERT_EQ(L.size(), 41u);
  std::string t = tableStart(41);
  t += row(1, "NH, FFI", "41, 2110");
  t += row(2, "PI Name", L[1] + "\n");
  t += row(3, "PI Organization", L[2] + "\n");
  t += row(4, "Instrumentation", L[3] + "\n");
  t += row(5, "Mission Name", L[4] + "\n");
  t += row(6, "File Number, Volume Number", "1, 1 <i>[Filename _V#=1]</i>");
  t += row(7, "Acquisition Date, Revision Date", "2019, 05, 21, 2019, 06, 01");
  t += row(8, "Data Interval", "0.0");
  t += row(9, "Independent VarName1 (bounded)", b.bounded + "\n");
  t += row(10, "Independent VarName2 (unbounded)", b.independent + "\n");
  t += row(11, "Number of Vars", "2");
  t += row(12, "Scale Factor(s)", " 1.0, 1.0");
  t += row(13, "Missing Data Indicator(s)", " -9999, -9999");
  int line = 14;
  t += textRows(line, "Var", b.vars);
  t += row(line++, "Number of AuxVars", "3");
  t += row(line++, "AuxVars Scale Factor(s)", " 1.0, 1.0, 1.0");
  t += row(line++, "AuxVars Missing Data Indicator(s)", " -9999, -9999, -9999");
  t += textRows(line, "AuxVar", b.auxVars);
  t += row(line++, "#_Special_Comments (S_COMM)", "0");
  t += row(line++, "#_Normal Comments (N_COMM)", "18");
  std::vector<std::string> normal = b.normalComments;
  normal.push_back(L.back());
  t += textRows(line, "N_COMM_Line", normal);
  ASSERT_EQ(line, 42);
  t += "</table><br>\n";
  t += keywordHead() + allBlue() + kLodHead;
  t += "<font size=\"-1\"> ULOD_FLAG: </font><font size=\"-1\" color='#0000FF'>-7777, -7777</font><br>\n";
  t += "<font size=\"-1\"> AUX_VAR_ULOD_FLAG: </font><font size=\"-1\" color='#0000FF'>-7777, -7777, -7777</font><br>\n";
  t += "<font size=\"-1\"> ULOD_VALUE: </font><font size=\"-1\" color='#0000FF'>-9999.0000, -9999</font><br>\n";
  t += "<font size=\"-1\"> AUX_VAR_ULOD_VALUE: </font><font size=\"-1\" color='#0000FF'>-9999.0000, -9999, -9999</font><br><br>\n";
  t += "<font size=\"-1\"> LLOD_FLAG: </font> <font size=\"-1\" color='#0000FF'>-8888, -8888</font><br>\n";
  t += "<font size=\"-1\"> AUX_VAR_LLOD_FLAG: </font><font size=\"-1\" color='#0000FF'>-8888, -8888, -8888</font><br>\n";
  t += "<font size=\"-1\"> LLOD_VALUE: </font><font size=\"-1\" color='#0000FF'>-9999.0000, -9999</font><br>\n";
  t += "<font size=\"-1\"> AUX_VAR_LLOD_VALUE: </font><font size=\"-1\" color='#0000FF'>-9999.0000, -9999, -9999</font><br>\n";
  t += "</blockquote>\n";

  Scan s = scan(b);
  EXPECT_EQ(s.res.status, 0);
  EXPECT_EQ(s.header, kHeaderStart + t);
}

TEST(HeaderSummaryTable, TextsAreEscaped) {
  IcarttBuilder b = IcarttBuilder::ffi1001();
  b.org = "Lab <b>bold</b> & \"quoted\"";
  Scan s = scan(b);
  EXPECT_EQ(s.res.status, 0);
  EXPECT_TRUE(has(s.header, row(3, "PI Organization", "Lab &lt;b&gt;bold&lt;/b&gt; &amp; &quot;quoted&quot;\n")));
}

TEST(HeaderSummaryFormats, DataInterval) {
  struct Case {
    std::string value;
    std::string name;
    std::string shown;
  } cases[] = {
      {"0.5", kName, "0.50000"},
      {"0.25", kName, "0.25000"},
      {"60", kName, "60.0"},
      {"6e1", kName, "60.0"},
      {"1", kName, "1.0"},
      {"1.0", kName, "1.0"},  // not integer text, but exactly 1
      {"-1", "TEST-DATA_GROUND_20190521_R0.ict", "-1.0 <i>[non-constant, non-uniform interval]</i>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    IcarttBuilder b = IcarttBuilder::ffi1001();
    b.line8 = c.value;
    Scan s = scan(b, c.name, constantEqual());
    EXPECT_EQ(s.res.status, 0) << s.messages;
    EXPECT_TRUE(has(s.header, row(8, "Data Interval", c.shown))) << s.header;
  }
}

TEST(HeaderSummaryFormats, ScaleFactors) {
  struct Case {
    std::string scales, aux;
    std::string primaryShown, auxShown;
  } cases[] = {
      {"1, 2", "1, 1, 1", " 1.0, 2.00000", " 1.0, 1.0, 1.0"},
      {"0.001, 100000", "1, 1, 1", " 1.0e-03, 1.0e+05", " 1.0, 1.0, 1.0"},
      {"10000, 99999", "1, 10000, 9999", " 10000.00000, 99999.00000", " 1.0, 1.0e+04, 9999.00000"},
      {"0.0011, 0.00109", "0.0011, 0.001, 1", " 0.00110, 1.1e-03", " 0.00110, 1.0e-03, 1.0"},
      {"1.0000001, 0.9999999", "1, 1, 1", " 1.0, 1.0", " 1.0, 1.0, 1.0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.scales + " / " + c.aux);
    IcarttBuilder b = IcarttBuilder::ffi2110();
    b.scales = c.scales;
    b.auxScales = c.aux;
    Scan s = scan(b);
    EXPECT_EQ(s.res.status, 0) << s.messages;
    EXPECT_TRUE(has(s.header, row(12, "Scale Factor(s)", c.primaryShown))) << s.header;
    EXPECT_TRUE(has(s.header, row(17, "AuxVars Scale Factor(s)", c.auxShown))) << s.header;
  }
}

TEST(HeaderSummaryFormats, UnfilledScaleFactorReadsZero) {
  // The first token is no number: the counter moves to 1 without a value, and the rest fill 2 to 4.
  IcarttBuilder b = IcarttBuilder::ffi1001();
  b.scales = "x, 1, 1, 1";
  Scan s = scan(b);
  EXPECT_EQ(s.res.status, 0) << s.messages;
  EXPECT_TRUE(has(s.header, row(11, "Scale Factor(s)", " 0.0e+00, 1.0, 1.0, 1.0"))) << s.header;
  EXPECT_EQ(countOf(s.messages, "Scale Factor(s) found on this line NOT_EQUAL_TO 1."), 1u);
}

TEST(HeaderSummaryCut, RevisionErrorCutsTheTableAndDropsTheKeywordPart) {
  IcarttBuilder b = IcarttBuilder::ffi1001();
  setComment(b, "REVISION:", "REVISION: R3");
  ASSERT_EQ(lineOf(b, "REVISION"), 34);
  Scan s = scan(b);
  EXPECT_EQ(s.res.status, 7);
  EXPECT_TRUE(has(s.header, tableStart(34)));
  EXPECT_TRUE(has(s.header, row(34, "N_COMM_Line16", "REVISION: R3\n") + "</table><br>\n"));
  EXPECT_FALSE(has(s.header, "<tr><td><font size=\"-1\">Line35:"));
  EXPECT_EQ(countOf(s.header, "<tr>"), 34u);
  EXPECT_FALSE(has(s.header, kKeywordStart));
  EXPECT_FALSE(has(s.header, kLodHead));
  // The table is the last thing of the header phase.
  const std::string tail = "</table><br>\n";
  EXPECT_EQ(s.header.substr(s.header.size() - tail.size()), tail);
}

TEST(HeaderSummaryKeywords, MissingRecommendedKeywordWarns) {
  IcarttBuilder b = IcarttBuilder::ffi1001();
  removeComment(b, "DM_CONTACT_INFO:");
  Scan s = scan(b);
  EXPECT_EQ(s.res.status, 0);
  std::string keywords;
  for (const char* k : kBlue)
    keywords += std::string(k).find("DM_CONTACT_INFO") != std::string::npos
                    ? "<i><font size=\"-1\" color='#FF0000'> DM_CONTACT_INFO; </font></i>\n"
                    : k;
  EXPECT_TRUE(has(s.header, keywordHead() + keywords + kLodHead));
  const std::string warning =
      orange("WARNING: 1 Keyword/Value Pair(s) Missing or entered incorrectly. It is highly recommended that you enter ALL Keywords.\n"
             "If a Keyword/Value is not applicable, simply enter N/A for its value (e.g., DM_CONTACT_INFO: N/A).\n");
  EXPECT_EQ(s.header.substr(s.header.size() - warning.size()), warning);
  EXPECT_EQ(errorBlocks(s.header), 1u);  // the red part of the keyword heading only
}

TEST(HeaderSummaryKeywords, LastMissingKeywordIsTheExample) {
  IcarttBuilder b = IcarttBuilder::ffi1001();
  removeComment(b, "OTHER_COMMENTS:");
  removeComment(b, "PLATFORM:");
  Scan s = scan(b);
  EXPECT_EQ(s.res.status, 0);
  EXPECT_TRUE(has(s.header, "<i><font size=\"-1\" color='#FF0000'>PLATFORM; </font></i>\n"));
  EXPECT_TRUE(has(s.header, "<i><font size=\"-1\" color='#FF0000'> OTHER_COMMENTS; </font></i>\n"));
  EXPECT_TRUE(has(s.header, orange("WARNING: 2 Keyword/Value Pair(s) Missing or entered incorrectly. It is highly recommended that you enter ALL Keywords.\n"
                                   "If a Keyword/Value is not applicable, simply enter N/A for its value (e.g., OTHER_COMMENTS: N/A).\n")));
}

TEST(HeaderSummaryKeywords, LodKeywordTwiceIsANonOptionalError) {
  IcarttBuilder b = IcarttBuilder::ffi1001();
  b.normalComments.push_back("ULOD_VALUE: N/A");
  Scan s = scan(b);
  EXPECT_EQ(s.res.status, 10);
  const std::string expected =
      kLodHead +
      "<font size=\"-1\"> ULOD_FLAG: </font><font size=\"-1\" color='#0000FF'>-7777, -7777, -7777, -7777</font><br>\n"
      "<i><font size=\"-1\" color='#FF0000'> ULOD_VALUE; <br></font></i>\n"
      "<font size=\"-1\"> LLOD_FLAG: </font> <font size=\"-1\" color='#0000FF'>-8888, -8888, -8888, -8888</font><br>\n"
      "<font size=\"-1\"> LLOD_VALUE: </font><font size=\"-1\" color='#0000FF'>-9999.0000, -9999, -9999, -9999</font><br>\n"
      "</blockquote>\n" +
      red("<br>Error: 1 non-optional Keyword/Value Pair(s) missing (or entered incorrectly). Non-optional keywords are UNCERTAINTY and LODs.\n"
          "If LODs are not used, enter N/A for their values. Example:<br>\n"
          "<blockquote>LLOD_FLAG: N/A<br>LLOD_VALUE: N/A</blockquote>\n");
  EXPECT_EQ(s.header.substr(s.header.size() - expected.size()), expected);
  EXPECT_TRUE(has(s.header, keywordHead() + allBlue()));
}

TEST(HeaderSummaryKeywords, MissingNonOptionalKeywordsAreCounted) {
  IcarttBuilder b = IcarttBuilder::ffi1001();
  removeComment(b, "UNCERTAINTY:");
  removeComment(b, "LLOD_FLAG:");
  Scan s = scan(b);
  EXPECT_EQ(s.res.status, 10);
  EXPECT_TRUE(has(s.header, "<i><font size=\"-1\" color='#FF0000'> UNCERTAINTY; </font></i>\n"));
  EXPECT_TRUE(has(s.header, "<i><font size=\"-1\" color='#FF0000'> LLOD_FLAG; <br></font></i>\n"));
  EXPECT_TRUE(has(s.header, kRed + "<br>Error: 2 non-optional Keyword/Value Pair(s) missing (or entered incorrectly). Non-optional keywords are UNCERTAINTY and LODs.\n"));
  EXPECT_FALSE(has(s.header, "WARNING:"));
  EXPECT_FALSE(has(s.header, "Can't read UNCERTAINTY"));
}

TEST(HeaderSummaryKeywords, NoSummaryAfterAHeaderError) {
  IcarttBuilder b = IcarttBuilder::ffi1001();
  b.line8 = "1";
  Scan s = scan(b);
  EXPECT_EQ(s.res.status, 10);
  EXPECT_FALSE(has(s.header, kSummaryStart));
}

// Numbers are read and written the same way under a decimal-comma locale.
class HeaderSummaryLocale : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* old = std::setlocale(LC_ALL, nullptr);
    saved_ = old ? old : "C";
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
  }
  void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }
  std::string saved_;
};

TEST_F(HeaderSummaryLocale, DecimalCommaLocaleChangesNothing) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%.1f", 1.5);
  ASSERT_EQ(std::string(buf), "1,5");  // the locale is really in force

  EXPECT_EQ(leadingReal("1.5"), 1.5);
  EXPECT_TRUE(isNumberToken("1.5").ok);

  IcarttBuilder b = IcarttBuilder::ffi1001(1);
  b.line8 = "0.5";
  b.scales = "1.5, 1, 1";
  setComment(b, "ULOD_VALUE:", "ULOD_VALUE: N/A, 1.5, N/A");
  Scan s = scan(b, kName, constantEqual());
  EXPECT_EQ(s.res.status, 0) << s.messages;
  EXPECT_TRUE(has(s.header, row(8, "Data Interval", "0.50000"))) << s.header;
  EXPECT_TRUE(has(s.header, row(11, "Scale Factor(s)", " 1.50000, 1.0, 1.0")));
  EXPECT_TRUE(has(s.header, "<font size=\"-1\"> ULOD_VALUE: </font><font size=\"-1\" color='#0000FF'>-9999.0000, 1.5000, -9999</font><br>\n"));
}

}  // namespace
}  // namespace tarvik::test
