#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

#include "scan/core/scan_context.h"
#include "scan/core/tokens.h"
#include "scan/header_test_util.h"

namespace tarvik::test {
namespace {

using hdr::echoA;
using hdr::red;

TEST(TokensNumber, IsNumberTokenCases) {
  struct Case {
    const char* token;
    bool ok;
    size_t position;
  } cases[] = {
      {"-7777", true, 0},     // success at a sign: the sign's position
      {" -9999", true, 1},    // a leading space before the sign is allowed
      {"1.5e-3", true, 4},    // the sign follows the exponent letter
      {"1.5E+03", true, 4},
      {"1-2", true, 1},       // a sign at position 1 is always accepted
      {"12", true, 2},        // success without a sign: the length
      {"0.5", true, 3},
      {"1e5", true, 3},
      {"-1.5e-3", true, 0},   // the first '-' is taken
      {"1 2", true, 3},       // a space resets the counters
      {"1e5e3", false, 3},    // a second exponent letter
      {"--5", false, 1},      // two signs before the exponent
      {"1.2.3", false, 3},    // two points before the exponent
      {"12-3", false, 2},     // a sign beyond position 1, not after an exponent letter
      {"N/A", false, 0},
      {"1.5x", false, 3},
      {"1e5.5.5", true, 7},   // points after the exponent are not limited
      {"1e--5", false, 3},    // two signs after the exponent
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.token);
    TokenCheck r = isNumberToken(c.token);
    EXPECT_EQ(r.ok, c.ok);
    EXPECT_EQ(r.position, c.position);
  }
}

TEST(TokensNumber, CheckNumberCharsHasNoSignRule) {
  TokenCheck r = checkNumberChars("12-3");
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.position, 4u);
  r = checkNumberChars("12a");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.position, 2u);
  // A NUL byte is a character like any other: not a number character.
  r = checkNumberChars(std::string_view("1\0" "2", 3));
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.position, 1u);
}

