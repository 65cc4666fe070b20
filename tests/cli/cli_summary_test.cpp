// --summary FILE.html|FILE.csv: after the run, one table of every file, with links to the reports
// relative to the summary's folder; names escaped for HTML and quoted for CSV.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "support/test_files.h"
#include "tarvik_version.h"

namespace tarvik::test {
namespace {

const std::string kOdd = "a<b&c,\"d\".ict";  // fails the name rules with code 2
const std::string kOddVerdict =
    "Scanning failed due to the error(s) displayed here in RED. Incorrect file naming [invalid char's]. Please see "
    "file naming convention in the ICARTT File Format document for the allowed char's ascii set.";
const std::string kGoodVerdict = "Good Job - no major errors encountered during SCAN.";
const std::string kMissing = "MISSING-DATA_DC8_20190521_R0.ict";

// An RFC 4180 reader: records end with CR LF, a quoted field may hold commas, quotes (doubled) and
// line ends.
std::vector<std::vector<std::string>> parseCsv(const std::string& text) {
  std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    std::string& field = rows.back().back();
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field.push_back('"');
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field.push_back(c);
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      rows.back().emplace_back();
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      ++i;
      rows.emplace_back(1);
    } else {
      field.push_back(c);
    }
  }
  if (rows.back().size() == 1 && rows.back()[0].empty()) rows.pop_back();  // after the last CR LF
  return rows;
}

// Runs in dir: a passing file, the odd name and a missing file, the summary in dir/out.
RunResult runWithSummary(const TempDir& dir, const std::string& summary) {
  writeFile(dir.file(kExampleName), exampleText());
  writeFile(dir.file(kOdd), exampleText());
  return runScanner({"--summary", summary, kExampleName, kOdd, kMissing}, inFolder(dir.path()));
}

TEST(CliSummary, HtmlTableOfEveryFile) {
  TempDir dir;
  ASSERT_EQ(::mkdir(dir.file("out").c_str(), 0755), 0);
  RunResult r = runWithSummary(dir, "out/summary.HTML");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.out, passLine(kExampleName) + failLine(kOdd, 2) + "ERROR " + kMissing +
                       "  File Open Error...: " + kMissing + "\n");
  const std::string expected =
      "<!DOCTYPE html>\n"
      "<html lang=\"en\">\n"
      "<head>\n"
      "<meta charset=\"utf-8\">\n"
      "<title>tarvik-scan summary</title>\n"
      "<style>\n"
      "table { border-collapse: collapse; }\n"
      "th, td { border: 1px solid #999; padding: 2px 6px; text-align: left; vertical-align: top; }\n"
      "td.n { text-align: right; }\n"
      "</style>\n"
      "</head>\n"
      "<body>\n"
      "<h1>tarvik-scan summary</h1>\n"
      "<p>3 files: 1 passed, 1 failed, 1 without report. Written by tarvik-scan " TARVIK_VERSION
      ".</p>\n"
      "<table>\n"
      "<tr><th>File</th><th>Verdict</th><th>Status code</th><th>Errors</th><th>Warnings</th><th>Report</th></tr>\n"
      "<tr><td>TARVIK-EXAMPLE_DC8_20190521_R0.ict</td><td>Good Job - no major errors encountered during SCAN.</td>"
      "<td class=\"n\">0</td><td class=\"n\">0</td><td class=\"n\">3</td>"
      "<td><a href=\"../TARVIK-EXAMPLE_DC8_20190521_R0.ict__diagnostic.htm\">"
      "../TARVIK-EXAMPLE_DC8_20190521_R0.ict__diagnostic.htm</a></td></tr>\n"
      "<tr><td>a&lt;b&amp;c,&quot;d&quot;.ict</td><td>Scanning failed due to the error(s) displayed here in RED. "
      "Incorrect file naming [invalid char&#39;s]. Please see file naming convention in the ICARTT File Format "
      "document for the allowed char&#39;s ascii set.</td>"
      "<td class=\"n\">2</td><td class=\"n\">0</td><td class=\"n\">0</td>"
      "<td><a href=\"../a%3Cb%26c%2C%22d%22.ict__diagnostic.htm\">../a&lt;b&amp;c,&quot;d&quot;.ict__diagnostic.htm"
      "</a></td></tr>\n"
      "<tr><td>MISSING-DATA_DC8_20190521_R0.ict</td><td>File Open Error...: MISSING-DATA_DC8_20190521_R0.ict</td>"
      "<td></td><td></td><td></td><td></td></tr>\n"
      "</table>\n"
      "</body>\n"
      "</html>\n";
  EXPECT_EQ(readFile(dir.file("out/summary.HTML")), expected);
}

