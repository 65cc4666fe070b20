// The line-ending pass through whole scans: line 1, the LF and CR repairs, the FFI 1001 length and
// first-field checks, buffer enlargement, the line count, and a Ctrl-Z with text after it.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "scan/core/site.h"
#include "support/icartt_builder.h"
#include "support/test_files.h"

namespace tarvik::test {
namespace {

using namespace std::string_literals;

const std::string kName = "TEST-DATA_DC8_20190521_R0.ict";

// The report text written by the line-ending pass: after the file-name phase, up to the header
// phase or the end of the scan.
std::string linePhase(const std::string& report) {
  const std::string from = "<p><H4>Done Processing File Name.</H4></p><hr>\n";
  size_t a = report.find(from);
  if (a == std::string::npos) return "<no file-name phase>";
  a += from.size();
  size_t b = std::min(report.find("<p><H4>Processing File Header . . .</H4></p>\n", a),
                      report.find("<center><H2>Finished Scanning File.", a));
  return report.substr(a, b == std::string::npos ? std::string::npos : b - a);
}

std::string num(long long v) { return std::to_string(v); }
std::string warnBlock(const std::string& s) { return "<font color='#FF9933'>" + s + "</font>"; }
std::string errBlock(const std::string& s) { return "<font color='#FF0000'>" + s + "</font>"; }
std::string echoB(long long n, const std::string& line) {
  return "<font color='#0000FF'>Line" + num(n) + ":</font> " + line + "<br /><br />\n";
}
std::string echoE(long long n, const std::string& line) {
  return "<font color='#0000FF'>Line" + num(n) + ":</font> " + line + "\n<br><br>";
}
std::string echoF(long long n, const std::string& line) {
  return "<font color='#0000FF'>Line" + num(n) + ":</font> " + line + "\n<br /><br />";
}
std::string line1Warning(int nh, int ffi, const std::string& line) {
  return warnBlock(
             "<br />Warning Header Line1 [ NH=" + num(nh) + ", FFI=" + num(ffi) +
             " ] seems to have too many irrelevant char's, or may NOT be terminated correctly (end-of-line maybe unknown).<br />\n") +
         echoE(1, line);
}
std::string lengthWarning(long long lineNo, int flag, int expected, size_t len, const std::string& line) {
  return warnBlock(
             "<br>Warning Header Line" + num(lineNo) + " (Flag=[" + num(flag) + "::" + num(expected) +
             "], length=" + num(static_cast<long long>(len)) +
             ", FFI=1001) seems to have too many [maybe irrelevant] char's, or may NOT be terminated correctly (end-of-line maybe unknown).<br />\n") +
         echoF(lineNo, line);
}
const std::string kLengthTooMany = warnBlock("<br>Too many warnings ... end-of-line maybe unknown.<br>\n");
std::string endOfLineError(int nv) {
  return errBlock(
      "<br>Error: Tarvik could not determine the end-of-line char's (CR-LF). The file seems to have been created with Carriage_Returns and/or Line_Feeds symbols missing on certain lines.  \n"
      "<br>This error could also be due to the Number of Variables (NV) on line10 not being correct (Read NV=" +
      num(nv) + ") <br>\n");
}
std::string valueWarning(int count, long long lineNo, const std::string& value, const std::string& line) {
  return warnBlock("<br />Warning_" + num(count) + " Line" + num(lineNo) +
                   ": Independent Var1_Value=" + value + " seems unusual or incorrect.<br />\n") +
         echoF(lineNo, line);
}
const std::string kValueTooMany =
    warnBlock("<br />Too many warnings ... Independent Var1 seems unusual ...<br />\n");
std::string itemError(size_t len, int maxL, int wFlag, long long lineNo, bool nhSentence,
                      const std::string& line) {
  return errBlock(
             "<br />Error [Len=" + num(static_cast<long long>(len)) + ", MaxL=" + num(maxL) +
             ", wFlag=" + num(wFlag) + "] - Line" + num(lineNo) +
             ": Certain items on this line are NOT compliant or non-allowed char(s) were encountered. If this is a HEADER ONLY file, please include also one data record (set variables' values to -9's).<br />" +
             (nhSentence
                  ? "This error could also be due to a mismatch in the NumHeaderLines on line1, NumVariables on line10, NumSpecialComments or NumNormalComments.<br />\n"s
                  : ""s)) +
         echoB(lineNo, line);
}
const std::string kLfName = "Line Feed (LF [Hex = 0x0A], '\\r')";
const std::string kCrName = "CARRIAGE RETURN(CR [Hex = 0x0D])";
const std::string kLfWarning =
    warnBlock("<br>Warning: The file seems to have been created with the " + kLfName +
              " symbol missing. File contents (data lines) are missing the " + kLfName +
              " symbol.<br><br>Tarvik will attempt to fix the CR-LF symbols . . .\n");
const std::string kCrWarning =
    warnBlock("<br>Warning: This file seems to have been created with the " + kCrName +
              " symbol missing in the DATA Section. DATA lines seem to be missing the " + kCrName +
              " symbol.<br><br>Tarvik will attempt to fix the CR-LF symbols . . .\n");
const std::string kDone = warnBlock("<br><br>Done. Tarvik Fixed the CR-LF symbols.<br><br>\n");
std::string contact(const std::string& subject) {
  return "<a href=\"mailto:"s + site::kProjectOfficeMail + "?subject=" + subject +
         "\">Ostrel Project Office</a>";
}
std::string ctrlZError(long long at) {
  return errBlock(
      "<br>Error: an end-of-file mark (Ctrl-Z, Hex = 0x1A) was found at byte " + num(at) +
      ", but the file goes on after it; the rest of the file was not scanned. Remove the mark or the text after it.<br>\n");
}
std::string verdictMax(int n) { return "<br>Max char's per line found = less than " + num(n) + "\n"; }

// A data line of FFI 1001 whose first field is first, padded with ", 12" items to length chars.
std::string dataLine(const std::string& first, size_t length) {
  std::string s = first + ", 36010, 36005, 10, 11";
  while (s.size() < length) s += ", 12";
  if (s.size() > length) s.resize(length);
  if (s.back() == ',' || s.back() == ' ') s.back() = '3';
  return s;
}

std::string dirNames(const TempDir& dir, const std::string& a, const std::string& b) {
  return std::string(fileExists(dir.file(a)) ? "A" : "-") + (fileExists(dir.file(b)) ? "B" : "-");
}

TEST(LineInputLine1, ErrorsEndThePassWithCode10) {
  const std::string incomplete = errBlock(
      "<br>Error Header Line1 seems incomplete: 2 Integer values (i.e., NH and FFI) were expected. See ICARTT document for details on NH and FFI.<br>\n");
  const std::string noComma = errBlock(
      "Error on Line1: Either the delimiter(s) NOT compliant or the number of items on this line NOT matching; delimiters should be all commas. \n"
      "<br />The expected number of individual items (i.e., data points) on line1 = 2.\n"
      "<br />The expected number of \"commas\" on line1 = 1.<br />\n");
  struct Case {
    std::string line1;  // with its line end
    std::string phase;
  };
  const std::vector<Case> cases = {
      {"4,1\n", incomplete},
      {"4,1\r\n", incomplete},  // the CR is dropped: four characters
      {"\n", incomplete},
      {"46 1001\r\n", noComma},
      {"46;1001\n", noComma},
      {"46" + std::string(520, ' ') + ", 1001\n", noComma},  // no comma within the first 510 characters
  };
  IcarttBuilder b = IcarttBuilder::ffi1001();
  std::vector<std::string> header = b.headerLines();
  std::string rest;
  for (size_t i = 1; i < header.size(); ++i) rest += header[i] + "\r\n";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line1);
    TempDir dir;
    ScanResult r = scanBytes(dir, kName, c.line1 + rest);
    EXPECT_EQ(r.status, 10);
    EXPECT_EQ(linePhase(r.report), c.phase);
    EXPECT_EQ(countOf(r.report, "Processing File Header"), 0u);
  }
}

