// What a scan run leaves for its caller: the report path, the final status, whether the data phase
// passed, whether the input was repaired in place, and the verdict's words; and the plain text of
// report markup that the verdict is given in.
#include "scan/core/outcome.h"

#include <gtest/gtest.h>

#include <string>

#include "scan/core/scan_context.h"
#include "scan/run/scan_run.h"
#include "support/icartt_builder.h"
#include "support/test_files.h"

namespace tarvik::test {
namespace {

const std::string kName = "TEST-DATA_DC8_20190521_R0.ict";

TEST(ScanOutcome, FieldsOfEachKindOfEnd) {
  const std::string good = IcarttBuilder::ffi1001().text();
  std::string crOnly = IcarttBuilder::ffi1001().text("\r");
  IcarttBuilder badLine7 = IcarttBuilder::ffi1001();
  badLine7.line7 = "2019, 13, 21, 2019, 06, 01";
  IcarttBuilder twoRecords = IcarttBuilder::ffi1001();
  twoRecords.data.push_back(twoRecords.data[0]);  // the same times again: an overlap

  struct Case {
    const char* what;
    std::string name, bytes;
    long abortAfter;
    int32_t status;
    bool dataPassed, repaired, passed;
    std::string verdict;
  } cases[] = {
      {"passing file", kName, good, -1, 0, true, false, true,
       "Good Job - no major errors encountered during SCAN."},
      {"line ends repaired", kName, crOnly, -1, 0, true, true, true,
       "Good Job - no major errors encountered during SCAN."},
      {"header error", kName, badLine7.text(), -1, 10, false, false, false,
       "Scanning failed due to the error(s) displayed here in RED. Processing incomplete: problem(s) found while "
       "processing this file (see above)."},
      {"data error", kName, twoRecords.text(), -1, 10, false, false, false,
       "Scanning failed due to the error(s) displayed here in RED. Processing incomplete: problem(s) found while "
       "processing this file (see above)."},
      {"aborted", kName, good, 1, 20, false, false, false, "File Scanning Aborted By User."},
      {"name only", "CAMERA-IMAGES_DC8_20190101.jpg", "x", -1, 152, false, false, true,
       "File Type: IMAGE_FILE_TYPE. ONLY Filename Verification was performed. No errors encountered."},
      {"bad name", "ab_DC8_20191341_R0.ict", good, -1, 5, false, false, false,
       "Scanning failed due to the error(s) displayed here in RED. Incorrect filename: char's [YYYYMMDD] must be all "
       "digits (19800101 thru 20291231). Or, this error could also be due to the previous section(s) [dataID or "
       "locationID] not being defined correctly."},
      {"empty file", kName, "", -1, 4, false, false, false,
       "Scanning failed due to the error(s) displayed here in RED. The file received is empty (0 bytes). Could not "
       "open temp file on Local Server. If your file has data in it, then please contact the Ostrel Project Office "
       "to report this error. Thank you."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    ScanOptions opt;
    opt.abortAfter = c.abortAfter;
    const ScanResult res = scanBytes(dir, c.name, c.bytes, opt);
    const ScanOutcome& o = res.outcome;
    EXPECT_EQ(o.reportPath, dir.file(c.name) + "__diagnostic.htm");
    EXPECT_TRUE(o.reportWritten());
    EXPECT_EQ(o.status, c.status);
    EXPECT_EQ(o.dataPassed, c.dataPassed);
    EXPECT_EQ(o.repairedInPlace, c.repaired);
    EXPECT_EQ(o.passed(), c.passed);
    EXPECT_EQ(o.verdict, c.verdict);
    EXPECT_EQ(res.host.plottingEnabled, c.dataPassed ? 1 : 0);
  }
}

TEST(ScanOutcome, NoReportMeansNoVerdict) {
  TempDir dir;
  ScanContext ctx;
  RecordingHost host;
  ctx.host = &host;
  const ScanOutcome o = runScan(ctx, dir.path() + "/", 0);
  EXPECT_FALSE(o.reportWritten());
  EXPECT_FALSE(o.passed());
  EXPECT_FALSE(o.dataPassed);
  EXPECT_EQ(o.verdict, "");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].caption, "PathName / Filename Error...");
}

TEST(ScanOutcome, AFreshOutcomeForEachRun) {
  // One context scans a file that needs a repair, then a clean one: nothing carries over.
  TempDir dir;
  const std::string first = dir.file("A-DATA_DC8_20190521_R0.ict");
  const std::string second = dir.file("B-DATA_DC8_20190521_R0.ict");
  IcarttBuilder a = IcarttBuilder::ffi1001(), b = IcarttBuilder::ffi1001();
  a.independent = "A_UTC, seconds, Start time";
  writeFile(first, a.text("\r"));
  writeFile(second, b.text());
  ScanContext ctx;
  RecordingHost host;
  ctx.host = &host;
  const ScanOutcome o1 = runScan(ctx, first, 0);
  EXPECT_TRUE(o1.repairedInPlace);
  const ScanOutcome o2 = runScan(ctx, second, 0);
  EXPECT_FALSE(o2.repairedInPlace);
  EXPECT_EQ(o2.status, 0);
}

TEST(PlainText, WordsOfMarkup) {
  struct Case {
    std::string html, text;
  } cases[] = {
      {"<H3><font color='#0000FF'>Good Job</font></H3><br>\n", "Good Job"},
      {"a<br>b", "a b"},
      {"  many \t\n  blanks \r\n", "many blanks"},
      {"&amp;&lt;b&gt;&quot;x&quot;", "&<b>\"x\""},
      {"&#65533;&#x41;&#66;",
       "\xEF\xBF\xBD"
       "AB"},
      {"&#0;&#x110000;", "\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"5 &unknown; & 6 &", "5 &unknown; & 6 &"},
      {"x < y", "x < y"},  // a "<" that opens no tag is text
      {"<p>Line%d:</p>", "Line%d:"},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.html);
    EXPECT_EQ(plainText(c.html), c.text);
  }
}

}  // namespace
}  // namespace tarvik::test
