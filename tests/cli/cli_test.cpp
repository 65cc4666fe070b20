// tarvik-scan through the real binary: its lines on stdout and stderr, its exit status, and the
// reports it leaves beside the files.
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/test_files.h"

namespace tarvik::test {
namespace {

const char* const kExampleName = "TARVIK-EXAMPLE_DC8_20190521_R0.ict";

struct RunResult {
  std::string out, err;
  int exitCode = -1;  // -1 when the process did not exit normally
};

// Runs argv (argv[0] looked up in PATH when it has no slash) and collects both streams.
RunResult runProgram(const std::vector<std::string>& argv, const std::string& cwd = "") {
  int outPipe[2], errPipe[2];
  if (::pipe(outPipe) != 0 || ::pipe(errPipe) != 0) throw std::runtime_error("pipe failed");
  pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    ::dup2(outPipe[1], STDOUT_FILENO);
    ::dup2(errPipe[1], STDERR_FILENO);
    int devNull = ::open("/dev/null", O_RDONLY);
    if (devNull >= 0) ::dup2(devNull, STDIN_FILENO);
    if (!cwd.empty() && ::chdir(cwd.c_str()) != 0) ::_exit(126);
    ::close(outPipe[0]);
    ::close(outPipe[1]);
    ::close(errPipe[0]);
    ::close(errPipe[1]);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    ::execvp(args[0], args.data());
    ::_exit(127);
  }
  ::close(outPipe[1]);
  ::close(errPipe[1]);
  RunResult res;
  pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
  std::string* sinks[2] = {&res.out, &res.err};
  int open = 2;
  while (open > 0) {
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (int k = 0; k < 2; ++k) {
      if (fds[k].fd < 0 || fds[k].revents == 0) continue;
      char buf[4096];
      ssize_t n = ::read(fds[k].fd, buf, sizeof buf);
      if (n > 0) {
        sinks[k]->append(buf, static_cast<size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        ::close(fds[k].fd);
        fds[k].fd = -1;
        --open;
      }
    }
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) res.exitCode = WEXITSTATUS(status);
  return res;
}

RunResult runScanner(std::vector<std::string> args, const std::string& cwd = "") {
  args.insert(args.begin(), TARVIK_SCAN_BINARY);
  return runProgram(args, cwd);
}

std::string exampleText() { return readFile(std::string(TARVIK_SOURCE_DIR) + "/examples/" + kExampleName); }

// The text with its line n (1-based) replaced.
std::string withLine(const std::string& text, int n, const std::string& replacement) {
  size_t start = 0;
  for (int i = 1; i < n; ++i) start = text.find('\n', start) + 1;
  size_t end = text.find('\n', start);
  return text.substr(0, start) + replacement + text.substr(end);
}

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

std::string passLine(const std::string& path) { return "PASS  " + path + "  report: " + path + "__diagnostic.htm\n"; }
std::string failLine(const std::string& path, int code) {
  return "FAIL  " + path + "  code " + std::to_string(code) + "  report: " + path + "__diagnostic.htm\n";
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
  ::mkdir(dir.file("folder").c_str(), 0755);
  struct Case {
    const char* why;
    std::string path;
    std::string words;
  };
  const std::vector<Case> cases = {
      {"a path ending in a slash", dir.path() + "/", "PathName / Filename Error...: " + dir.path() + "/"},
      {"a missing file", dir.file(kExampleName), "File Open Error...: " + dir.file(kExampleName)},
      {"a folder", dir.file("folder"), "File Open Error...: " + dir.file("folder")},
      {"a name of 128 characters", dir.file(std::string(124, 'A') + ".ict"),
       "Filename Filename is too long -- must be < 128 characters in length.: " +
           dir.file(std::string(124, 'A') + ".ict")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    RunResult r = runScanner({c.path});
    EXPECT_EQ(r.out, "ERROR " + c.path + "  " + c.words + "\n");
    EXPECT_NE(r.err.find(c.words), std::string::npos) << r.err;
    EXPECT_EQ(r.exitCode, 2);
  }
  // The path ending in a slash is refused before any file is created.
  EXPECT_FALSE(fileExists(dir.path() + "/__diagnostic.htm"));
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

TEST(CliUsage, UsageErrorsExitTwoAndScanNothing) {
  struct Case {
    const char* why;
    std::vector<std::string> args;
    const char* reason;
  };
  const std::vector<Case> cases = {
      {"no file", {}, "no file given"},
      {"only options", {"-q", "-x"}, "no file given"},
      {"an unknown interval type", {"-t", "constant-equal", "FILE"}, "unknown interval type 'constant-equal'"},
      {"an interval type missing", {"FILE", "-t"}, "needs a value"},
      {"jobs 0", {"-j", "0", "FILE"}, "--jobs takes a whole number from 1 to 256"},
      {"jobs not a number", {"-j", "two", "FILE"}, "--jobs takes a whole number from 1 to 256"},
      {"jobs with trailing text", {"--jobs=2x", "FILE"}, "--jobs takes a whole number from 1 to 256"},
      {"jobs too many", {"-j", "257", "FILE"}, "--jobs takes a whole number from 1 to 256"},
      {"an unknown option", {"--verbose", "FILE"}, "unknown option '--verbose'"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    TempDir dir;
    const std::string path = dir.file(kExampleName);
    writeFile(path, exampleText());
    std::vector<std::string> args;
    for (const auto& a : c.args) args.push_back(a == "FILE" ? path : a);
    RunResult r = runScanner(args);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("tarvik-scan: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("usage: tarvik-scan [options] FILE..."), std::string::npos);
    EXPECT_FALSE(fileExists(path + "__diagnostic.htm"));
  }
}

TEST(CliUsage, HelpPrintsUsageAndExitsZero) {
  for (const char* opt : {"-h", "--help"}) {
    SCOPED_TRACE(opt);
    RunResult r = runScanner({opt});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.rfind("usage: tarvik-scan [options] FILE...\n", 0), 0u);
    EXPECT_EQ(r.err, "");
  }
}

TEST(CliUsage, DoubleDashEndsTheOptions) {
  TempDir dir;
  writeFile(dir.file("-q"), exampleText());
  RunResult r = runScanner({"--", "-q"}, dir.path());
  EXPECT_EQ(r.out, failLine("-q", 3));  // a name without an extension
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(fileExists(dir.file("-q__diagnostic.htm")));
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
