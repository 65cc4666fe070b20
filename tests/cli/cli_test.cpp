// tarvik-scan through the real binary: its lines on stdout and stderr, its exit status, and the
// reports it leaves beside the files.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "support/test_files.h"

namespace tarvik::test {
namespace {

// The example's header followed by rows generated with times step seconds apart.
std::string exampleWithRows(int rows, int step) {
  const std::string text = exampleText();
  size_t headerEnd = 0;
  for (int i = 0; i < 37; ++i) headerEnd = text.find('\n', headerEnd) + 1;
  std::string out = text.substr(0, headerEnd);
  for (int i = 0; i < rows; ++i) {
    const int start = 36000 + i * step;
    const std::string mid = std::to_string(start + step / 2) + (step % 2 ? ".5" : "");
    out += std::to_string(start) + ", " + std::to_string(start + step) + ", " + mid + ", 44.1, 94.4, 254.4\r\n";
  }
  return out;
}

bool endsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// A file's verdict under the options, from its content and name.
struct VerdictCase {
  const char* why;
  const char* name;
  int line;           // 0: the example as it is; else the line replaced by text
  const char* text;
  int step;           // 0: the example's data; else 20 rows this many seconds apart
  std::vector<std::string> options;
  int code;           // -1: PASS
  int exitCode;
};

TEST(CliVerdict, OneLinePerFileWithCodeAndReport) {
  const std::vector<VerdictCase> cases = {
      {"the example passes", kExampleName, 0, "", 0, {}, -1, 0},
      {"a bad date on line 7", kExampleName, 7, "2019, 13, 41, 2019, 06, 01", 0, {}, 10, 1},
      {"a name without the sections", "broken.ict", 0, "", 0, {}, 1, 1},
      {"interval 0 with the default type", kExampleName, 8, "0", 0, {}, -1, 0},
      {"interval 0 with the constant type", kExampleName, 8, "0", 0, {"-t", "constant"}, 10, 1},
      {"interval 1 with the default type", kExampleName, 8, "1", 0, {"-t", "start-stop-mid"}, 10, 1},
      {"interval 1 with the constant type", kExampleName, 8, "1", 1, {"-t", "constant"}, -1, 0},
      {"interval 1 with the constant type on 10-second data", kExampleName, 8, "1", 0, {"-t", "constant"}, 10, 1},
      {"interval 1 with the long option", kExampleName, 8, "1", 1, {"--interval=constant"}, -1, 0},
      {"interval 10 without the extra intervals", kExampleName, 8, "10", 0, {"-t", "constant"}, 10, 1},
      {"interval 10 with -x", kExampleName, 8, "10", 0, {"-t", "constant", "-x"}, -1, 0},
      {"interval 10 with --extra-intervals", kExampleName, 8, "10", 0, {"--interval", "constant", "--extra-intervals"}, -1, 0},
      {"interval 1 with -x allows only 5, 10, 15, 30", kExampleName, 8, "1", 0, {"-t", "constant", "-x"}, 10, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    TempDir dir;
    const std::string path = dir.file(c.name);
    std::string text = c.step > 0 ? exampleWithRows(20, c.step) : exampleText();
    if (c.line > 0) text = withLine(text, c.line, c.text);
    writeFile(path, text);
    std::vector<std::string> args = c.options;
    args.push_back(path);
    RunResult r = runScanner(args);
    EXPECT_EQ(r.out, c.code < 0 ? passLine(path) : failLine(path, c.code));
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.exitCode, c.exitCode);
    const std::string report = readFile(path + "__diagnostic.htm");
    EXPECT_TRUE(endsWith(report, "</BODY></HTML>\n"));
    EXPECT_EQ(report.find("Good Job - no major errors encountered during SCAN.") != std::string::npos, c.code < 0);
  }
}

TEST(CliVerdict, IntervalTypeIsWrittenInTheReport) {
  TempDir dir;
  const std::string path = dir.file(kExampleName);
  writeFile(path, withLine(exampleWithRows(20, 1), 8, "1"));
  ASSERT_EQ(runScanner({"-t", "constant", path}).exitCode, 0);
  EXPECT_NE(readFile(path + "__diagnostic.htm")
                .find("Time-interval Type Selected: <font color='#0000FF'>Constant Equal (1 or less); {Or, irregular "
                      "(Satellite/Trajectory/Ground)}</font>"),
            std::string::npos);
}

// Files that get no finished report: the message box's words on both streams, exit 2.
TEST(CliExamples, EveryBundledExamplePassesWithItsWholeDataSection) {
  struct Case {
    const char* name;
    const char* lines;  // the file's line count, as the closing line of the data phase gives it
  };
  const Case cases[] = {{"TARVIK-EXAMPLE_DC8_20190521_R0.ict", "337"},
                        {"TARVIK-EXAMPLE-PROFILES_DC8_20190521_R0.ict", "161"},
                        {"TARVIK-EXAMPLE-LIDAR_DC8_20190521_R0.ict", "103"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const std::string path = dir.file(c.name);
    writeFile(path, readFile(std::string(TARVIK_SOURCE_DIR) + "/examples/" + c.name));
    RunResult r = runScanner({path});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, passLine(path));
    const std::string report = readFile(path + "__diagnostic.htm");
    EXPECT_NE(report.find(std::string("<br>Total number of lines processed = ") + c.lines + "<br>\n"), std::string::npos);
    EXPECT_NE(report.find("Good Job - no major errors encountered during SCAN."), std::string::npos);
    EXPECT_EQ(report.find("<font color='#FF0000'>Line"), std::string::npos);  // no data error
  }
}

TEST(CliError, NoFinishedReportGivesErrorLine) {
  TempDir dir;
  struct Case {
    const char* why;
    std::string path;
    std::string words;
  };
  // A folder is refused before any scan (see the usage tests); a path ending in a slash that names
  // no folder reaches the scan.
  const std::vector<Case> cases = {
      {"a path ending in a slash", dir.file("missing/"), "PathName / Filename Error...: " + dir.file("missing/")},
      {"a missing file", dir.file(kExampleName), "File Open Error...: " + dir.file(kExampleName)},
      {"a name of 128 characters", dir.file(std::string(124, 'A') + ".ict"),
       "Filename Filename is too long -- must be < 128 characters in length.: " +
           dir.file(std::string(124, 'A') + ".ict")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    RunResult r = runScanner({c.path});
    EXPECT_EQ(r.out, "ERROR " + c.path + "  " + c.words + "\n");
    EXPECT_EQ(r.err, "tarvik-scan: " + c.words + "\n");
    EXPECT_EQ(r.exitCode, 2);
  }
  // The path ending in a slash is refused before any file or folder is created.
  EXPECT_FALSE(fileExists(dir.file("missing")));
}

TEST(CliError, AnErrorOutweighsAFailure) {
  TempDir dir;
  const std::string good = dir.file(kExampleName);
  const std::string bad = dir.file("broken.ict");
  const std::string missing = dir.file("MISSING-DATA_DC8_20190521_R0.ict");
  writeFile(good, exampleText());
  writeFile(bad, exampleText());
  RunResult r = runScanner({good, bad, missing});
  EXPECT_EQ(r.out, passLine(good) + failLine(bad, 1) + "ERROR " + missing + "  File Open Error...: " + missing + "\n");
  EXPECT_EQ(r.exitCode, 2);
}

// Several files scanned at once still give their lines in the order given.
TEST(CliJobs, LinesFollowTheOrderOfTheFiles) {
  TempDir dir;
  std::vector<std::string> paths, expected;
  const std::string text = exampleText();
  for (int i = 0; i < 6; ++i) {
    const bool broken = i % 3 == 1;
    const std::string path = dir.file("TARVIK-EXAMPLE-" + std::to_string(i) + "_DC8_20190521_R0.ict");
    // A longer data section for the first files, so that later ones tend to finish first.
    std::string content = broken ? withLine(text, 7, "2019, 05, 21, 2019") : i == 0 ? exampleWithRows(5000, 10) : text;
    writeFile(path, content);
    paths.push_back(path);
    expected.push_back(broken ? failLine(path, 10) : passLine(path));
  }
  for (const char* jobs : {"1", "2", "4"}) {
    SCOPED_TRACE(jobs);
    std::vector<std::string> args = {"-j", jobs};
    args.insert(args.end(), paths.begin(), paths.end());
    RunResult r = runScanner(args);
    std::string all;
    for (const auto& e : expected) all += e;
    EXPECT_EQ(r.out, all);
    EXPECT_EQ(r.exitCode, 1);
    for (const auto& p : paths) EXPECT_TRUE(fileExists(p + "__diagnostic.htm")) << p;
  }
}

TEST(CliQuiet, HidesOnlyPassLines) {
  TempDir dir;
  const std::string good = dir.file(kExampleName);
  const std::string bad = dir.file("TARVIK-EXAMPLE-BAD_DC8_20190521_R0.ict");
  const std::string missing = dir.file("MISSING-DATA_DC8_20190521_R0.ict");
  writeFile(good, exampleText());
  writeFile(bad, withLine(exampleText(), 7, "2019, 13, 41, 2019, 06, 01"));
  struct Case {
    const char* why;
    std::vector<std::string> args;
    std::string out;
    int exitCode;
  };
  const std::vector<Case> cases = {
      {"only passing files", {"-q", good, good}, "", 0},
      {"--quiet with a failure", {"--quiet", good, bad}, failLine(bad, 10), 1},
      {"a failure and an error", {good, "-q", bad, missing},
       failLine(bad, 10) + "ERROR " + missing + "  File Open Error...: " + missing + "\n", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    RunResult r = runScanner(c.args);
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.exitCode, c.exitCode);
    EXPECT_TRUE(fileExists(good + "__diagnostic.htm"));
  }
}

// A folder the user cannot write: the report cannot be created. Root writes everywhere, so the
// binary runs as nobody.
TEST(CliReportFolder, UnwritableFolderGivesFileCreateError) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to drop to nobody";
  std::string setpriv;
  for (const char* p : {"/usr/bin/setpriv", "/bin/setpriv", "/usr/sbin/setpriv"})
    if (::access(p, X_OK) == 0) setpriv = p;
  if (setpriv.empty()) GTEST_SKIP() << "setpriv is not installed";

  // A folder of its own under /tmp that nobody can enter and read but not write, holding a copy
  // of the binary and the file.
  char tmpl[] = "/tmp/tarvik-cli-XXXXXX";
  ASSERT_NE(::mkdtemp(tmpl), nullptr);
  const std::string folder = tmpl;
  ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
  const std::string binary = folder + "/tarvik-scan";
  writeFile(binary, readFile(TARVIK_SCAN_BINARY));
  ASSERT_EQ(::chmod(binary.c_str(), 0755), 0);
  const std::string path = folder + "/" + kExampleName;
  writeFile(path, exampleText());
  ASSERT_EQ(::chmod(path.c_str(), 0644), 0);

  RunResult r = runProgram({setpriv, "--reuid=nobody", "--regid=nogroup", "--clear-groups", binary, path});
  const std::string report = path + "__diagnostic.htm";
  EXPECT_EQ(r.out, "ERROR " + path + "  File Create Error...: " + report + "\n") << r.err;
  EXPECT_NE(r.err.find("File Create Error...: " + report), std::string::npos) << r.err;
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_FALSE(fileExists(report));

  ::unlink(report.c_str());
  ::unlink(path.c_str());
  ::unlink(binary.c_str());
  ::rmdir(folder.c_str());
}

}  // namespace
}  // namespace tarvik::test
