// The ICARTT V2.0 rules (V2.0 mode): the version item of line 1, short names and their uniqueness,
// the items of definition lines, the order of the normal-comment keywords, the two intervals of an
// FFI 2110 line 8, the summary's row; and, in V1.1 mode, the hint on a V2.0 line 1.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan/header_test_util.h"

namespace tarvik::test {
namespace {

using namespace hdr;

ScanSettings v2Settings() {
  ScanSettings s;
  s.icartt = IcarttVersion::V2_0;
  return s;
}

// Scans the header of b (no data lines) in V2.0 mode, or in V1.1 mode.
Scan scanMode(const IcarttBuilder& built, bool v2, ScanOptions opt = {}) {
  IcarttBuilder b = built;
  b.data.clear();
  TempDir dir;
  Scan s;
  s.res = scanBytes(dir, kName, b.text(), opt, v2 ? v2Settings() : ScanSettings());
  s.header = section(s.res.report, kHeaderStart, kHeaderDone);
  s.messages = s.header.substr(0, s.header.find(kSummaryStart));
  return s;
}
Scan scanV2(const IcarttBuilder& b, ScanOptions opt = {}) { return scanMode(b, true, opt); }

// "Name, units, Long name" as a V2.0 definition: "Name, units, Name_Std, Long name".
std::string withStandardName(const std::string& def) {
  const size_t c1 = def.find(','), c2 = def.find(',', c1 + 1);
  const std::string name = def.substr(0, c1);
  return def.substr(0, c2) + ", " + name + "_Std" + def.substr(c2);
}

// A header that meets the V2.0 rules: the version item, standard names, the keywords in order.
IcarttBuilder v2File(IcarttBuilder b) {
  b.line1 = std::to_string(b.computedNH()) + ", " + std::to_string(b.ffi) + ", V02_2016";
  b.independent = withStandardName(b.independent);
  b.bounded = withStandardName(b.bounded);
  for (auto& v : b.vars) v = withStandardName(v);
  for (auto& v : b.auxVars) v = withStandardName(v);
  return b;
}

// The line of the header that begins with prefix, as the report echoes it.
std::string echoOf(const IcarttBuilder& b, const std::string& prefix) {
  const int n = lineOf(b, prefix);
  return echoA(n, b.headerLines()[static_cast<size_t>(n - 1)] + "\n");
}

const std::string kRuleRow =
    "<tr><td><font size=\"-1\">Rules Applied</font></td><td><font color='#0000FF' size=\"-1\">ICARTT V2.0: the V1.1 rules, with the version on line 1, short names, three-item definitions, the order of the keywords and two intervals on an FFI 2110 line 8</font></td></tr>\n";

TEST(IcarttV2, FilesThatMeetTheRulesPass) {
  for (IcarttBuilder b : {IcarttBuilder::ffi1001(), IcarttBuilder::ffi2110(), IcarttBuilder::ffi2310()}) {
    SCOPED_TRACE(b.ffi);
    const Scan s = scanV2(v2File(b));
    EXPECT_EQ(s.res.status, 0) << s.messages;
    EXPECT_EQ(s.messages, kHeaderStart);
    EXPECT_TRUE(has(s.header, kRuleRow + "</table><br>\n"));
    EXPECT_EQ(s.res.outcome.icartt, IcarttVersion::V2_0);
    // The same file in V1.1 mode has no such row.
    const Scan v11 = scanMode(b, false);
    EXPECT_FALSE(has(v11.header, "Rules Applied"));
    EXPECT_EQ(v11.res.outcome.icartt, IcarttVersion::V1_1);
  }
}

TEST(IcarttV2, Line1VersionItem) {
  const IcarttBuilder base = v2File(IcarttBuilder::ffi1001());
  const std::string nh = std::to_string(base.computedNH());
  struct Case {
    std::string line1;
    std::string expected;  // the V2.0 message and its echo; empty: none
    int32_t status;
  } cases[] = {
      {nh + ", 1001, V02_2016", "", 0},
      {nh + " ,1001 ,  v02_2016 ", "", 0},
      {nh + ", 1001, V02_2016; a comment", "", 0},
      {nh + ", 1001",
       orange(
           "<br>Warning - Header Line1: the file does not declare its version; line 1 of an ICARTT V2.0 file is \"NH, FFI, V02_2016\". The V2.0 rules are applied.<br>\n") +
           echoA(1, nh + ", 1001\n"),
       0},
      {nh + ", 1001, V01_2010",
       red("<br>Error - Header Line1: the version item \"V01_2010\" is not V02_2016; line 1 of an ICARTT V2.0 file is \"NH, FFI, V02_2016\".<br>\n") +
           echoA(1, nh + ", 1001, V01_2010\n"),
       10},
      {nh + ", 1001, V02_2016, x",
       red("<br>Error - Header Line1: 4 items found; line 1 of an ICARTT V2.0 file holds three: \"NH, FFI, V02_2016\".<br>\n") +
           echoA(1, nh + ", 1001, V02_2016, x\n"),
       10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line1);
    IcarttBuilder b = base;
    b.line1 = c.line1;
    const Scan s = scanV2(b);
    EXPECT_EQ(s.messages, kHeaderStart + c.expected);
    EXPECT_EQ(s.res.status, c.status);
    // A version error does not stop the header: its summary is not written, but every line is read.
    if (c.status == 10) {
      EXPECT_FALSE(has(s.header, kSummaryStart));
    }
  }
}

TEST(IcarttV2, V1ModeHintsAtAV2Line1) {
  const IcarttBuilder b = v2File(IcarttBuilder::ffi1001());
  const std::string line1 = b.headerLines()[0];
  const std::string itemError =
      red("Error -   Line1: Either the delimiter(s) NOT compliant or the number of items on this line NOT matching; delimiters should be all commas. See ICARTT File Format document for details. \n"
          "<br>The expected number of individual items (i.e., data points or labels) on this line = 2; the number of items found >= 3.<br>\n"
          "<br />The expected number of \"commas\" on this line = 1; the number of \"commas\" found >= 2.<br />\n") +
      echoA(1, line1 + "\n") +
      red("Error found while verifying Header Line1 (Number of lines in header, file format index).<br>\n");
  const std::string hint = orange(
      "<br>Header Line1 declares an ICARTT V2.0 header (version item \"V02_2016\"). To check the file by the V2.0 rules, scan it with \"tarvik-scan --icartt 2.0\", or choose \"ICARTT V2.0\" in the main window.<br>\n");
  const Scan s = scanMode(b, false);
  EXPECT_EQ(s.res.status, 10);
  EXPECT_EQ(s.messages, kHeaderStart + itemError + hint);
  // A third item that does not begin with V0 gets no hint.
  IcarttBuilder other = b;
  other.line1 = line1.substr(0, line1.rfind(',')) + ", X02_2016";
  const Scan o = scanMode(other, false);
  EXPECT_EQ(o.res.status, 10);
  EXPECT_FALSE(has(o.messages, "declares an ICARTT V2.0 header"));
}

std::string nameError(int line, const std::string& name, const std::string& fault) {
  return red(
      "<br>Error - Header Line" + std::to_string(line) + ": the short name \"" + name + "\" " + fault +
      "; a short name holds only ASCII letters, digits and underscores, begins with a letter and has at most 31 characters.<br>\n");
}

TEST(IcarttV2, ShortNamesOfDefinitions) {
  struct Case {
    std::string name;
    std::string fault;  // as the report shows it; empty: the name passes
  } cases[] = {
      {"V_1", ""},
      {"a" + std::string(30, 'b'), ""},
      {"a" + std::string(31, 'b'), "has 32 characters"},
      {"1V", "does not begin with a letter"},
      {"_V", "does not begin with a letter"},
      {"V-1", "holds the character '-'"},
      {"V$1", "holds the character '$'"},
      {"V&lt;1", ""},  // placeholder replaced below
      {"V\xE9", "holds the byte 0xe9"},
  };
  for (Case c : cases) {
    if (c.name == "V&lt;1") {
      c.name = "V<1";
      c.fault = "holds the character '&lt;'";
    }
    SCOPED_TRACE(c.name);
    IcarttBuilder b = v2File(IcarttBuilder::ffi1001());
    b.vars[2] = c.name + ", ppbv, V1_Std, Test variable";
    b.shortNames.clear();
    const Scan s = scanV2(b);
    const int line = lineOf(b, c.name + ",");
    const std::string shown = htmlEscape(c.name);
    if (c.fault.empty()) {
      EXPECT_EQ(s.res.status, 0) << s.messages;
      EXPECT_EQ(s.messages, kHeaderStart);
      continue;
    }
    EXPECT_EQ(s.res.status, 10);
    // Reported once, at its definition: the short-names line holds the same name.
    EXPECT_EQ(s.messages,
              kHeaderStart + nameError(line, shown, c.fault) + echoA(line, htmlEscape(b.vars[2]) + "\n"));
  }
}

TEST(IcarttV2, ShortNamesLineAndTheCap) {
  // 40 variables with names that break the rule: 32 errors, then one notice; the status is 10.
  IcarttBuilder b = v2File(IcarttBuilder::ffi1001(0));
  for (int i = 0; i < 40; ++i) b.vars.push_back("X-" + std::to_string(i) + ", ppbv, X_Std, Test");
  b.line1 = std::to_string(b.computedNH()) + ", 1001, V02_2016";
  const Scan s = scanV2(b);
  EXPECT_EQ(s.res.status, 10);
  EXPECT_EQ(countOf(s.messages, "Error - Header Line"), 32u);
  EXPECT_EQ(countOf(s.messages, red("<br>Too many errors in short names ...<br>\n")), 1u);
  const std::vector<Finding>& f = s.res.outcome.findings;
  EXPECT_EQ(f.back().message, "Too many errors in short names ...");
}

TEST(IcarttV2, RepeatedShortNamesAreWarnings) {
  IcarttBuilder b = v2File(IcarttBuilder::ffi2110());
  b.auxVars[2] = "O3, number, Count_Std, Number of altitudes";  // the name of primary variable 1
  const Scan s = scanV2(b);
  const int first = lineOf(b, "O3, ppbv"), again = lineOf(b, "O3, number");
  EXPECT_EQ(s.messages, kHeaderStart +
                            orange("<br>Warning - Header Line" + std::to_string(again) +
                                   ": the short name \"O3\" is also that of the variable defined on Line" +
                                   std::to_string(first) + "; short names must be unique.<br>\n") +
                            echoOf(b, "O3, number"));
  EXPECT_EQ(s.res.status, 0);
}

TEST(IcarttV2, DefinitionItemsAndStandardNames) {
  struct Case {
    std::string def;
    std::string expected;  // after the header heading; {L} is the line number
    int32_t status;
  } cases[] = {
      {"V1, ppbv, V1_Std", "", 0},
      {"V1, ppbv, V1_Std, Long name, with commas", "", 0},
      {"V1, ppbv",
       "<font color='#FF0000'><br>Error - Header Line{L}: the variable definition holds 2 item(s); an ICARTT V2.0 definition is \"short name, units, standard name[, long name]\".<br>\n</font>{E}",
       10},
      {"V1, ppbv, Ozone mixing ratio",
       "<font color='#FF9933'><br>Warning - Header Line{L}: the standard name \"Ozone mixing ratio\" holds the character ' '; standard names usually hold only ASCII letters, digits and underscores and begin with a letter.<br>\n</font>{E}",
       0},
      {"V1, ppbv, , Long",
       "<font color='#FF9933'><br>Warning - Header Line{L}: the standard name \"\" is empty; standard names usually hold only ASCII letters, digits and underscores and begin with a letter.<br>\n</font>{E}",
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.def);
    IcarttBuilder b = v2File(IcarttBuilder::ffi1001());
    b.vars[2] = c.def;
    const Scan s = scanV2(b);
    std::string expected = c.expected;
    const int line = lineOf(b, "V1, ppbv");
    for (size_t p; (p = expected.find("{L}")) != std::string::npos;)
      expected.replace(p, 3, std::to_string(line));
    if (size_t p = expected.find("{E}"); p != std::string::npos)
      expected.replace(p, 3, echoOf(b, "V1, ppbv"));
    EXPECT_EQ(s.messages, kHeaderStart + expected);
    EXPECT_EQ(s.res.status, c.status);
  }
}

std::string keywordError(const std::string& text) {
  return red("<br>Error - Header" + std::string(text[0] == ':' ? "" : " ") + text + "<br>\n");
}

TEST(IcarttV2, KeywordOrder) {
  // Each case rearranges the default keywords (PI_CONTACT_INFO ... REVISION, then "R0: ...").
  struct Case {
    const char* why;
    std::vector<std::string> comments;  // the normal comments, by their first words
    std::vector<std::string> expected;  // "{Line of KEY}" stands for the line of that comment
  } cases[] = {
      {"PLATFORM before PI_CONTACT_INFO",
       {"PLATFORM", "PI_CONTACT_INFO", "LOCATION", "ASSOCIATED_DATA", "INSTRUMENT_INFO", "DATA_INFO",
        "UNCERTAINTY", "ULOD_FLAG", "ULOD_VALUE", "LLOD_FLAG", "LLOD_VALUE", "DM_CONTACT_INFO",
        "PROJECT_INFO", "STIPULATIONS_ON_USE", "OTHER_COMMENTS", "REVISION", "R0"},
       {"Line{PLATFORM}: the keyword PLATFORM is out of order; it must follow PI_CONTACT_INFO (on Line{PI_CONTACT_INFO})."}},
      {"free text first, then the keywords in order",
       {"Free text about the data", "PI_CONTACT_INFO", "PLATFORM", "LOCATION", "ASSOCIATED_DATA",
        "INSTRUMENT_INFO", "DATA_INFO", "UNCERTAINTY", "ULOD_FLAG", "ULOD_VALUE", "LLOD_FLAG", "LLOD_VALUE",
        "DM_CONTACT_INFO", "PROJECT_INFO", "STIPULATIONS_ON_USE", "OTHER_COMMENTS", "REVISION", "R0"},
       {}},
      {"UNCERTAINTY written twice, DATA_INFO missing",
       {"PI_CONTACT_INFO", "PLATFORM", "LOCATION", "ASSOCIATED_DATA", "INSTRUMENT_INFO", "UNCERTAINTY",
        "UNCERTAINTY", "ULOD_FLAG", "ULOD_VALUE", "LLOD_FLAG", "LLOD_VALUE", "DM_CONTACT_INFO",
        "PROJECT_INFO", "STIPULATIONS_ON_USE", "OTHER_COMMENTS", "REVISION", "R0"},
       {"Line{UNCERTAINTY#2}: the keyword UNCERTAINTY is repeated (first on Line{UNCERTAINTY}); each keyword is written once.",
        ": the keyword DATA_INFO is missing; the normal comments of an ICARTT V2.0 file hold all sixteen keywords, each once and in order."}},
      {"a revision note before REVISION",
       {"PI_CONTACT_INFO", "PLATFORM", "LOCATION", "ASSOCIATED_DATA", "INSTRUMENT_INFO", "DATA_INFO",
        "UNCERTAINTY", "ULOD_FLAG", "ULOD_VALUE", "LLOD_FLAG", "LLOD_VALUE", "DM_CONTACT_INFO",
        "PROJECT_INFO", "STIPULATIONS_ON_USE", "R0", "OTHER_COMMENTS", "REVISION"},
       {"Line{R0}: the revision note R0 comes before the REVISION keyword (on Line{REVISION}); revision notes follow REVISION."}},
  };
  const std::vector<std::string> defaults = IcarttBuilder::defaultKeywords();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    IcarttBuilder b = v2File(IcarttBuilder::ffi1001());
    b.normalComments.clear();
    for (const std::string& word : c.comments) {
      std::string text = word;
      for (const std::string& d : defaults)
        if (d.rfind(word + ":", 0) == 0) text = d;
      b.normalComments.push_back(text);
    }
    b.line1 = std::to_string(b.computedNH()) + ", 1001, V02_2016";
    const std::vector<std::string> lines = b.headerLines();
    // The line number of the k-th comment beginning with word ("KEY#2": the second).
    auto lineOfComment = [&](std::string key) {
      int nth = 1;
      if (const size_t hash = key.find('#'); hash != std::string::npos) {
        nth = std::stoi(key.substr(hash + 1));
        key = key.substr(0, hash);
      }
      for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].rfind(key, 0) == 0 && --nth == 0) return static_cast<int>(i) + 1;
      ADD_FAILURE() << key;
      return -1;
    };
    std::string expected = kHeaderStart;
    for (std::string e : c.expected) {
      int echoLine = -1;
      for (size_t p; (p = e.find('{')) != std::string::npos;) {
        const size_t q = e.find('}', p);
        const int n = lineOfComment(e.substr(p + 1, q - p - 1));
        if (echoLine < 0) echoLine = n;
        e.replace(p, q - p + 1, std::to_string(n));
      }
      expected += keywordError(e);
      if (echoLine > 0) expected += echoA(echoLine, lines[static_cast<size_t>(echoLine - 1)] + "\n");
    }
    const Scan s = scanV2(b);
    EXPECT_EQ(s.messages, expected);
    EXPECT_EQ(s.res.status, c.expected.empty() ? 0 : 10);
  }
}

