// The scan-run driver: path checks and message boxes, the report's head, submission lines and
// footer, the verdict of every code, reuse of one context, escaping, and reports that cannot be
// written.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "scan/core/report.h"
#include "scan/core/scan_context.h"
#include "scan/core/site.h"
#include "scan/run/scan_run.h"
#include "support/icartt_builder.h"
#include "support/test_files.h"

namespace tarvik::test {
namespace {

const std::string kGoodName = "TEST-DATA_DC8_20190521_R0.ict";
const char* const kStartStopMid = "Start, Stop, and Mid-point";
const char* const kConstantEqual = "Constant Equal (1 or less); {Or, irregular (Satellite/Trajectory/Ground)}";

const std::string kLegend =
    "<font color='#FF0000'><br>NOTE: error messages are displayed in RED; <font color='#FF9933'>warnings and other "
    "info in ORANGE.</font><br><hr><br>\n</font>";

// The head written by every run, with the legend.
std::string reportHead() {
  return "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\"><HTML><HEAD>\n"
         "<TITLE>ICARTT File Format Scanning -- Corvane Ostrel</TITLE></HEAD>\n"
         "<BODY bgcolor=\"#F1F1F1\"><center><H1>ICARTT File Format Scanning - Results</H1></center><hr>\n"
         "<font color='#0000FF'><b>Please scroll down to the end of this page to view the results.</b>\n</font>" +
         kLegend;
}

std::string submitted(const std::string& shownName) {
  return "Filename Submitted: <font color='#0000FF'>" + shownName + "</font><br>\n";
}

std::string sizeAndInterval(int64_t size, const char* interval) {
  return "File size: " + std::to_string(size) + " bytes<br>\nTime-interval Type Selected: <font color='#0000FF'>" +
         interval + "</font>";
}

std::string reportFooter() {
  const std::string home = site::kHomeAddress;
  return "<hr><br><center>\n"
         "<a href=\"" + home + "\">| Home |</a>\n"
         "<a href=\"" + home + "/missions.htm\">| Field Campaigns |</a>\n"
         "</center>\n"
         "<br><br><center><font size=\"-2\">\n"
         "<br>Curator: <a href=\"mailto:" + std::string(site::kCuratorMail) + "\">" + site::kCuratorName + "</a>\n"
         "<br><a href=\"" + home + "/comments/comments.htm\">Send Us Your Comments</a>\n"
         "<br><a href=\"" + site::kFeedbackAddress + "\">" + site::kFeedbackText + "</a></font></center>\n"
         "</BODY></HTML>\n";
}

std::string contactLink(const std::string& subject) {
  return "<a href=\"mailto:" + std::string(site::kProjectOfficeMail) + "?subject=" + subject +
         "\">Ostrel Project Office</a>";
}

std::string maxChars(int n) { return "<br>Max char's per line found = less than " + std::to_string(n) + "\n"; }

const std::string kFailed =
    "<font color='#FF0000'><br><br>Scanning failed due to the error(s) displayed here in RED.</font>";

std::string failedVerdict(const std::string& paragraph, int maxLine = 1023) {
  return maxChars(maxLine) + kFailed + "<font color='#FF0000'>" + paragraph + "</font>";
}

const std::string kNowScanning = "<center><p><H2>Now Scanning File . . .</H2></p></center>\n";
const std::string kFinished = "<center><H2>Finished Scanning File.</H2><br></center>\n";
const std::string kGoodJob =
    "<H3><font color='#0000FF'>Good Job - no major errors encountered during SCAN.</font></H3><br>\n";

bool endsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// The number of entries in a folder.
size_t entriesIn(const std::string& dir) {
  size_t n = 0;
  if (DIR* d = ::opendir(dir.c_str())) {
    while (dirent* e = ::readdir(d))
      if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") ++n;
    ::closedir(d);
  }
  return n;
}

// ---------------------------------------------------------------------------------------------
// Path checks

TEST(ScanRunPath, RejectedPathsShowABoxAndCreateNothing) {
  struct Case {
    std::string suffix;  // appended to the temporary folder; "<empty>" means the empty path
    std::string caption;
  };
  const std::string longName(128, 'n');
  const Case cases[] = {
      {"<empty>", "PathName / Filename Error..."},
      {"/", "PathName / Filename Error..."},
      {"/sub/", "PathName / Filename Error..."},
      {"/sub\\", "PathName / Filename Error..."},
      {"/" + longName, "Filename Filename is too long -- must be < 128 characters in length."},
      {"\\" + longName, "Filename Filename is too long -- must be < 128 characters in length."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.suffix);
    TempDir dir;
    const std::string path = c.suffix == "<empty>" ? std::string() : dir.path() + c.suffix;
    ScanContext ctx;
    RecordingHost host;
    ctx.host = &host;
    EXPECT_EQ(runScan(ctx, path, 0).reportPath, "");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, c.caption);
    EXPECT_EQ(host.messages[0].text, path);
    EXPECT_EQ(entriesIn(dir.path()), 0u) << "no report is created";
    EXPECT_FALSE(fileExists("__diagnostic.htm"));
  }
}

// Names of 127 and 128 characters, without and with the extension of a data file.
TEST(ScanRunPath, NameOf127CharactersIsScanned128IsNot) {
  const std::string prefix = std::string(47, 'D') + "_" + std::string(31, 'L') + "_";
  struct Case {
    std::string name;
    bool accepted;
    int32_t status;
  };
  const Case cases[] = {
      {prefix + std::string(43, 'x') + ".jpg", true, 152},
      {prefix + std::string(44, 'x') + ".jpg", false, 0},
      {prefix + "20190521_R0_" + std::string(10, 'c') + "." + std::string(20, 'x') + ".ict", true, 0},
      {prefix + "20190521_R0_" + std::string(10, 'c') + "." + std::string(21, 'x') + ".ict", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(c.name.size(), c.accepted ? 127u : 128u);
    TempDir dir;
    ScanResult r = scanBytes(dir, c.name, IcarttBuilder::ffi1001().text());
    if (c.accepted) {
      EXPECT_TRUE(r.host.messages.empty());
      EXPECT_EQ(r.reportPath, dir.file(c.name) + "__diagnostic.htm");
      EXPECT_EQ(r.status, c.status) << r.report;
      EXPECT_NE(r.report.find(submitted(c.name)), std::string::npos);
      EXPECT_NE(r.report.find("<tr><td><i>Filename_Length</i></td><td><font color='#0000FF'>127</font></td></tr>\n"),
                std::string::npos);
    } else {
      EXPECT_EQ(r.reportPath, "");
      ASSERT_EQ(r.host.messages.size(), 1u);
      EXPECT_EQ(r.host.messages[0].caption, "Filename Filename is too long -- must be < 128 characters in length.");
      EXPECT_EQ(r.host.messages[0].text, dir.file(c.name));
      EXPECT_FALSE(fileExists(dir.file(c.name) + "__diagnostic.htm"));
    }
  }
}

// A path without any separator is the name itself; the report lands beside it.
TEST(ScanRunPath, PathWithoutSeparatorIsTheName) {
  TempDir dir;
  writeFile(dir.file(kGoodName), IcarttBuilder::ffi1001().text());
  char old[4096];
  ASSERT_NE(::getcwd(old, sizeof old), nullptr);
  ASSERT_EQ(::chdir(dir.path().c_str()), 0);
  ScanContext ctx;
  RecordingHost host;
  ctx.host = &host;
  const ScanOutcome outcome = runScan(ctx, kGoodName, 0);
  const std::string result = outcome.reportPath;
  const int32_t status = outcome.status;
  ASSERT_EQ(::chdir(old), 0);
  EXPECT_EQ(result, kGoodName + "__diagnostic.htm");
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(ctx.fn.fileName, kGoodName);
  const std::string report = readFile(dir.file(kGoodName + "__diagnostic.htm"));
  EXPECT_NE(report.find(submitted(kGoodName)), std::string::npos);
  EXPECT_NE(report.find("<tr><td>Filename</td><td><font color='#0000FF'>" + kGoodName + "</font></td></tr>\n"),
            std::string::npos);
}

// ---------------------------------------------------------------------------------------------
// Report layout

TEST(ScanRunReport, HeadSubmissionLinesAndFooterOfAPassingScan) {
  TempDir dir;
  const std::string text = IcarttBuilder::ffi1001().text();
  struct Case {
    ScanOptions opt;
    const char* interval;
  };
  const Case cases[] = {{{StartStopMid, false}, kStartStopMid}, {{ConstantEqual, false}, kConstantEqual}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.interval);
    ScanResult r = scanBytes(dir, kGoodName, text, c.opt);
    const std::string head = reportHead() + submitted(kGoodName) +
                             sizeAndInterval(static_cast<int64_t>(text.size()), c.interval) + kNowScanning +
                             "<p><H4>Processing File Name . . .<br></H4></p>\n";
    EXPECT_EQ(r.report.substr(0, head.size()), head);
    // the doctype is followed directly by the HTML element on the same line
    EXPECT_EQ(r.report.find("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\"><HTML><HEAD>\n"), 0u);
    if (c.opt.interval == StartStopMid) {
      EXPECT_EQ(r.status, 0) << r.report;
      EXPECT_TRUE(endsWith(r.report, kFinished + maxChars(1023) + kGoodJob + reportFooter())) << r.report;
      EXPECT_EQ(countOf(r.report, "Scanning failed"), 0u);
    }
    EXPECT_TRUE(endsWith(r.report, reportFooter()));
    EXPECT_EQ(countOf(r.report, "<!DOCTYPE"), 1u);
    EXPECT_EQ(countOf(r.report, "</BODY></HTML>\n"), 1u);
    EXPECT_TRUE(r.host.messages.empty());
  }
}

TEST(ScanRunReport, EmptyFile) {
  TempDir dir;
  ScanResult r = scanBytes(dir, kGoodName, "");
  EXPECT_EQ(r.status, 4);
  EXPECT_EQ(r.reportPath, dir.file(kGoodName) + "__diagnostic.htm");
  EXPECT_TRUE(r.host.messages.empty());
  const std::string expected =
      reportHead() + submitted(kGoodName) +
      "<font color='#FF0000'><p>File Unknown: No file was uploaded (FileSize read = 0 bytes).<br>\n</font>"
      "Time-interval Type Selected: <font color='#0000FF'>Start, Stop, and Mid-point</font>" +
      kNowScanning +
      failedVerdict("<p>The file received is empty (0 bytes). </p>"
                    "<p>Could not open temp file on Local Server. If your file has data in it, then\n"
                    "please contact the " +
                    contactLink("File not empty but 0 bytes recieved") + " to report this error. Thank you.</p>\n") +
      reportFooter();
  EXPECT_EQ(r.report, expected);
}

TEST(ScanRunReport, UnopenableInputLeavesAnUnfinishedReport) {
  struct Case {
    std::string folder;  // created inside the temporary folder
    std::string shownFolder;
  };
  const Case cases[] = {{"plain", "plain"}, {"<b>&\"x", "&lt;b&gt;&amp;&quot;x"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    TempDir dir;
    ASSERT_EQ(::mkdir(dir.file(c.folder).c_str(), 0755), 0);
    const std::string name = "missing_DC8_20190101_R0.ict";
    const std::string path = dir.file(c.folder) + "/" + name;
    ScanResult r = scanPath(path);
    EXPECT_EQ(r.reportPath, "");
    ASSERT_EQ(r.host.messages.size(), 1u);
    EXPECT_EQ(r.host.messages[0].caption, "File Open Error...");
    EXPECT_EQ(r.host.messages[0].text, path);
    EXPECT_EQ(r.report,
              reportHead() + submitted(name) + "<br>FILE = " + dir.path() + "/" + c.shownFolder + "/" + name + "\n");
  }
}

TEST(ScanRunReport, AFifoOrADeviceIsNoFileToScan) {
  // Neither waits for a writer nor reads without end: each is refused at once as a file that cannot
  // be opened.
  TempDir dir;
  const std::string fifo = dir.file("PIPE-DATA_DC8_20190521_R0.ict");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  for (const std::string& path : {fifo, std::string("/dev/zero")}) {
    SCOPED_TRACE(path);
    if (path == "/dev/zero" && ::access(path.c_str(), R_OK) != 0) continue;
    ScanSettings settings;
    settings.reportPath = dir.file("r.htm");
    ScanResult r = scanPath(path, {}, settings);
    EXPECT_EQ(r.reportPath, "");
    ASSERT_EQ(r.host.messages.size(), 1u);
    EXPECT_EQ(r.host.messages[0].caption, "File Open Error...");
    EXPECT_EQ(r.host.messages[0].text, path);
  }
}

TEST(ScanRunReport, ReportThatCannotBeCreated) {
  TempDir dir;
  const std::string path = dir.file(kGoodName);
  writeFile(path, IcarttBuilder::ffi1001().text());
  ASSERT_EQ(::mkdir((path + "__diagnostic.htm").c_str(), 0755), 0);  // a folder stands where the report goes
  ScanContext ctx;
  RecordingHost host;
  ctx.host = &host;
  EXPECT_EQ(runScan(ctx, path, 0).reportPath, "");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].caption, "File Create Error...");
  EXPECT_EQ(host.messages[0].text, path + "__diagnostic.htm");
}

