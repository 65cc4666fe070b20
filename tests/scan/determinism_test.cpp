// The report depends on the file's bytes and name and the options only: not on the run, the
// working directory, the time zone, or which program (desktop path or command line) scanned it.
#include <fcntl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "plot/plot_data_store.h"
#include "support/icartt_builder.h"
#include "support/test_files.h"

namespace tarvik::test {
namespace {


std::string exampleBytes(const std::string& name) {
  return readFile(std::string(TARVIK_SOURCE_DIR) + "/examples/" + name);
}

// The inputs: the three examples, and a file with errors in its header and data so that
// the report's error lines, values and times are compared as well.
struct Input {
  std::string name;
  std::string bytes;
};

std::vector<Input> inputs() {
  std::vector<Input> in;
  for (const char* n : {"TARVIK-EXAMPLE_DC8_20190521_R0.ict", "TARVIK-EXAMPLE-PROFILES_DC8_20190521_R0.ict",
                        "TARVIK-EXAMPLE-LIDAR_DC8_20190521_R0.ict"})
    in.push_back({n, exampleBytes(n)});
  IcarttBuilder b = IcarttBuilder::ffi1001(2);
  b.line7 = "2019, 5, 21, 2019, 06, 01";
  b.data = {"36000, 36010, 36005, 1.5, 2.25", "36010, 36020, 36015, -9999.5, 1e3", "36015, 36010, 36020, 4, x"};
  in.push_back({"TESTDATA-BAD_DC8_20190521_R0.ict", b.text("\n")});
  return in;
}

std::string firstDifference(const std::string& a, const std::string& b) {
  size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  if (i == a.size() && i == b.size()) return "identical";
  size_t from = a.rfind('\n', i);
  from = from == std::string::npos ? 0 : from + 1;
  return "first difference at byte " + std::to_string(i) + ":\n  first:  " + a.substr(from, a.find('\n', i) - from) +
         "\n  second: " + b.substr(from, b.find('\n', i) - from);
}

// Scans path as the desktop does: runScan with a host that keeps plot data.
ScanResult desktopScan(const std::string& path, TimeIntervalType interval = StartStopMid, bool extra = false) {
  PlotDataStore store;
  ScanOptions opt;
  opt.interval = interval;
  opt.extraIntervals = extra;
  opt.store = &store;
  return scanPath(path, opt);
}

// Restores the working directory when it goes out of scope.
class WorkingDirectory {
 public:
  WorkingDirectory() {
    char buf[4096];
    if (::getcwd(buf, sizeof buf)) saved_ = buf;
  }
  ~WorkingDirectory() {
    if (!saved_.empty() && ::chdir(saved_.c_str()) != 0) ADD_FAILURE() << "cannot return to " << saved_;
  }
  bool change(const std::string& dir) { return ::chdir(dir.c_str()) == 0; }

 private:
  std::string saved_;
};

// Restores TZ when it goes out of scope.
class TimeZone {
 public:
  TimeZone() {
    const char* tz = std::getenv("TZ");
    had_ = tz != nullptr;
    if (had_) saved_ = tz;
  }
  ~TimeZone() {
    if (had_)
      ::setenv("TZ", saved_.c_str(), 1);
    else
      ::unsetenv("TZ");
    ::tzset();
  }
  static void set(const char* tz) {
    ::setenv("TZ", tz, 1);
    ::tzset();
  }