TEST(LineInputLine1, WarningsLetThePassGoOn) {
  IcarttBuilder b = IcarttBuilder::ffi2110();
  const int nh = b.computedNH();
  const std::string plain = num(nh) + ", 2110";
  struct Case {
    std::string line1;
    std::string phase;
  };
  const std::vector<Case> cases = {
      {plain, ""},
      {"0, 2110", line1Warning(0, 2110, "0, 2110\n")},
      {"4001, 2110", line1Warning(4001, 2110, "4001, 2110\n")},
      {"4000, 2110", ""},
      {plain + std::string(63 - plain.size(), ' '), ""},  // 64 characters with the line feed
      {plain + std::string(64 - plain.size(), ' '),
       line1Warning(nh, 2110, plain + std::string(64 - plain.size(), ' ') + "\n")},
      {"x, y", line1Warning(0, -999, "x, y\n")},
      {"0, 2110 <b>", line1Warning(0, 2110, "0, 2110 &lt;b&gt;\n")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line1);
    b.line1 = c.line1;
    TempDir dir;
    ScanResult r = scanBytes(dir, kName, b.text());
    EXPECT_EQ(linePhase(r.report), c.phase);
    EXPECT_EQ(countOf(r.report, "Processing File Header . . ."), 1u);  // the pass returned 0
    EXPECT_EQ(r.linesCounted, static_cast<int64_t>(b.headerLines().size() + b.data.size()));
  }
}