TEST(IcarttV2, Line8Of2110HoldsOneOrTwoIntervals) {
  struct Case {
    std::string line8;
    bool constant;
    std::string expected;
    int32_t status;
  } cases[] = {
      {"0", false, "", 0},
      {"0, 0", false, "", 0},
      {"0,0", false, "", 0},
      {"60, 1", true, "", 0},
      {"10, 1", true,
       red("Error: Header Line8 (Sampling Period): The value expected for constant equal intervals is 1 (or less), or 60.\n"),
       10},
      {"0, 5", false,
       red("Error: Header Line8 (Sampling Period): The value expected is 0 -- because you selected \n"
           "Time-Interval Type = \"Start, Stop, and Mid-point\".\n"
           "Please correct this value or make the right selection for \"Time-Interval Type\" above.<br>\n"),
       10},
      {"0, x", false,
       red("Error: Header Line8: \"Sampling Interval\"; a numerical value was expected on this line. Only numerical values allowed on this line.<br />\n") +
           "<font color='#0000FF'>Line8:</font> 0, x\n<br /><br />\n",
       10},
      {"0, 0, 0", false,
       red("<br>Error - Header Line8: 3 intervals found; line 8 of an FFI 2110 file holds one interval, or two: the bounded independent variable's, then the unbounded one's.<br>\n") +
           echoA(8, "0, 0, 0\n"),
       10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line8);
    IcarttBuilder b = v2File(IcarttBuilder::ffi2110());
    b.line8 = c.line8;
    ScanOptions opt;
    if (c.constant) opt.interval = ConstantEqual;
    const Scan s = scanV2(b, opt);
    EXPECT_EQ(s.messages, kHeaderStart + c.expected);
    EXPECT_EQ(s.res.status, c.status);
  }
  // A 1001 line 8 still holds one interval.
  IcarttBuilder b = v2File(IcarttBuilder::ffi1001());
  b.line8 = "0, 0";
  EXPECT_EQ(scanV2(b).res.status, 10);
}