TEST(TokensNumber, WholeTextTests) {
  struct Case {
    std::string text;
    bool real, integer;
  } cases[] = {
      {"0\n", true, true},        {"0.5\n", true, false},   {"1 0\n", true, true},
      {"2e1", true, true},        {"1 2", true, true},      {"abc", false, false},
      {"1.2.3", false, false},    {"-1\n", true, true},     {"\t60\r\n", true, true},
      {"--1", false, false},      {std::string(126, '1'), true, true},
      {std::string(127, '1'), false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(isRealText(c.text), c.real);
    EXPECT_EQ(isIntegerText(c.text), c.integer);
  }
}

TEST(TokensCompare, NearlyEqual) {
  EXPECT_TRUE(nearlyEqual(1.0000001, 1));
  EXPECT_FALSE(nearlyEqual(1.00001, 1));
  EXPECT_TRUE(nearlyEqual(-9999, -9999.0000005));
  EXPECT_FALSE(nearlyEqual(0, 0.00001));
}

TEST(TokensCompare, TextComparisons) {
  Report rep;
  EXPECT_TRUE(samePrefixNoCase(&rep, "G", "GEOS-CHEM", 9));
  EXPECT_TRUE(samePrefixNoCase(&rep, "geos-chem2", "GEOS-CHEM", 9));
  EXPECT_TRUE(samePrefixNoCase(&rep, "", "GEOS-CHEM", 9));
  EXPECT_FALSE(samePrefixNoCase(&rep, "GEOX", "GEOS-CHEM", 9));
  EXPECT_TRUE(sameTextNoCase(&rep, "mrg10", "MRG10"));
  EXPECT_FALSE(sameTextNoCase(&rep, "MRG1", "MRG10"));
  EXPECT_EQ(rep.contents(), "");

  std::string longText(255, 'a');
  EXPECT_FALSE(sameTextNoCase(&rep, longText, longText));
  EXPECT_EQ(rep.contents(), "<font color='#FF9933'><br>Warning - this text is too long (max=255): " + longText + "\n</font>");
  Report rep2;
  EXPECT_FALSE(samePrefixNoCase(&rep2, longText, longText, 300));
  EXPECT_EQ(rep2.contents(), "<font color='#FF9933'><br>Warning text is too long (max=255): " + longText + "\n</font>");
  Report rep3;
  EXPECT_TRUE(samePrefixNoCase(&rep3, std::string(254, 'a'), std::string(254, 'A'), 300));
  EXPECT_EQ(rep3.contents(), "");
}

TEST(TokensCompare, SameShortName) {
  EXPECT_TRUE(sameShortName("Start_UTC, seconds, Start time", "start_utc", '`'));
  EXPECT_TRUE(sameShortName("Sta rt_UTC, seconds", " START_UTC ", '`'));
  EXPECT_TRUE(sameShortName("O3; ppbv", "o3`rest", '`'));
  EXPECT_FALSE(sameShortName("Start_UTC, seconds", "Stop_UTC", '`'));
  EXPECT_FALSE(sameShortName("Start_UTC, seconds", "Start_UTC2", '`'));
}

TEST(TokensRead, LeadingReal) {
  struct Case {
    const char* text;
    double value;
  } cases[] = {
      {"+1.5", 1.5}, {"1.5", 1.5},   {"1e", 1},       {"0x1A", 0},    {"inf", 0},     {"-inf", 0},
      {"nan", 0},    {"  7", 7},     {"-2.5e3x", -2500}, {".5", 0.5}, {"-.5", -0.5}, {"abc", 0},
      {"1.5e+", 1.5}, {"-9999, 1", -9999}, {"", 0},    {"- 5", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(leadingReal(c.text), c.value);
  }
  size_t used = 99;
  EXPECT_EQ(leadingReal(" 12.5abc", &used), 12.5);
  EXPECT_EQ(used, 5u);
  EXPECT_EQ(leadingReal("x", &used), 0);
  EXPECT_EQ(used, 0u);
  // Beyond the range of a double, as strtod reads it.
  EXPECT_TRUE(std::isinf(leadingReal("1e400")));
  EXPECT_GT(leadingReal("1e400"), 0);
  EXPECT_TRUE(std::isinf(leadingReal("-1e400")));
  EXPECT_LT(leadingReal("-1e400"), 0);
  EXPECT_EQ(leadingReal("1e-400"), 0);
}

TEST(TokensRead, LeadingInt) {
  struct Case {
    const char* text;
    int32_t value;
  } cases[] = {
      {"+1.5", 1},          {"0x1A", 0},          {"1e", 1},          {"inf", 0},
      {" -42x", -42},       {"2147483647", INT32_MAX}, {"2147483648", INT32_MIN},
      {"4294967297", 1},    {"99999999999999999999", -1}, {"-99999999999999999999", 0},
      {"", 0},              {"3; comment", 3},    {"2e1", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(leadingInt(c.text), c.value);
  }
}

TEST(TokensItemCount, SemicolonCutBeforeCommasOnLine1) {
  ScanContext ctx;
  ctx.hdr.numHeaderLines = 0;
  std::string text = "30, 1001; a comment, with, commas\n";
  EXPECT_EQ(checkItemCount(ctx, text, 2, 1), 0);
  EXPECT_EQ(text, "30  1001");
  EXPECT_EQ(ctx.report.contents(), "");
}

TEST(TokensItemCount, MismatchMessages) {
  struct Case {
    std::string text;
    int32_t expected;
    int64_t line;
    std::string message;
  } cases[] = {
      {"1, 1, 1\n", 2, 6,
       red("Error - Header  Line6: Either the delimiter(s) NOT compliant or the number of items on this line NOT matching; delimiters should be all commas. See ICARTT File Format document for details. \n"
           "<br>The expected number of individual items (i.e., data points or labels) on this line = 2; the number of items found >= 3.<br>\n"
           "<br />The expected number of \"commas\" on this line = 1; the number of \"commas\" found >= 2.<br />\n") +
           echoA(6, "1, 1, 1\n")},
      {"2019 05 21 2019 06 01\n", 6, 7,
       red("Error - Header  Line7: Either the delimiter(s) NOT compliant or the number of items on this line NOT matching; delimiters should be all commas. See ICARTT File Format document for details. \n"
           "<br>The expected number of individual items (i.e., data points or labels) on this line = 6; the number of items found =  1.<br>\n"
           "<br />The expected number of \"commas\" on this line = 5; the number of \"commas\" found =  0.<br />\n") +
           echoA(7, "2019 05 21 2019 06 01\n")},
      {"1, 2\n", 3, 40,
       red("Error -   Line40: Either the delimiter(s) NOT compliant or the number of items on this line NOT matching; delimiters should be all commas. See ICARTT File Format document for details. \n"
           "<br>The expected number of individual items (i.e., data points or labels) on this line = 3; the number of items found =  2.<br>\n"
           "<br />The expected number of \"commas\" on this line = 2; the number of \"commas\" found =  1.<br />\n") +
           echoA(40, "1, 2\n")},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.text);
    ScanContext ctx;
    ctx.hdr.numHeaderLines = 30;
    EXPECT_EQ(checkItemCount(ctx, c.text, c.expected, c.line), 10);
    EXPECT_EQ(ctx.report.contents(), c.message);
  }
}

TEST(TokensItemCount, CommasBecomeSpacesAndSingleItemsAreNotCounted) {
  ScanContext ctx;
  ctx.hdr.numHeaderLines = 30;
  std::string text = "1, 2, 3\n";
  EXPECT_EQ(checkItemCount(ctx, text, 3, 11), 0);
  EXPECT_EQ(text, "1  2  3\n");
  EXPECT_EQ(ctx.run.echoBuffer, "1, 2, 3\n");

  ctx.run.echoBuffer = "unchanged";
  std::string count = "3; a, b\n";
  EXPECT_EQ(checkItemCount(ctx, count, 1, 16), 0);
  EXPECT_EQ(count, "3");
  EXPECT_EQ(ctx.run.echoBuffer, "unchanged");

  // The last header line is not cut.
  std::string last = "a; b\n";
  EXPECT_EQ(checkItemCount(ctx, last, 1, 30), 0);
  EXPECT_EQ(last, "a; b\n");
  EXPECT_EQ(ctx.report.contents(), "");
}

TEST(TokensItemCount, Line1WithCommentedCommasPassesInAWholeScan) {
  IcarttBuilder b = IcarttBuilder::ffi1001();
  b.line1 = std::to_string(b.computedNH()) + ", 1001; a comment, with, commas";
  hdr::Scan s = hdr::scan(b);
  EXPECT_EQ(s.res.status, 0) << s.header;
  EXPECT_EQ(hdr::errorBlocks(s.messages), 0u) << s.messages;
  EXPECT_TRUE(hdr::has(s.header, hdr::row(1, "NH, FFI", std::to_string(b.computedNH()) + ", 1001")));
}

}  // namespace
}  // namespace tarvik::test