TEST(LineInputLine1, ValidFileCountsItsLinesAndKeeps1023) {
  for (auto b : {IcarttBuilder::ffi1001(), IcarttBuilder::ffi2110(), IcarttBuilder::ffi2310()}) {
    for (const std::string eol : {"\r\n", "\n"}) {
      SCOPED_TRACE(std::to_string(b.ffi) + (eol.size() == 2 ? " CR LF" : " LF"));
      TempDir dir;
      std::string text = b.text(eol);
      // Once with the last line end, once without it.
      for (const std::string& bytes : {text, text.substr(0, text.size() - eol.size())}) {
        ScanResult r = scanBytes(dir, kName, bytes);
        // Without its line end the last data line is an error of the data phase.
        EXPECT_EQ(r.status, bytes == text ? 0 : 10) << r.report;
        EXPECT_EQ(linePhase(r.report), "");
        EXPECT_EQ(r.maxLineLength, 1023);
        EXPECT_EQ(r.linesCounted, static_cast<int64_t>(b.headerLines().size() + b.data.size()));
        EXPECT_EQ(countOf(r.report, verdictMax(1023)), 1u);
      }
    }
  }
}

TEST(LineInputRepair, CrOnlyFileIsRepairedWithLineFeedsAndReadAgain) {
  for (auto b : {IcarttBuilder::ffi1001(), IcarttBuilder::ffi2110()}) {
    SCOPED_TRACE(b.ffi);
    TempDir dir;
    std::string crOnly = b.text("\r");
    std::string asRead = b.text("");             // the text with every CR dropped
    std::string line1 = asRead.substr(0, 1022);  // the first read, or the whole text
    ScanResult r = scanBytes(dir, kName, crOnly);
    EXPECT_EQ(linePhase(r.report), line1Warning(b.computedNH(), b.ffi, line1) + kLfWarning + kDone);
    // Every line ended by CR LF, and the empty line after the final CR.
    EXPECT_EQ(readFile(dir.file(kName)), b.text("\r\n") + "\r\n");
    EXPECT_FALSE(fileExists(dir.file(kName + ".crlf")));
    EXPECT_EQ(r.linesCounted, static_cast<int64_t>(b.headerLines().size() + b.data.size() + 1));
    EXPECT_EQ(r.maxLineLength, 1023);
    // The header of the repaired file passes, read as that of the same file written with CR LF.
    EXPECT_EQ(r.status, 0) << r.report;
    TempDir clean;
    ScanResult c = scanBytes(clean, kName, b.text("\r\n") + "\r\n");
    EXPECT_EQ(c.status, 0);
    const std::string headerPhase =
        section(c.report, "Processing File Header . . .", "Done Processing File Header.");
    EXPECT_NE(headerPhase, "");
    EXPECT_EQ(section(r.report, "Processing File Header . . .", "Done Processing File Header."), headerPhase);
  }
}