// A report that cannot be written completely (here: the device is full) is not returned.
TEST(ScanRunReport, ReportThatCannotBeWrittenCompletely) {
  if (!fileExists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  TempDir dir;
  const std::string path = dir.file(kGoodName);
  writeFile(path, IcarttBuilder::ffi1001().text());
  ASSERT_EQ(::symlink("/dev/full", (path + "__diagnostic.htm").c_str()), 0);
  ScanContext ctx;
  RecordingHost host;
  ctx.host = &host;
  EXPECT_EQ(runScan(ctx, path, 0).reportPath, "");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].caption, "File Create Error...");
  EXPECT_EQ(host.messages[0].text, path + "__diagnostic.htm");
}

// chmod does not stop root, so this runs only for other users.
TEST(ScanRunReport, UnwritableFolder) {
  if (::geteuid() == 0) GTEST_SKIP() << "root can write into a read-only folder";
  TempDir dir;
  const std::string path = dir.file(kGoodName);
  writeFile(path, IcarttBuilder::ffi1001().text());
  ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
  ScanContext ctx;
  RecordingHost host;
  ctx.host = &host;
  const std::string result = runScan(ctx, path, 0).reportPath;
  ::chmod(dir.path().c_str(), 0755);
  EXPECT_EQ(result, "");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].caption, "File Create Error...");
  EXPECT_EQ(host.messages[0].text, path + "__diagnostic.htm");
  EXPECT_FALSE(fileExists(path + "__diagnostic.htm"));
}