TEST(IcarttV2, ErrorsDoNotStopTheHeader) {
  // A bad version item and a bad short name: both reported, and the later V1.1 checks still run.
  IcarttBuilder b = v2File(IcarttBuilder::ffi1001());
  b.line1 = std::to_string(b.computedNH()) + ", 1001, V03";
  b.vars[2] = "V-1, ppbv, V1_Std, Test";
  b.shortNames = "Start_UTC, Stop_UTC, Mid_UTC, V1, V2";  // V1.1: V-1 differs from V1
  const Scan s = scanV2(b);
  EXPECT_EQ(s.res.status, 10) << s.messages;
  EXPECT_TRUE(has(s.messages, "the version item \"V03\" is not V02_2016"));
  EXPECT_TRUE(has(s.messages, "the short name \"V-1\" holds the character '-'"));
  EXPECT_TRUE(has(s.messages, "short variable name ( V1) on this line doesn't match")) << s.messages;
  EXPECT_TRUE(has(s.messages, "the short name \"V1\"") == false);
}

TEST(IcarttV2, ExamplesByBothRuleSets) {
  struct Case {
    const char* file;
    int32_t v11Status, v2Status;
    size_t v2Warnings;  // the header's V2.0 warnings: no version item, standard names with blanks
  } cases[] = {
      {"TARVIK-EXAMPLE-V2_DC8_20190521_R0.ict", 10, 0, 0},
      {"TARVIK-EXAMPLE-PROFILES-V2_DC8_20190521_R0.ict", 10, 0, 0},
      {"TARVIK-EXAMPLE-LIDAR-V2_DC8_20190521_R0.ict", 10, 0, 0},
      {"TARVIK-EXAMPLE_DC8_20190521_R0.ict", 0, 0, 7},
      {"TARVIK-EXAMPLE-PROFILES_DC8_20190521_R0.ict", 0, 0, 8},
      {"TARVIK-EXAMPLE-LIDAR_DC8_20190521_R0.ict", 0, 0, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string bytes = readFile(std::string(TARVIK_SOURCE_DIR) + "/examples/" + c.file);
    TempDir a, b;
    const ScanResult v11 = scanBytes(a, c.file, bytes);
    const ScanResult v2 = scanBytes(b, c.file, bytes, {}, v2Settings());
    EXPECT_EQ(v11.status, c.v11Status);
    EXPECT_EQ(v2.status, c.v2Status) << v2.report;
    size_t headerWarnings = 0;
    for (const Finding& f : v2.outcome.findings) {
      EXPECT_EQ(f.severity, Severity::Warning) << f.message;
      if (f.phase == Phase::Header) ++headerWarnings;
    }
    EXPECT_EQ(headerWarnings, c.v2Warnings);
    if (c.v11Status == 10) {
      // In V1.1 mode a V2.0 file fails line 1, with the hint, and the header stops there.
      const std::string header = section(v11.report, kHeaderStart, kHeaderDone);
      EXPECT_EQ(errorBlocks(header), 2u);
      EXPECT_EQ(warningBlocks(header), 1u);
      EXPECT_TRUE(has(header, "Header Line1 declares an ICARTT V2.0 header (version item \"V02_2016\")"));
    }
  }
}

}  // namespace
}  // namespace tarvik::test