TEST(LineInputRepair, ShortCrOnlyFileHasNoLongLine1Warning) {
  // A CR-only file of at most 64 characters: only the LF warning and the repair.
  TempDir dir;
  std::string bytes = "2, 2110\rx\r";
  ScanResult r = scanBytes(dir, kName, bytes);
  EXPECT_EQ(linePhase(r.report), kLfWarning + kDone);
  EXPECT_EQ(readFile(dir.file(kName)), "2, 2110\r\nx\r\n\r\n");
  EXPECT_EQ(r.linesCounted, 3);
}

TEST(LineInputRepair, FailedLineFeedRepairEndsWithCode21AndLeavesTheFile) {
  TempDir dir;
  std::string bytes = "46, 1001 " + std::string(5000, 'x');  // no line end at all
  ScanResult r = scanBytes(dir, kName, bytes);
  EXPECT_EQ(r.status, 21);
  EXPECT_EQ(
      linePhase(r.report),
      line1Warning(46, 1001, bytes.substr(0, 1022)) + kLfWarning +
          errBlock(
              "<br><br>\n<br>Error(-101): Tarvik could not fix the CR-LF (0xa) sybmols in file = " + kName +
              "<br>\nIf this error persists, please contact the " +
              contact("Error(-101):fix the CR-LF sybmols failed") + " to report it. Thank you.<br><br>\n"));
  EXPECT_EQ(readFile(dir.file(kName)), bytes);
  EXPECT_EQ(dirNames(dir, kName + ".crlf", kName + "__diagnostic.htm"), "-B");
}

TEST(LineInputRepair, FailedWriteOfTheRepairLeavesTheFileAndNoDone) {
  // A file-size limit between the submitted size and the repaired size (every CR becomes CR LF):
  // the backup can be written, the repaired text cannot.
  IcarttBuilder b = IcarttBuilder::ffi1001();
  b.data.clear();
  for (int i = 0; i < 4000; ++i)
    b.data.push_back(num(36000 + i) + ", " + num(36001 + i) + ", " + num(36000 + i) + ", 10, 11");
  const std::string bytes = b.text("\r");
  const size_t lines = b.headerLines().size() + b.data.size();
  TempDir dir;
  struct rlimit old {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  writeFile(dir.file(kName), bytes);
  void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit lim = old;
  lim.rlim_cur = static_cast<rlim_t>(bytes.size() + lines / 2);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &lim), 0);
  ScanResult r = scanPath(dir.file(kName));
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(r.status, 21);
  EXPECT_EQ(
      linePhase(r.report),
      line1Warning(b.computedNH(), 1001, b.text("").substr(0, 1022)) + kLfWarning +
          errBlock(
              "<br>Error_1C::fxcr -- writing OutFile failed (File too large); the file was left as submitted.\n<br>\n"
              "<br>Error(-101): Tarvik could not fix the CR-LF (0xa) sybmols in file = " +
              kName + "<br>\nIf this error persists, please contact the " +
              contact("Error(-101):fix the CR-LF sybmols failed") + " to report it. Thank you.<br><br>\n"));
  EXPECT_EQ(countOf(r.report, "Done. Tarvik Fixed"), 0u);
  EXPECT_TRUE(readFile(dir.file(kName)) == bytes);
  EXPECT_EQ(dirNames(dir, kName + ".crlf", kName + "__diagnostic.htm"), "-B");
}