// A known non-ICARTT type: only its name is checked; an orange line inside a red wrapper.
TEST(ScanRunReport, KnownNonIcarttTypeStopsAfterTheName) {
  TempDir dir;
  const std::string name = "CAMERA-IMAGES_DC8_20190101.jpg";
  ScanResult r = scanBytes(dir, name, std::string("\xFF\xD8\xFF\xE0 not really a picture", 26));
  EXPECT_EQ(r.status, 152);
  EXPECT_FALSE(r.reportPath.empty());
  EXPECT_TRUE(r.host.messages.empty());
  const std::string tail =
      "<tr><td>Ext</td><td><font color='#0000FF'>.jpg <i>[IMAGE_FILE_TYPE]</i></font></td></tr>\n"
      "</table></p>\n"
      "<p><H4>Done Processing File Name.</H4></p><hr>\n"
      "<font color='#FF0000'><font color='#FF9933'><H4>File Type: IMAGE_FILE_TYPE. ONLY Filename Verification was "
      "performed. No errors encountered.</H4><br>\n</font></font>" +
      reportFooter();
  EXPECT_TRUE(endsWith(r.report, tail)) << r.report;
  EXPECT_EQ(countOf(r.report, "Scanning failed"), 0u);
  EXPECT_EQ(countOf(r.report, "Max char's per line"), 0u);
  EXPECT_EQ(countOf(r.report, "Finished Scanning File."), 0u);
  EXPECT_EQ(countOf(r.report, "Processing File Header"), 0u);
}