 private:
  bool had_ = false;
  std::string saved_;
};

TEST(DeterminismRuns, SameFileTwiceGivesTheSameReport) {
  for (const Input& in : inputs()) {
    SCOPED_TRACE(in.name);
    TempDir dir;
    const std::string path = dir.file(in.name);
    writeFile(path, in.bytes);
    const ScanResult first = desktopScan(path);
    ASSERT_FALSE(first.reportPath.empty());
    const ScanResult second = desktopScan(path);
    EXPECT_EQ(first.status, second.status);
    EXPECT_TRUE(first.report == second.report) << firstDifference(first.report, second.report);
    EXPECT_EQ(readFile(path), in.bytes) << "the input is left as it was";
    if (in.name.rfind("TESTDATA-BAD", 0) == 0) {
      EXPECT_NE(first.status, 0) << "the file with errors fails";
      EXPECT_NE(first.report.find("Error"), std::string::npos);
    }
  }
}

TEST(DeterminismRuns, WorkingDirectoryDoesNotMatter) {
  for (const Input& in : inputs()) {
    SCOPED_TRACE(in.name);
    TempDir dir, elsewhere;
    const std::string path = dir.file(in.name);
    writeFile(path, in.bytes);
    const ScanResult here = desktopScan(path);
    ASSERT_FALSE(here.reportPath.empty());
    WorkingDirectory cwd;
    struct Case {
      const char* what;
      std::string folder, path;
    };
    const Case cases[] = {{"absolute path from another folder", elsewhere.path(), path},
                          {"absolute path from the root", "/", path},
                          {"bare name from the file's folder", dir.path(), in.name}};
    for (const Case& c : cases) {
      SCOPED_TRACE(c.what);
      ASSERT_TRUE(cwd.change(c.folder)) << c.folder;
      const ScanResult there = desktopScan(c.path);
      ASSERT_FALSE(there.reportPath.empty());
      EXPECT_EQ(here.status, there.status);
      EXPECT_TRUE(here.report == there.report) << firstDifference(here.report, there.report);
    }
  }
}

TEST(DeterminismRuns, TimeZoneDoesNotMatter) {
  TimeZone restore;
  for (const Input& in : inputs()) {
    SCOPED_TRACE(in.name);
    TempDir dir;
    const std::string path = dir.file(in.name);
    writeFile(path, in.bytes);
    TimeZone::set("UTC0");
    const ScanResult utc = desktopScan(path);
    ASSERT_FALSE(utc.reportPath.empty());
    // POSIX zone strings, so no zone database is needed: 14 hours east, 11:30 west, and one
    // in summer time all year.
    for (const char* tz : {"TVK-14", "TVK+11:30", "TVS+3TVD,0/0,J365/25"}) {
      SCOPED_TRACE(tz);
      TimeZone::set(tz);
      const ScanResult other = desktopScan(path);
      ASSERT_FALSE(other.reportPath.empty());
      EXPECT_EQ(utc.status, other.status);
      EXPECT_TRUE(utc.report == other.report) << firstDifference(utc.report, other.report);
    }
  }
}

// Runs the command-line scanner with args, its output discarded; returns its exit status.
int runCommandLine(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  std::string binary = TARVIK_SCAN_BINARY;
  argv.push_back(binary.data());
  std::vector<std::string> copy = args;
  for (auto& a : copy) argv.push_back(a.data());
  argv.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    if (null >= 0) {
      ::dup2(null, 1);
      ::dup2(null, 2);
    }
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(DeterminismPrograms, DesktopPathAndCommandLineWriteTheSameReport) {
  struct Options {
    const char* what;
    std::vector<std::string> args;
    TimeIntervalType interval;
    bool extra;
  };
  const Options options[] = {{"defaults", {}, StartStopMid, false},
                             {"constant", {"-t", "constant"}, ConstantEqual, false},
                             {"constant with extra intervals", {"--interval", "constant", "-x"}, ConstantEqual, true},
                             {"start-stop-mid with extra intervals", {"-x"}, StartStopMid, true}};
  for (const Input& in : inputs()) {
    for (const Options& o : options) {
      SCOPED_TRACE(in.name + ", " + o.what);
      TempDir cliDir, desktopDir;
      const std::string cliPath = cliDir.file(in.name);
      const std::string desktopPath = desktopDir.file(in.name);
      writeFile(cliPath, in.bytes);
      writeFile(desktopPath, in.bytes);
      std::vector<std::string> args = o.args;
      args.push_back("-q");
      args.push_back(cliPath);
      const int exitCode = runCommandLine(args);
      ASSERT_TRUE(exitCode == 0 || exitCode == 1) << "exit status " << exitCode;
      const ScanResult desktop = desktopScan(desktopPath, o.interval, o.extra);
      ASSERT_FALSE(desktop.reportPath.empty());
      EXPECT_EQ(exitCode, desktop.status == 0 || desktop.status == 152 ? 0 : 1);
      const std::string cliReport = readFile(cliPath + "__diagnostic.htm");
      ASSERT_FALSE(cliReport.empty());
      EXPECT_TRUE(cliReport == desktop.report) << firstDifference(cliReport, desktop.report);
      EXPECT_EQ(readFile(cliPath), readFile(desktopPath)) << "both leave the same bytes in the file";
    }
  }
}

}  // namespace
}  // namespace tarvik::test