TEST(LineInputRepair, StretchOfAMebibyteWithoutLineFeedIsRepairedAtCarriageReturns) {
  // FFI 2110: header lines ended by CR LF, data lines by lone CRs, the last one by CR LF. The scan's
  // input drops the CRs, so the data section reads as one line of more than 1048576 characters.
  IcarttBuilder b = IcarttBuilder::ffi2110();
  std::vector<std::string> lines;
  size_t stream = 1;  // the data section as the scan reads it: every line, then the final line feed
  // Past the limit, and with a last read shorter than the buffer so that the stretch is measured.
  for (int i = 0; stream < 1100000 || (stream % 1022) == 0 || (stream % 1022) > 900; ++i) {
    std::vector<std::string> block = {num(1000 + i) + ", " + num(1001 + i) + ", " + num(1000 + i) + ".5, 2",
                                      "500, 40.1, 280.5", "1000, 41.2, 277.1"};
    for (const auto& l : block) {
      lines.push_back(l);
      stream += l.size();
    }
  }
  b.data.clear();
  std::string header = b.text("\r\n");
  std::string bytes = header;
  for (size_t i = 0; i < lines.size(); ++i) bytes += lines[i] + (i + 1 == lines.size() ? "\r\n" : "\r");
  TempDir dir;
  ScanResult r = scanBytes(dir, kName, bytes);
  EXPECT_EQ(linePhase(r.report), kCrWarning + kDone);
  std::string expected = header;
  for (const auto& l : lines) expected += l + "\r\n";
  expected += "\r\n";
  EXPECT_TRUE(readFile(dir.file(kName)) == expected);
  EXPECT_FALSE(fileExists(dir.file(kName + ".crlf")));
  EXPECT_EQ(r.maxLineLength, 1023);
  EXPECT_EQ(r.linesCounted, static_cast<int64_t>(b.headerLines().size() + lines.size() + 1));
  EXPECT_EQ(r.status, 0) << linePhase(r.report);
}

TEST(LineInputRepair, FailedCarriageReturnRepairEndsWithCode21) {
  IcarttBuilder b = IcarttBuilder::ffi2110();
  b.data = {"36000, 36060, 36030, 2", "500, 40.1, 280.5" + std::string(1100000, ' ') + "1, 2",
            "1000, 41.2, 277.1"};
  std::string bytes = b.text("\r\n");
  TempDir dir;
  ScanResult r = scanBytes(dir, kName, bytes);
  EXPECT_EQ(r.status, 21);
  EXPECT_EQ(
      linePhase(r.report),
      kCrWarning +
          errBlock("<br><br>\n<br>Error(-101.0x0D): Tarvik could not fix the CR-LF (0xd) sybmols in file = " +
                   kName + "<br>\nIf this error persists, please contact the " +
                   contact("Error(-101.0x0D): fix the CR-LF sybmols failed") +
                   " to report it. Thank you.<br><br>\n"));
  EXPECT_TRUE(readFile(dir.file(kName)) == bytes);
  EXPECT_EQ(dirNames(dir, kName + ".crlf", kName + "__diagnostic.htm"), "-B");
}

TEST(LineInputLength, DataLineLongerThan24TimesNV) {
  IcarttBuilder b = IcarttBuilder::ffi1001(28);  // NV = 30: expected length 720
  b.data.resize(3, b.data[0]);
  const int nh = b.computedNH();
  struct Case {
    size_t text;  // characters before the line end
    bool warned;
  };
  for (const Case c : {Case{719, false}, Case{720, true}}) {
    SCOPED_TRACE(c.text);
    b.data[1] = dataLine("36010", c.text);
    TempDir dir;
    ScanResult r = scanBytes(dir, kName, b.text());
    EXPECT_EQ(linePhase(r.report), c.warned ? lengthWarning(nh + 2, 4, 720, 721, b.data[1] + "\n") : "");
  }
}

TEST(LineInputLength, NineLengthWarningsFailTheLineEndingsEightDoNot) {
  IcarttBuilder b = IcarttBuilder::ffi1001();  // NV = 4: expected length 512
  const int nh = b.computedNH();
  for (int n : {8, 9, 21}) {
    SCOPED_TRACE(n);
    b.data.clear();
    std::string expected;
    for (int i = 0; i < n; ++i) {
      b.data.push_back(dataLine(num(36000 + 10 * i), 600));
      if (i < 20) expected += lengthWarning(nh + 1 + i, 4, 512, 601, b.data.back() + "\n");
      if (i == 19) expected += kLengthTooMany;
    }
    if (n > 8) expected += endOfLineError(4);
    TempDir dir;
    ScanResult r = scanBytes(dir, kName, b.text());
    EXPECT_EQ(linePhase(r.report), expected);
    if (n > 8) {
      EXPECT_EQ(r.status, 21);
    } else {
      // The line pass let the header phase run (the data phase judges the records).
      EXPECT_NE(r.status, 21);
      EXPECT_EQ(countOf(r.report, "Processing File Header . . ."), 1u);
    }
  }
}

