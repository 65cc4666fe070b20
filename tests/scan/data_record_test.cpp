// Reading one data line: blank lines and the end of the file, unterminated and over-long lines, the
// character test, the item count, the tokens and the count of values, for each kind of line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan/core/report.h"
#include "scan/data_test_util.h"

namespace tarvik::test {
namespace {

using namespace data;

// The default 1001 file (NV 4, NH 36) with the given data lines.
IcarttBuilder file1001(std::vector<std::string> lines) {
  IcarttBuilder b = IcarttBuilder::ffi1001();
  b.data = std::move(lines);
  return b;
}

// A record, blank lines, and then two more records or the end of the file.
std::vector<std::string> withBlanks(size_t blanks, bool recordsAfter) {
  std::vector<std::string> lines = {record(0)};
  for (size_t i = 0; i < blanks; ++i) lines.push_back("");
  if (recordsAfter) {
    lines.push_back(record(1));
    lines.push_back(record(2));
  }
  return lines;
}

std::string itemCountError(int line, int expected, int found) {
  return red("Error -  " + std::string(" ") + "Line" + std::to_string(line) +
             ": Either the delimiter(s) NOT compliant or the number of items on this line NOT matching; delimiters should be all commas. See ICARTT File Format document for details. \n"
             "<br>The expected number of individual items (i.e., data points or labels) on this line = " +
             std::to_string(expected) + "; the number of items found =  " + std::to_string(found) +
             ".<br>\n<br />The expected number of \"commas\" on this line = " + std::to_string(expected - 1) +
             "; the number of \"commas\" found =  " + std::to_string(found - 1) + ".<br />\n");
}

TEST(DataRecordBlankLines, CountsAndEndOfFile) {
  const IcarttBuilder probe = file1001({});
  ASSERT_EQ(probe.computedNH(), 36);
  struct Case {
    const char* why;
    std::vector<std::string> lines;
    int32_t status;
    std::string data;
  };
  const Case cases[] = {
      {"one blank line between records", withBlanks(1, true), 19, red("Line38 is empty.<br>\n") + closing(37)},
      {"four blank lines then a record", withBlanks(4, true), 19, red("Line38 is empty.<br>\n") + closing(37)},
      {"three blank lines then the end", withBlanks(3, false), 0, closing(37)},
      {"four blank lines then the end", withBlanks(4, false), 0, closing(37)},
      {"five blank lines then the end", withBlanks(5, false), 18, closing(37)},
      {"five blank lines then a record", withBlanks(5, true), 18, closing(37)},
      {"six blank lines then a record", withBlanks(6, true), 18, closing(37)},
      {"seven blank lines then a record", withBlanks(7, true), 18, closing(37)},
      {"eight blank lines then a record", withBlanks(8, true), 18, closing(37)},
      {"ten blank lines then a record", withBlanks(10, true), 18, closing(37)},
      {"a blank first data line", {"", record(0)}, 19, red("Line37 is empty.<br>\n") + closing(36)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    DataScan s = scanData(file1001(c.lines));
    ASSERT_TRUE(s.reached) << s.res.report;
    EXPECT_EQ(s.res.status, c.status);
    EXPECT_EQ(s.data, c.data);
  }
}

TEST(DataRecordBlankLines, TheRecordAfterTheBlankLinesIsConsumed) {
  // The record after one blank line is read by the call that reports the blank line, and the
  // phase ends there: its broken item count is never reported.
  DataScan s = scanData(file1001({record(0), "", "36010, 36020, 36015, 10", record(2)}));
  EXPECT_EQ(s.res.status, 19);
  EXPECT_EQ(s.data, red("Line38 is empty.<br>\n") + closing(37));
}

TEST(DataRecordBlankLines, BlanksCommasAndTabsMakeABlankLine) {
  // (A 1001 line-ending pass refuses a data line that begins with a comma or a tab, so the
  // unbounded lines of a 2110 file show it.)
  IcarttBuilder b = IcarttBuilder::ffi2110();
  const int nh = b.computedNH();
  struct Case {
    const char* why;
    std::string blank;
  };
  const Case cases[] = {{"blanks", "   "}, {"commas", ",,,"}, {"tab", "\t"}, {"all kinds", " ,\t, "}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    IcarttBuilder t = b;
    t.data.push_back(c.blank);
    t.data.push_back("36060, 36120, 36090, 0");
    DataScan s = scanData(t);
    ASSERT_TRUE(s.reached);
    EXPECT_EQ(s.res.status, 19);
    EXPECT_EQ(s.data, red("Line" + std::to_string(nh + 4) + " is empty.<br>\n") + closing(nh + 3));
  }
}

TEST(DataRecordEndOfFile, UnterminatedLastLine) {
  struct Case {
    const char* why;
    std::vector<std::string> lines;
    int32_t status;
    std::string data;
  };
  const std::string warn38 =
      orange("End-of-file reached. Line38 might NOT be terminated correctly, or missing end-of-line char [CRLF]. <br>\n");
  const Case cases[] = {
      {"a record without a line end", {record(0), record(1)}, 10,
       warn38 +
           red("Error: Line38 seems NOT empty but missing EOL char. This line needs to be terminated correctly. <br>\n") +
           closing(37)},
      {"three characters", {record(0), "123"}, 10,
       warn38 +
           red("Error: Line38 seems NOT empty but missing EOL char. This line needs to be terminated correctly. <br>\n") +
           closing(37)},
      {"the two digits 12", {record(0), "12"}, 0, closing(37)},
      {"one digit", {record(0), "7"}, 0, closing(37)},
      {"three blanks", {record(0), "   "}, 0, warn38 + closing(37)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    DataScan s = scanData(file1001(c.lines), {}, /*unterminated=*/true);
    ASSERT_TRUE(s.reached) << s.res.report;
    EXPECT_EQ(s.res.status, c.status);
    EXPECT_EQ(s.data, c.data);
  }
}

TEST(DataRecordEndOfFile, BlankUnterminatedFirstLineLongerThan32PerVariable) {
  // NV 4: a first data line of blanks without a line end may hold 128 characters.
  const std::string warn =
      orange("End-of-file reached. Line37 might NOT be terminated correctly, or missing end-of-line char [CRLF]. <br>\n");
  const std::string eolError = red(
      "Line37: End-of-line Error. This error could be due to the file being written or transferred in binary mode on your machine. "
      "Please use a Text Editor to open the file and then save it (i.e., overwrite existing text) within the Text Editor.<br>\n");
  struct Case {
    size_t blanks;
    int32_t status;
    std::string data;
  };
  const Case cases[] = {{128, 0, warn + closing(36)}, {129, 10, warn + eolError + closing(36)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.blanks);
    DataScan s = scanData(file1001({std::string(c.blanks, ' ')}), {}, /*unterminated=*/true);
    ASSERT_TRUE(s.reached) << s.res.report;
    EXPECT_EQ(s.res.status, c.status);
    EXPECT_EQ(s.data, c.data);
  }
}

TEST(DataRecordEndOfLine, ALineThatFillsTheBuffer) {
  // The last line is not followed by an ordinary line, so the line-ending pass leaves the limit
  // at 1023 and a read returns at most 1022 characters, line feed included.
  const std::string head = "36010, 36020, 36015, 10, ";
  struct Case {
    size_t length;  // characters before the line end
    int32_t status;
    std::string data;
  };
  const std::string eolError = red(
      "Line38: End-of-line Error. This error could be due to the file being written or transferred in binary mode on your machine. "
      "Please use a Text Editor to open the file and then save it (i.e., overwrite existing text) within the Text Editor.<br>\n");
  const Case cases[] = {{1019, 0, closing(38)}, {1020, 10, eolError + closing(37)}, {1021, 10, eolError + closing(37)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    const std::string line = head + std::string(c.length - head.size() - 2, '0') + "11";
    ASSERT_EQ(line.size(), c.length);
    DataScan s = scanData(file1001({record(0), line}));
    ASSERT_TRUE(s.reached) << s.res.report;
    EXPECT_EQ(s.res.maxLineLength, 1023);
    EXPECT_EQ(s.res.status, c.status);
    EXPECT_EQ(s.data, c.data);
  }
}

TEST(DataRecordCharacters, InvalidCharacterReport) {
  const std::string hint =
      "This error could also be due to the number of lines in header (NH on line1 = 36) not being correct.<br>\n";
  struct Case {
    const char* why;
    bool firstLine;  // the line is the first data line (else the second)
    std::string line;
    int location;
    std::string which;  // the sentence naming the character
  };
  const Case cases[] = {
      {"tab, second line", false, "36010, 36020,\t36015, 10, 11", 14, "The invalid character is a 'Tab'.<br>\n"},
      {"tab, first line", true, "36000,\t36010, 36005, 10, 11", 7, "The invalid character is a 'Tab'.<br>\n"},
      {"byte e9, first line", true, "36000, 36010, 36005, 1\xe9, 11", 23,
       "The invalid character is a '\xe9' (Hex = e9).<br>\n"},
      {"byte e9, second line", false, "36010, 36020, 36015, 1\xe9, 11", 23,
       "The invalid character is a '\xe9' (Hex = e9).<br>\n"},
      {"letter", false, "36010, 36020, 36015, 10, 1x", 27, "The invalid character is a 'x' (Hex = 78).<br>\n"},
      {"markup is shown as text", false, "36010, 36020, 36015, 10, <b>", 26,
       "The invalid character is a '&lt;' (Hex = 3c).<br>\n"},
      {"NUL byte", false, std::string("36010, 36020, 36015, 10, 1\0", 27), 27,
       "The invalid character is a '" + htmlEscape(std::string(1, '\0')) + "' (Hex = 0).<br>\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    const int line = c.firstLine ? 37 : 38;
    DataScan s = scanData(file1001(c.firstLine ? std::vector<std::string>{c.line} : std::vector<std::string>{record(0), c.line}));
    ASSERT_TRUE(s.reached) << s.res.report;
    EXPECT_EQ(s.res.status, 10);
    EXPECT_EQ(s.data, red("<br>Data Error on Line" + std::to_string(line) +
                          ": Found an invalid character on this line at location " + std::to_string(c.location) +
                          ". \n" + c.which + (c.firstLine ? hint : "")) +
                          echoA(line, htmlEscape(c.line) + "\n") + closing(line - 1));
  }
}

TEST(DataRecordCharacters, CharacterTestRunsAfterAFailedItemCount) {
  const std::string line = "36010, 36020, 36015, 10 x";
  DataScan s = scanData(file1001({record(0), line}));
  EXPECT_EQ(s.res.status, 10);
  EXPECT_EQ(s.data, itemCountError(38, 5, 4) + echoA(38, line + "\n") +
                        red("<br>Data Error on Line38: Found an invalid character on this line at location 25. \n"
                            "The invalid character is a 'x' (Hex = 78).<br>\n") +
                        echoA(38, line + "\n") + closing(37));
}

TEST(DataRecordCharacters, ASingleValueLineEchoesTheLastCountedLine) {
  // A 2310 block of array size 1: a line of one item is not counted, so the echo copy is still
  // that of the line before it, the block's unbounded-variable line.
  IcarttBuilder b = IcarttBuilder::ffi2310();
  const int nh = b.computedNH();
  struct Case {
    const char* why;
    std::vector<std::string> lines;
    std::string echo;
  };
  const Case cases[] = {
      {"first block", {"36000, 36060, 36030, 1, 500, 250", "40.1x", "1.1"}, "36000, 36060, 36030, 1, 500, 250\n"},
      {"second block",
       {"36000, 36060, 36030, 1, 500, 250", "40.1", "1.1", "36060, 36120, 36090, 1, 600, 250", "40.1x", "1.1"},
       "36060, 36120, 36090, 1, 600, 250\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    b.data = c.lines;
    const int line = nh + static_cast<int>(c.lines.size()) - 1;
    DataScan s = scanData(b);
    ASSERT_TRUE(s.reached) << s.res.report;
    EXPECT_EQ(s.res.status, 10);
    EXPECT_EQ(s.data, red("<br>Data Error on Line" + std::to_string(line) +
                          ": Found an invalid character on this line at location 5. \n"
                          "The invalid character is a 'x' (Hex = 78).<br>\n") +
                          echoA(line, c.echo) + closing(line - 1));
  }
}

TEST(DataRecordTokens, RejectedTokensAndTheirContinuation) {
  struct Case {
    const char* why;
    std::string line;
    std::string data;
  };
  const Case cases[] = {
      {"one rejected token", "36010, 36020, 36015, 12-3, 11",
       red("<br>Data Error on Line38: Found invalid character(s) on this line (Var4 = 12-3)") + closing(37)},
      {"two rejected tokens", "36010, 36020, 36015, 12-3, 55-6",
       red("<br>Data Error on Line38: Found invalid character(s) on this line (Var4 = 12-3)") +
           red(", (Var5 = 55-6)") + closing(37)},
      {"after a failed item count", "36010, 36020, 36015, 12-3",
       itemCountError(38, 5, 4) + echoA(38, "36010, 36020, 36015, 12-3\n") + red(", (Var4 = 12-3)") + closing(37)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    DataScan s = scanData(file1001({record(0), c.line}));
    ASSERT_TRUE(s.reached) << s.res.report;
    EXPECT_EQ(s.res.status, 10);
    EXPECT_EQ(s.data, c.data);
  }
}

TEST(DataRecordCount, PlainRecords) {
  // NV 3: four values expected; the commas are right, the blanks make more or fewer tokens.
  std::string many = "36000, 36010, 36005, 1";
  for (int k = 2; k <= 22; ++k) many += " " + std::to_string(k);  // 25 tokens
  struct Case {
    const char* why;
    std::string line;
    std::string read;
  };
  const Case cases[] = {
      {"25 tokens stop after the ninth", many, "(> 9"},
      {"five tokens", "36000, 36010, 36005, 1 2", "(5"},
      {"eight tokens", "36000, 36010, 36005, 1 2 3 4 5", "(8"},
      {"nine tokens: more than twice four", "36000, 36010, 36005, 1 2 3 4 5 6", "(> 9"},
      {"three tokens", "36000, 36010, , 36005", "(3"},
  };
  IcarttBuilder b = IcarttBuilder::ffi1001(1);
  ASSERT_EQ(b.computedNH(), 35);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    b.data = {c.line};
    DataScan s = scanData(b);
    ASSERT_TRUE(s.reached) << s.res.report;
    EXPECT_EQ(s.res.status, 10);
    EXPECT_EQ(s.data, red("Data Error on Line36 (record incorrect): The total number of data points read" + c.read +
                          ") on this line \n"
                          "does not match those in the header (Independent(1)+ NV(3) = 4(expected)).<br>\n") +
                          closing(35));
  }
}

TEST(DataRecordCount, UnboundedAndBoundedLines) {
  struct Case {
    const char* why;
    IcarttBuilder b;
    ScanOptions opt;
    int line;  // offset of the failing line from NH
    std::string data;  // the message after "...read(N) on this line \n"
  };
  IcarttBuilder u2110 = IcarttBuilder::ffi2110();
  u2110.data = {"36000, 36060, 36030, 2 7"};
  IcarttBuilder b2110 = IcarttBuilder::ffi2110();
  b2110.data = {"36000, 36060, 36030, 1", "500, 40.1, 280.5 3"};
  IcarttBuilder b2310 = IcarttBuilder::ffi2310();
  b2310.data = {"36000, 36060, 36030, 8, 500, 250", "1, 2, 3, 4, 5, 6, 7,"};
  IcarttBuilder c2310 = IcarttBuilder::ffi2310();
  c2310.auxVars = {"NumAlt, number, Number of altitudes", "Alt0, m, First altitude", "dAlt, m, Altitude step"};
  c2310.data = {"36000, 8, 500, 250", "1, 2, 3, 4, 5, 6, , 7"};
  c2310.line8 = "1";
  const Case cases[] = {
      {"2110 unbounded line", u2110, {}, 1,
       "(5) on this line \ndoes not match those in the header (Unbounded_IndepVar(1) + NumAuxVars(3) = 4(expected)).<br>\n"},
      {"2110 bounded line", b2110, {}, 2,
       "(4) on this line \n is NOT_EQUAL_TO the \"number of points\" expected(3); as was read from Auxiliary_Variable_3 on the previous line(s).<br>\n"},
      {"2310 bounded line, start-stop-mid", b2310, {}, 2,
       "(7) on this line \n is NOT_EQUAL_TO the \"number of points\" expected(8); as was read from Auxiliary_Variable_3 on the previous line(s).<br>\n"},
      {"2310 bounded line, constant interval", c2310, constantEqual(), 2,
       "(7) on this line \n is NOT_EQUAL_TO the \"number of points\" expected(8); as was read from Auxiliary_Variable_1 on the previous line(s).<br>\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    const int nh = c.b.computedNH();
    DataScan s = scanData(c.b, c.opt);
    ASSERT_TRUE(s.reached) << s.res.report;
    EXPECT_EQ(s.res.status, 10);
    EXPECT_EQ(s.data, red("Data Error on Line" + std::to_string(nh + c.line) +
                          " (record incorrect): The total number of data points read" + c.data) +
                          closing(nh + c.line - 1));
  }
}

TEST(DataRecordCount, MorePointsExpectedThanALineCanHold) {
  // Array size 100000 with lines of at most 1022 characters: the item count fails.
  IcarttBuilder b = IcarttBuilder::ffi2310();
  b.data = {"36000, 36060, 36030, 100000, 500, 250", "1, 2, 3", "1, 2, 3"};
  const int nh = b.computedNH();
  DataScan s = scanData(b);
  ASSERT_TRUE(s.reached) << s.res.report;
  EXPECT_EQ(s.res.status, 10);
  EXPECT_EQ(s.data, itemCountError(nh + 2, 100000, 3) + echoA(nh + 2, "1, 2, 3\n") + closing(nh + 1));
}

TEST(DataRecordTrailingComma, OnlyAnUnboundedLineToleratesOne) {
  struct Case {
    const char* why;
    int ffi;
    std::vector<std::string> lines;
    int32_t status;
    int line;      // offset from NH of the failing line, 0 when none fails
    int expected;  // items expected on it
    std::string echo;
  };
  const Case cases[] = {
      {"2110 unbounded line, one comma", 2110, {"36000, 36060, 36030, 2,", "500, 40.1, 280.5", "1000, 41.2, 277.1"}, 0, 0, 0, ""},
      {"2110 unbounded line, one comma and blanks", 2110,
       {"36000, 36060, 36030, 2,  ", "500, 40.1, 280.5", "1000, 41.2, 277.1"}, 0, 0, 0, ""},
      {"2110 unbounded line, the comma 15th from the end", 2110,
       {"36000, 36060, 36030, 2," + std::string(13, ' '), "500, 40.1, 280.5", "1000, 41.2, 277.1"}, 0, 0, 0, ""},
      {"2110 unbounded line, the comma 16th from the end", 2110,
       {"36000, 36060, 36030, 2," + std::string(14, ' '), "500, 40.1, 280.5", "1000, 41.2, 277.1"}, 10, 1, 4,
       "36000, 36060, 36030, 2," + std::string(14, ' ') + "\n"},
      {"2310 unbounded line, one comma", 2310,
       {"36000, 36060, 36030, 3, 500, 250,", "40.1, 41.2, 42.3", "1.1, 1.2, 1.3"}, 0, 0, 0, ""},
      {"2110 unbounded line, two commas", 2110, {"36000, 36060, 36030, 2,,", "500, 40.1, 280.5", "1000, 41.2, 277.1"},
       10, 1, 4, "36000, 36060, 36030, 2, \n"},
      {"2110 bounded line, one comma", 2110, {"36000, 36060, 36030, 2", "500, 40.1, 280.5,", "1000, 41.2, 277.1"}, 10,
       2, 3, "500, 40.1, 280.5,\n"},
      {"1001 record, one comma", 1001, {record(0) + ","}, 10, 1, 5, record(0) + ",\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    IcarttBuilder b = c.ffi == 1001 ? IcarttBuilder::ffi1001() : c.ffi == 2110 ? IcarttBuilder::ffi2110() : IcarttBuilder::ffi2310();
    b.data = c.lines;
    const int nh = b.computedNH();
    DataScan s = scanData(b);
    ASSERT_TRUE(s.reached) << s.res.report;
    EXPECT_EQ(s.res.status, c.status);
    if (c.line == 0)
      EXPECT_EQ(s.data, closing(nh + static_cast<int>(c.lines.size())));
    else
      EXPECT_EQ(s.data, itemCountError(nh + c.line, c.expected, c.expected + 1) + echoA(nh + c.line, c.echo) +
                            closing(nh + c.line - 1));
  }
}

TEST(DataRecordValues, ValuesAreTheLeadingNumbersOfTheTokens) {
  // The values reach the plot store as read: the leading number of each token.
  PlotDataStore store;
  ScanOptions opt;
  opt.store = &store;
  DataScan s = scanData(file1001({"36000, 36010, 36005, +1.5e2, -.25", "36010.0, 36020, 36015, 1E-1, 7"}), opt);
  EXPECT_EQ(s.res.status, 0);
  EXPECT_EQ(s.data, closing(38));
  ASSERT_EQ(store.RecordCount(), 2);
  EXPECT_EQ(store.column(3)[0], 150.0f);
  EXPECT_EQ(store.column(4)[0], -0.25f);
  EXPECT_EQ(store.column(0)[1], 36010.0f);
  EXPECT_EQ(store.column(3)[1], 0.1f);
}

}  // namespace
}  // namespace tarvik::test