// An unknown extension gets both the max-characters and the scanning-failed line.
TEST(ScanRunReport, UnknownExtensionFails) {
  TempDir dir;
  ScanResult r = scanBytes(dir, "ab_DC8_20190101_R0.csv", "a,b\n");
  EXPECT_EQ(r.status, 151);
  EXPECT_TRUE(endsWith(r.report,
                       "<p><H4>Done Processing File Name.</H4></p><hr>\n" +
                           failedVerdict("<H4>File is NOT an ICARTT type or its extension undefined. No operation was "
                                         "performed.<br>\nPlease correct the file and re-submit (see file naming "
                                         "convention in the ICARTT File Format document).</H4><br>\n") +
                           reportFooter()))
      << r.report;
}

// ---------------------------------------------------------------------------------------------
// Escaping of what comes from the file or its path

TEST(ScanRunEscaping, FileNameAndHeaderTextAreShownAsText) {
  TempDir dir;
  {
    SCOPED_TRACE("file name");
    const std::string name = "<b>x&<script>_DC8_20190101_R0.ict";
    ScanResult r = scanBytes(dir, name, "1, 1001\n");
    EXPECT_EQ(r.status, 2);
    const std::string shown = "&lt;b&gt;x&amp;&lt;script&gt;_DC8_20190101_R0.ict";
    EXPECT_NE(r.report.find(submitted(shown)), std::string::npos);
    EXPECT_NE(r.report.find("<tr><td>Filename</td><td><font color='#0000FF'>" + shown + "</font></td></tr>\n"),
              std::string::npos);
    EXPECT_EQ(countOf(r.report, "<script>"), 0u);
    EXPECT_EQ(countOf(r.report, "<b>x"), 0u);
  }
  {
    SCOPED_TRACE("PI name on line 2");
    IcarttBuilder b = IcarttBuilder::ffi1001();
    b.pi = "<b>Ostrel</b>, <script>alert(\"x\")</script> & co";
    ScanResult r = scanBytes(dir, kGoodName, b.text());
    EXPECT_EQ(r.status, 0) << r.report;
    EXPECT_NE(r.report.find("<tr><td><font size=\"-1\">Line2: PI Name</font></td><td><font color='#0000FF' "
                            "size=\"-1\">&lt;b&gt;Ostrel&lt;/b&gt;, &lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt; "
                            "&amp; co"),
              std::string::npos)
        << r.report;
    EXPECT_EQ(countOf(r.report, "<script>"), 0u);
    EXPECT_EQ(countOf(r.report, "<b>Ostrel"), 0u);
  }
}