TEST(CliSummary, CsvReadsBackAsTheSameColumns) {
  TempDir dir;
  ASSERT_EQ(::mkdir(dir.file("out").c_str(), 0755), 0);
  RunResult r = runWithSummary(dir, "out/summary.csv");
  EXPECT_EQ(r.exitCode, 2);
  const std::string text = readFile(dir.file("out/summary.csv"));
  EXPECT_EQ(
      text,
      "file,verdict,status,errors,warnings,report\r\n"
      "TARVIK-EXAMPLE_DC8_20190521_R0.ict,Good Job - no major errors encountered during SCAN.,0,0,3,"
      "../TARVIK-EXAMPLE_DC8_20190521_R0.ict__diagnostic.htm\r\n"
      "\"a<b&c,\"\"d\"\".ict\"," +
          kOddVerdict +
          ",2,0,0,\"../a<b&c,\"\"d\"\".ict__diagnostic.htm\"\r\n"
          "MISSING-DATA_DC8_20190521_R0.ict,File Open Error...: MISSING-DATA_DC8_20190521_R0.ict,,,,\r\n");
  const std::vector<std::vector<std::string>> rows = parseCsv(text);
  const std::vector<std::vector<std::string>> expected = {
      {"file", "verdict", "status", "errors", "warnings", "report"},
      {kExampleName, kGoodVerdict, "0", "0", "3", std::string("../") + kExampleName + "__diagnostic.htm"},
      {kOdd, kOddVerdict, "2", "0", "0", "../" + kOdd + "__diagnostic.htm"},
      {kMissing, "File Open Error...: " + kMissing, "", "", "", ""},
  };
  EXPECT_EQ(rows, expected);
  // Each link, taken from the summary's folder, reaches its report.
  for (size_t i = 1; i < 3; ++i) EXPECT_TRUE(fileExists(dir.file("out/" + rows[i][5]))) << rows[i][5];
}

TEST(CliSummary, LinksLeadIntoTheReportFolder) {
  TempDir dir;
  writeFile(dir.file(kExampleName), exampleText());
  RunResult r =
      runScanner({"--summary", "s.csv", "--report-dir", "reports", "-q", kExampleName}, inFolder(dir.path()));
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(readFile(dir.file("s.csv")),
            "file,verdict,status,errors,warnings,report\r\n"
            "TARVIK-EXAMPLE_DC8_20190521_R0.ict,Good Job - no major errors encountered during SCAN.,0,0,3,"
            "reports/TARVIK-EXAMPLE_DC8_20190521_R0.ict__diagnostic.htm\r\n");
  EXPECT_TRUE(fileExists(dir.file("reports/") + kExampleName + "__diagnostic.htm"));
}

// A Latin-1 byte in a name: shown as its character, linked by its own byte.
TEST(CliSummary, StrayBytesAreShownAsLatin1AndLinkedByTheirBytes) {
  TempDir dir;
  const std::string name = "TARVIK-EXAMPLE-\xE9_DC8_20190521_R0.ict";
  writeFile(dir.file(name), exampleText());
  RunResult r = runScanner({"--summary", "s.html", "-q", name}, inFolder(dir.path()));
  const std::string html = readFile(dir.file("s.html"));
  const size_t row = html.find("<tr><td>TARVIK-EXAMPLE-\xC3\xA9_DC8_20190521_R0.ict</td>");
  ASSERT_NE(row, std::string::npos) << html;
  EXPECT_NE(html.find("<td><a href=\"TARVIK-EXAMPLE-%E9_DC8_20190521_R0.ict__diagnostic.htm\">"
                      "TARVIK-EXAMPLE-\xC3\xA9_DC8_20190521_R0.ict__diagnostic.htm</a></td></tr>\n",
                      row),
            std::string::npos)
      << html;
}

TEST(CliSummary, ASummaryThatCannotBeWrittenStopsTheRunBeforeAnyScan) {
  TempDir dir;
  writeFile(dir.file(kExampleName), exampleText());
  const std::string summary = dir.file("no-such-folder/summary.html");
  RunResult r = runScanner({"--summary", summary, dir.file(kExampleName)});
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "tarvik-scan: cannot write the summary " + summary + ": No such file or directory\n");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_FALSE(fileExists(dir.file(kExampleName) + "__diagnostic.htm"));
}

}  // namespace
}  // namespace tarvik::test