TEST(LineInputLength, HeaderLineFlags) {
  struct Case {
    const char* why;
    void (*change)(IcarttBuilder&);
    long long lineNo;
    int flag;
    int expected;
    size_t len;
  };
  const std::vector<Case> cases = {
      {"line 2 longer than 256", [](IcarttBuilder& b) { b.pi = std::string(300, 'P'); }, 2, 1, 0, 301},
      {"line 2 of 256 characters with its line feed", [](IcarttBuilder& b) { b.pi = std::string(255, 'P'); },
       0, 0, 0, 0},
      {"a normal comment that fills the buffer exactly",
       [](IcarttBuilder& b) { b.normalComments[14] = "OTHER_COMMENTS: " + std::string(1021 - 16, 'c'); }, 0,
       7, 512, 1022},
      {"the last header line fills the buffer exactly",
       [](IcarttBuilder& b) { b.shortNames = "Start_UTC, " + std::string(1021 - 11, 's'); }, 0, 8, 512, 1022},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    IcarttBuilder b = IcarttBuilder::ffi1001();
    c.change(b);
    std::vector<std::string> lines = b.headerLines();
    long long lineNo = c.lineNo;
    std::string expected;
    if (c.flag != 0) {
      if (lineNo == 0) {  // the line that was made long
        for (size_t i = 0; i < lines.size(); ++i)
          if (lines[i].size() + 1 == c.len) lineNo = static_cast<long long>(i) + 1;
      }
      ASSERT_GT(lineNo, 1);
      if (c.flag == 8) {
        EXPECT_EQ(lineNo, b.computedNH());
      }
      expected =
          lengthWarning(lineNo, c.flag, c.expected, c.len, lines[static_cast<size_t>(lineNo) - 1] + "\n");
    }
    TempDir dir;
    ScanResult r = scanBytes(dir, kName, b.text());
    EXPECT_EQ(linePhase(r.report), expected);
  }
}