// ---------------------------------------------------------------------------------------------
// One context for several runs

TEST(ScanRunReuse, NegativeIntervalIndexKeepsThePreviousTypeAndNothingElseSurvives) {
  TempDir dir;
  const std::string good = dir.file(kGoodName);
  writeFile(good, IcarttBuilder::ffi1001().text());
  const std::string bad = dir.file("ab_DC8_20190101_R9_L99.ict");
  writeFile(bad, "1, 1001\n");
  ScanContext ctx;
  RecordingHost host;
  ctx.host = &host;
  struct Step {
    std::string path;
    int32_t index;
    const char* interval;
    int32_t status;
  };
  const Step steps[] = {
      {bad, 1, kConstantEqual, 8},   {good, -1, kConstantEqual, -1}, {bad, -1, kConstantEqual, 8},
      {good, 0, kStartStopMid, 0},   {bad, -5, kStartStopMid, 8},    {good, -1, kStartStopMid, 0},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.path + " " + std::to_string(s.index));
    const ScanOutcome outcome = runScan(ctx, s.path, s.index);
    const std::string result = outcome.reportPath;
    EXPECT_EQ(result, s.path + "__diagnostic.htm");
    EXPECT_EQ(ctx.run.timeIntervalType, s.interval == kConstantEqual ? ConstantEqual : StartStopMid);
    const std::string report = readFile(result);
    EXPECT_NE(report.find(std::string("Time-interval Type Selected: <font color='#0000FF'>") + s.interval +
                          "</font>"),
              std::string::npos);
    if (s.status >= 0) {
      EXPECT_EQ(outcome.status, s.status) << report;
    }
    // the report is the run's own: one head, one footer, nothing of the run before
    EXPECT_EQ(report.find("<!DOCTYPE"), 0u);
    EXPECT_EQ(countOf(report, "<!DOCTYPE"), 1u);
    EXPECT_EQ(countOf(report, "</BODY></HTML>\n"), 1u);
    if (s.path == bad) {
      EXPECT_EQ(ctx.fn.revision, 9);
      EXPECT_EQ(countOf(report, "Info: revision number (R=9)"), 1u);
    } else {
      EXPECT_EQ(ctx.fn.revision, 0);
      EXPECT_EQ(ctx.fn.launch, 1);
      EXPECT_EQ(ctx.fn.dataID, "TEST-DATA");
      EXPECT_EQ(countOf(report, "Info: revision number"), 0u);
      if (s.status == 0) {
        EXPECT_EQ(countOf(report, "Scanning failed"), 0u);
      }
    }
  }
  EXPECT_TRUE(host.messages.empty());
}

