// tarvik-scan's command line itself: usage errors, --help, --version, and where the options end.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/cli_runner.h"
#include "support/test_files.h"
#include "tarvik_version.h"

namespace tarvik::test {
namespace {

TEST(CliUsage, UsageErrorsExitTwoAndScanNothing) {
  struct Case {
    const char* why;
    std::vector<std::string> args;  // FILE: a passing file; DIR: the test's folder
    std::string reason;             // DIR stands for the test's folder
  };
  const std::vector<Case> cases = {
      {"no file", {}, "no file given"},
      {"only options", {"-q", "-x"}, "no file given"},
      {"an unknown interval type",
       {"-t", "constant-equal", "FILE"},
       "unknown interval type 'constant-equal' (start-stop-mid or constant)"},
      {"an interval type missing", {"FILE", "-t"}, "option --interval needs a value"},
      {"jobs 0", {"-j", "0", "FILE"}, "--jobs takes a whole number from 1 to 256"},
      {"jobs not a number", {"-j", "two", "FILE"}, "--jobs takes a whole number from 1 to 256"},
      {"jobs with trailing text", {"--jobs=2x", "FILE"}, "--jobs takes a whole number from 1 to 256"},
      {"jobs too many", {"-j", "257", "FILE"}, "--jobs takes a whole number from 1 to 256"},
      {"an unknown option", {"--verbose", "FILE"}, "unknown option '--verbose'"},
      {"an unknown option with a value", {"--colour=red", "FILE"}, "unknown option '--colour'"},
      {"an unknown short option", {"-v", "FILE"}, "unknown option '-v'"},
      {"a folder without -r",
       {"FILE", "DIR"},
       "DIR is a folder; add -r (--recursive) to scan the .ict files in it"},
      {"a summary that is neither HTML nor CSV",
       {"--summary", "DIR/summary.txt", "FILE"},
       "--summary takes a file name ending in .html or .csv: 'DIR/summary.txt'"},
      {"a summary ending in .htm",
       {"--summary=DIR/summary.htm", "FILE"},
       "--summary takes a file name ending in .html or .csv: 'DIR/summary.htm'"},
      {"a summary without a name", {"FILE", "--summary"}, "option --summary needs a value"},
      {"an empty report folder", {"FILE", "--report-dir="}, "option --report-dir needs a value"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    TempDir dir;
    const std::string path = dir.file(kExampleName);
    writeFile(path, exampleText());
    auto expand = [&](std::string s) {
      for (size_t at; (at = s.find("DIR")) != std::string::npos;) s.replace(at, 3, dir.path());
      return s == "FILE" ? path : s;
    };
    std::vector<std::string> args;
    for (const auto& a : c.args) args.push_back(expand(a));
    RunResult r = runScanner(args);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "tarvik-scan: " + expand(c.reason) + "\n" + cli::usageText());
    EXPECT_FALSE(fileExists(path + "__diagnostic.htm"));
    EXPECT_FALSE(fileExists(dir.file("summary.txt")));
  }
}

TEST(CliUsage, HelpListsEveryOptionAndExitsZero) {
  const std::string help =
      "usage: tarvik-scan [options] FILE...\n"
      "Scans ICARTT files and writes each report beside its file (FILE__diagnostic.htm).\n"
      "With -r, a FILE may be a folder: its files ending in .ict are scanned, and those below it.\n"
      "  -t, --interval start-stop-mid|constant  time-interval type (default start-stop-mid)\n"
      "  -x, --extra-intervals                   also allow the intervals 5, 10, 15 and 30\n"
      "      --icartt 1.1|2.0                    the rules to check by (default 1.1; 2.0 adds the V2.0 rules)\n"
      "  -j, --jobs N                            scan N files at once (default 1)\n"
      "  -q, --quiet                             no progress bar, no lines for passing files\n"
      "  -r, --recursive                         scan the .ict files in the folders given and below them\n"
      "      --report-dir DIR                    write the reports under DIR, not beside the files\n"
      "      --no-repair                         never change a file; repair line ends in a private copy\n"
      "      --json                              one JSON object per file per line, not PASS/FAIL/ERROR\n"
      "      --summary FILE.html|FILE.csv        after the run, write a table of every file (HTML or CSV)\n"
      "      --version                           print the version and exit\n"
      "  -h, --help                              this text\n"
      "Exit status: 0 all passed, 1 a file failed, 2 usage error or a file without report.\n";
  for (const char* opt : {"-h", "--help"}) {
    SCOPED_TRACE(opt);
    RunResult r = runScanner({opt});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, help);
    EXPECT_EQ(r.err, "");
  }
}

TEST(CliUsage, VersionPrintsTheVersionAndExitsZero) {
  TempDir dir;
  const std::string path = dir.file(kExampleName);
  writeFile(path, exampleText());
  for (const std::vector<std::string>& args : {std::vector<std::string>{"--version"}, {"--version", path}}) {
    RunResult r = runScanner(args);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, std::string("tarvik-scan ") + TARVIK_VERSION + "\n");
    EXPECT_EQ(r.err, "");
  }
  EXPECT_EQ(std::string(TARVIK_VERSION), "2.3.4");
  EXPECT_FALSE(fileExists(path + "__diagnostic.htm"));  // --version scans nothing
}

TEST(CliUsage, DoubleDashEndsTheOptions) {
  TempDir dir;
  writeFile(dir.file("-q"), exampleText());
  RunResult r = runScanner({"--", "-q"}, inFolder(dir.path()));
  EXPECT_EQ(r.out, failLine("-q", 3));  // a name without an extension
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(fileExists(dir.file("-q__diagnostic.htm")));
}

TEST(CliUsage, ShortFlagsCombineAndTheLastValueWins) {
  TempDir dir;
  const std::string good = dir.file(kExampleName);
  writeFile(good, exampleText());
  struct Case {
    const char* why;
    std::vector<std::string> args;
    std::string out;
    int exitCode;
  };
  // The example's interval is 0, which fails with the constant type (code 10).
  const std::vector<Case> cases = {
      {"-qr together", {"-qr", good}, "", 0},
      {"-j with its value attached", {"-qj2", good}, "", 0},
      {"the constant type last",
       {"-t", "start-stop-mid", "--interval=constant", good},
       failLine(good, 10),
       1},
      {"the default type last", {"--interval=constant", "-t", "start-stop-mid", good}, passLine(good), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    RunResult r = runScanner(c.args);
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.exitCode, c.exitCode);
  }
}

}  // namespace
}  // namespace tarvik::test