TEST(LineInputValue, FirstFieldOfDataLines) {
  IcarttBuilder b = IcarttBuilder::ffi1001();
  const int nh = b.computedNH();
  struct Case {
    std::string line;
    std::string value;  // empty: no warning
  };
  const std::vector<Case> cases = {
      {"172800, 172810, 172805, 10, 11", ""},
      {"0, 10, 5, 10, 11", ""},
      {"1.728e5, 10, 5, 10, 11", ""},
      {"+5, 10, 5, 10, 11", ""},
      {"  7 10, 5, 10, 11", ""},
      {"172800.5, 172810, 172805, 10, 11", "172800.5"},
      {"-1, 10, 5, 10, 11", "-1"},
      {"  -1, 10, 5, 10, 11", "  -1"},
      {"1.7280001e5,10, 5, 10, 11", "1.7280001e5"},
      {"-0.5 10, 5, 10, 11", "-0.5"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    b.data[0] = c.line;
    TempDir dir;
    ScanResult r = scanBytes(dir, kName, b.text());
    EXPECT_EQ(linePhase(r.report), c.value.empty() ? "" : valueWarning(1, nh + 1, c.value, c.line + "\n"));
  }
}

TEST(LineInputValue, TwentiethWarningIsFollowedByTheNoticeAndNoMore) {
  IcarttBuilder b = IcarttBuilder::ffi1001();
  const int nh = b.computedNH();
  b.data.clear();
  std::string expected;
  for (int i = 0; i < 25; ++i) {
    b.data.push_back("-" + num(i + 1) + ", 10, 5, 10, 11");
    if (i < 20) expected += valueWarning(i + 1, nh + 1 + i, "-" + num(i + 1), b.data.back() + "\n");
    if (i == 19) expected += kValueTooMany;
  }
  b.data.push_back("# not examined any more");
  TempDir dir;
  ScanResult r = scanBytes(dir, kName, b.text());
  EXPECT_EQ(linePhase(r.report), expected);
  EXPECT_EQ(countOf(r.report, "Processing File Header . . ."), 1u);  // the pass returned 0
}

TEST(LineInputValue, DataLineWithNonNumericStartEndsThePass) {
  IcarttBuilder base = IcarttBuilder::ffi1001();
  const int nh = base.computedNH();
  base.data = {"36000, 36010, 36005, 10, 11", "36010, 36020, 36015, 10, 11", "36020, 36030, 36025, 10, 11",
               "36030, 36040, 36035, 10, 11", "36040, 36050, 36045, 10, 11"};
  struct Case {
    size_t index;
    std::string line;
    bool sentence;
  };
  const std::vector<Case> cases = {{0, "# note", true},
                                   {2, "# note", true},
                                   {3, "# note", false},
                                   {1, "  x1, 2", true},
                                   {4, "\t1, 2", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line + " at " + num(static_cast<long long>(c.index)));
    IcarttBuilder b = base;
    b.data[c.index] = c.line;
    TempDir dir;
    ScanResult r = scanBytes(dir, kName, b.text());
    EXPECT_EQ(r.status, 10);
    long long lineNo = nh + 1 + static_cast<long long>(c.index);
    EXPECT_EQ(linePhase(r.report), itemError(c.line.size() + 1, 1023, 0, lineNo, c.sentence, c.line + "\n"));
  }
  // A long data line that also fails: the length warning first, then the error with wFlag 0.
  {
    IcarttBuilder b = base;
    b.data[0] = "#" + std::string(599, 'n');
    TempDir dir;
    ScanResult r = scanBytes(dir, kName, b.text());
    EXPECT_EQ(r.status, 10);
    EXPECT_EQ(linePhase(r.report), lengthWarning(nh + 1, 4, 512, 601, b.data[0] + "\n") +
                                       itemError(601, 1023, 0, nh + 1, true, b.data[0] + "\n"));
  }
  // After a header line that filled the buffer and went on, its flag stays and the buffer grew.
  {
    IcarttBuilder b = base;
    b.normalComments[14] = "OTHER_COMMENTS: " + std::string(1500 - 16, 'c');
    b.data[0] = "# note";
    TempDir dir;
    ScanResult r = scanBytes(dir, kName, b.text());
    EXPECT_EQ(r.status, 10);
    EXPECT_EQ(linePhase(r.report), itemError(7, 3072, 17, nh + 1, true, "# note\n"));
  }
}

TEST(LineInputBuffer, LongLinesEnlargeTheLimit) {
  struct Case {
    int ffi;
    size_t length;  // of a normal comment, line end excluded
    int32_t limit;
    int extraReads;  // reads of step 8.1 beyond one per line
  };
  const std::vector<Case> cases = {
      {2110, 990, 1023, 0},  {2110, 991, 3072, 0},  {2110, 1021, 3072, 0}, {2110, 1500, 3072, 1},
      {2110, 3000, 4096, 2}, {1001, 1500, 3072, 0}, {1001, 3000, 4096, 0}, {2310, 1500, 3072, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.ffi) + " " + std::to_string(c.length));
    IcarttBuilder b = c.ffi == 1001   ? IcarttBuilder::ffi1001()
                      : c.ffi == 2110 ? IcarttBuilder::ffi2110()
                                      : IcarttBuilder::ffi2310();
    b.normalComments[14] = "OTHER_COMMENTS: " + std::string(c.length - 16, 'c');
    TempDir dir;
    ScanResult r = scanBytes(dir, kName, b.text());
    EXPECT_EQ(r.maxLineLength, c.limit);
    EXPECT_EQ(r.linesCounted, static_cast<int64_t>(b.headerLines().size() + b.data.size()) + c.extraReads);
    EXPECT_EQ(countOf(r.report, verdictMax(c.limit)), 1u);
    if (c.ffi != 1001 || c.length < 1021) {
      EXPECT_EQ(linePhase(r.report), "");
    }
  }
}