// ---------------------------------------------------------------------------------------------
// The verdict of every code (the file-name codes are covered with the file-name phase)

TEST(ScanRunVerdict, ClosingParagraphOfEachCode) {
  struct Case {
    int32_t code;
    int64_t fileSize;
    int32_t maxLine;
    std::string text;
  };
  const std::string legendOnly =
      "<font color='#FF0000'><br>NOTE: error messages are displayed in RED; <font color='#FF9933'>warnings and other "
      "info in ORANGE.</font><br><hr><br>\n</font>";
  const std::string notOpened =
      "<p>Could not open temp file on Local Server. If your file has data in it, then\nplease contact the " +
      contactLink("File not empty but 0 bytes recieved") + " to report this error. Thank you.</p>\n";
  const Case cases[] = {
      {-99, 10, 1023, legendOnly},
      {0, 10, 1023, maxChars(1023) + kGoodJob},
      {0, 10, 4096, maxChars(4096) + kGoodJob},
      {20, 10, 1023, "<font color='#FF0000'><H3>File Scanning Aborted By User.</H3><br>\n</font>"},
      {4, 0, 1023, failedVerdict("<p>The file received is empty (0 bytes). </p>" + notOpened)},
      {4, 10, 1023, failedVerdict(notOpened)},
      {10, 10, 2048,
       failedVerdict("<p>Processing incomplete: problem(s) found while processing this file (see above).</p>\n", 2048)},
      {11, 10, 1023,
       failedVerdict("<p>There was a problem allocating memory on the Server. Processing Incomplete.<br>\n"
                     "Please contact the " +
                     contactLink("Server Problem Allocating Memory (Type1)") + " to report this error. Thank you.</p>\n")},
      {12, 10, 1023,
       failedVerdict("<p>Processing Incomplete.<br>There was a problem allocating memory on the Server.<br>\n"
                     "This error could be due to a (too long) line in your file that has > 1048576 char's.\n"
                     "Please contact the " +
                     contactLink("Server Problem Allocating Memory (Type2)") + " to report this error. Thank you.</p>\n")},
      {18, 10, 1023, failedVerdict("<p>Too many blank lines found (possibly at the end of file).</p>\n")},
      {19, 10, 1023, failedVerdict("<p>A blank line is not allowed in the data section of file.</p>\n")},
      {21, 10, 1023,
       failedVerdict("<p>The file seems to have been created with the NewLine (LF [Value=0x0A]) symbol missing. File "
                     "contents (data lines) are missing the NewLine (LF) symbol. Try openning and RE-SAVING the file as "
                     "in a Text Editor.</p>\n")},
      {152, 10, 1023,
       "<font color='#FF0000'><font color='#FF9933'><H4>File Type: HDF_TYPE. ONLY Filename Verification was performed. "
       "No errors encountered.</H4><br>\n</font></font>"},
      // a code without a paragraph of its own gets the legend line
      {99, 10, 1023, failedVerdict("<br>NOTE: error messages are displayed in RED; <font color='#FF9933'>warnings and "
                                   "other info in ORANGE.</font><br><hr><br>\n")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    ScanContext ctx;
    ctx.run.fileSize = c.fileSize;
    ctx.run.maxLineLength = c.maxLine;
    ctx.fn.typeClass = "HDF_TYPE";
    writeVerdict(ctx, c.code);
    EXPECT_EQ(ctx.report.contents(), c.text);
  }
}

}  // namespace
}  // namespace tarvik::test