TEST(LineInputBuffer, OverLongDataLineOfFfi1001) {
  IcarttBuilder b = IcarttBuilder::ffi1001();
  b.data.resize(3, b.data[0]);
  b.data[1] = dataLine("36010", 1500);
  TempDir dir;
  ScanResult r = scanBytes(dir, kName, b.text());
  // Two warnings counted (longer than 512, and the buffer filled), none written: the flag is 19.
  EXPECT_EQ(linePhase(r.report), "");
  EXPECT_EQ(r.maxLineLength, 3072);
  EXPECT_EQ(r.linesCounted, static_cast<int64_t>(b.headerLines().size() + b.data.size()));
  EXPECT_EQ(countOf(r.report, "Processing File Header . . ."), 1u);  // the pass returned 0
  EXPECT_EQ(countOf(r.report, verdictMax(3072)), 1u);
}

TEST(LineInputBuffer, ContinuationPieceOfFfi1001IsCheckedAsTheLine) {
  // The first field check looks at the last piece read; a comma that begins a piece is a blank.
  IcarttBuilder b = IcarttBuilder::ffi1001();
  b.data.resize(3, b.data[0]);
  const int nh = b.computedNH();
  struct Case {
    char first;  // the first character of the second piece
    bool error;
  };
  for (const Case c : {Case{',', false}, Case{' ', false}, Case{'7', false}, Case{'x', true}}) {
    SCOPED_TRACE(std::string(1, c.first));
    std::string tail = std::string(1, c.first) + "5";
    while (tail.size() < 478) tail += ", 12";
    b.data[1] = dataLine("36010", 1022) + tail;
    TempDir dir;
    ScanResult r = scanBytes(dir, kName, b.text());
    if (c.error) {
      std::string piece = b.data[1].substr(1022) + "\n";
      EXPECT_EQ(r.status, 10);
      // Flag 4 (longer than 512), + 5 (the buffer filled), + 10 (one more piece).
      EXPECT_EQ(linePhase(r.report), itemError(piece.size(), 1023, 19, nh + 2, true, piece));
    } else {
      EXPECT_EQ(countOf(r.report, "Processing File Header . . ."), 1u);  // the pass returned 0
      EXPECT_EQ(linePhase(r.report), "");
    }
  }
}

TEST(LineInputCtrlZ, TextAfterTheMarkIsAnError) {
  IcarttBuilder b = IcarttBuilder::ffi1001();
  const std::string text = b.text();
  const std::vector<std::string> lines = b.headerLines();
  size_t afterLine3 = lines[0].size() + lines[1].size() + lines[2].size() + 6;
  struct Case {
    const char* why;
    std::string bytes;
    long long at;  // -1: no error
  };
  const std::vector<Case> cases = {
      {"text after the mark",
       text + "\x1A"
              "more text\r\n",
       static_cast<long long>(text.size())},
      {"a second mark after it", text + "\x1A\x1A", static_cast<long long>(text.size())},
      {"the mark inside the header", text.substr(0, afterLine3) + "\x1A" + text.substr(afterLine3),
       static_cast<long long>(afterLine3)},
      {"nothing after the mark", text + "\x1A", -1},
      {"only line ends and blanks after the mark", text + "\x1A\r\n  \t\r\n\n\r", -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    TempDir dir;
    ScanResult r = scanBytes(dir, kName, c.bytes);
    if (c.at >= 0) {
      EXPECT_EQ(r.status, 10);
      EXPECT_EQ(linePhase(r.report), ctrlZError(c.at));
      EXPECT_EQ(countOf(r.report, "Processing File Header . . ."), 0u);
    } else {
      EXPECT_EQ(r.status, 0) << r.report;
      EXPECT_EQ(linePhase(r.report), "");
      EXPECT_EQ(r.linesCounted, static_cast<int64_t>(lines.size() + b.data.size()));
    }
  }
}

}  // namespace
}  // namespace tarvik::test
