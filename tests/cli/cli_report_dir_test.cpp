// --report-dir: every report under one folder, at the file's path relative to its folder argument
// (or the path a file was given with, less leading "/" and ".." parts); no two files share a report.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "cli/report_paths.h"
#include "support/test_files.h"

namespace tarvik::test {
namespace {

const std::string kName = kExampleName;

void makeFolders(const TempDir& dir, const std::vector<std::string>& folders) {
  for (const std::string& f : folders) ASSERT_EQ(::mkdir(dir.file(f).c_str(), 0755), 0) << f;
}

std::string passTo(const std::string& file, const std::string& report) {
  return "PASS  " + file + "  report: " + report + "\n";
}

TEST(CliReportDir, ReportsKeepThePathsTheFilesWereFoundOrGivenWith) {
  TempDir dir;
  makeFolders(dir, {"work", "data", "data/a", "data/b", "data/b/deep"});
  for (const char* f : {"data/a/", "data/b/", "data/b/deep/"}) writeFile(dir.file(f + kName), exampleText());
  const std::string abs = dir.file("data/b/deep/" + kName);
  const std::string absUnder = dir.path().substr(1) + "/data/b/deep/" + kName;  // less the leading "/"
  struct Case {
    const char* why;
    std::vector<std::string> args;  // run in dir/work
    std::string out;                // R stands for the report folder
  };
  const std::vector<Case> cases = {
      {"two files of one name in two folders",
       {"../data/a/" + kName, "../data/b/" + kName},
       passTo("../data/a/" + kName, "R/data/a/" + kName + "__diagnostic.htm") +
           passTo("../data/b/" + kName, "R/data/b/" + kName + "__diagnostic.htm")},
      {"a file given with its absolute path", {abs}, passTo(abs, "R/" + absUnder + "__diagnostic.htm")},
      {"a file given with inner dot parts",
       {"./../data/./a/../b/" + kName},
       passTo("./../data/./a/../b/" + kName, "R/data/b/" + kName + "__diagnostic.htm")},
      {"a folder argument: paths below it",
       {"-r", "../data"},
       passTo("../data/a/" + kName, "R/a/" + kName + "__diagnostic.htm") +
           passTo("../data/b/" + kName, "R/b/" + kName + "__diagnostic.htm") +
           passTo("../data/b/deep/" + kName, "R/b/deep/" + kName + "__diagnostic.htm")},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    const std::string reports = dir.file("reports" + std::to_string(++n));  // made by the program
    std::vector<std::string> args = {"--report-dir", reports};
    args.insert(args.end(), c.args.begin(), c.args.end());
    RunResult r = runScanner(args, inFolder(dir.file("work")));
    std::string out = c.out;
    for (size_t at; (at = out.find("R/")) != std::string::npos;) out.replace(at, 1, reports);
    EXPECT_EQ(r.out, out);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.exitCode, 0);
    // Each report is there and holds a whole report; none was written beside the files.
    for (size_t at = 0; (at = out.find("report: ", at)) != std::string::npos;) {
      at += 8;
      const std::string report = out.substr(at, out.find('\n', at) - at);
      EXPECT_NE(readFile(report).find("Good Job - no major errors encountered during SCAN."),
                std::string::npos)
          << report;
    }
    for (const char* f : {"data/a/", "data/b/", "data/b/deep/"})
      EXPECT_FALSE(fileExists(dir.file(f + kName + "__diagnostic.htm")));
  }
}

TEST(CliReportDir, NoTwoFilesShareAReport) {
  TempDir dir;
  makeFolders(dir, {"w", "w/a", "a", "f1", "f2"});
  for (const char* f : {"w/a/", "a/", "f1/", "f2/"}) writeFile(dir.file(f + kName), exampleText());
  const std::string R = dir.file("R");
  const std::string report = R + "/a/" + kName + "__diagnostic";
  struct Case {
    const char* why;
    std::vector<std::string> args;  // run in dir/w
    std::string out;
  };
  const std::vector<Case> cases = {
      {"two files that map to one path",
       {"a/" + kName, "../a/" + kName},
       passTo("a/" + kName, report + ".htm") + passTo("../a/" + kName, report + "-2.htm")},
      {"the same file twice, by two paths: scanned once",
       {"a/" + kName, "./a/../a/" + kName, dir.file("w/a/" + kName)},
       passTo("a/" + kName, report + ".htm")},
      {"two folder arguments holding one name",
       {"-r", "../f1", "../f2", "../f1"},
       passTo("../f1/" + kName, R + "/" + kName + "__diagnostic.htm") +
           passTo("../f2/" + kName, R + "/" + kName + "__diagnostic-2.htm")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    std::vector<std::string> args = {"--report-dir", R};
    args.insert(args.end(), c.args.begin(), c.args.end());
    RunResult r = runScanner(args, inFolder(dir.file("w")));
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.exitCode, 0);
  }
}

TEST(CliReportDir, AReportFolderThatCannotBeMadeIsAnErrorLine) {
  TempDir dir;
  makeFolders(dir, {"a"});
  const std::string top = dir.file(kName), nested = dir.file("a/" + kName);
  writeFile(top, exampleText());
  writeFile(nested, exampleText());
  const std::string blocker = dir.file("blocker");  // a file where the report folder should be
  writeFile(blocker, "in the way");
  RunResult r = runScanner({"--report-dir", blocker, "-r", dir.path()});
  const std::string topWords =
      "Report Folder Error...: cannot create the folder " + blocker + ": a file of that name is in the way";
  const std::string nestedWords =
      "Report Folder Error...: cannot create the folder " + blocker + "/a: Not a directory";
  EXPECT_EQ(r.out, "ERROR " + top + "  " + topWords + "\nERROR " + nested + "  " + nestedWords + "\n");
  EXPECT_EQ(r.err, "tarvik-scan: " + topWords + "\ntarvik-scan: " + nestedWords + "\n");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(readFile(blocker), "in the way");
}

TEST(CliReportDir, AFolderNobodyMayWriteIsAnErrorLineWithTheReason) {
  if (!canRunAsNobody()) GTEST_SKIP() << "needs root, to run the program as nobody";
  TempDir dir;
  ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);  // nobody may read the file but not write here
  const std::string file = dir.file(kName);
  writeFile(file, exampleText());
  RunResult r = runScanner({"--report-dir", dir.file("reports/sub"), file}, asNobody());
  const std::string words =
      "Report Folder Error...: cannot create the folder " + dir.file("reports") + ": Permission denied";
  EXPECT_EQ(r.out, "ERROR " + file + "  " + words + "\n");
  EXPECT_EQ(r.err, "tarvik-scan: " + words + "\n");
  EXPECT_EQ(r.exitCode, 2);
}

TEST(CliReportPaths, ArgumentsKeepTheirPathLessLeadingRootAndParentParts) {
  struct Case {
    std::string in, out;
  };
  const std::vector<Case> cases = {
      {"x.ict", "x.ict"},
      {"../x.ict", "x.ict"},
      {"/a/x.ict", "a/x.ict"},
      {"/../a/x.ict", "a/x.ict"},
      {"./a//b/./x.ict", "a/b/x.ict"},
      {"a/../../x.ict", "x.ict"},
      {"../../a/../b/x.ict", "b/x.ict"},
      {"a/b/../c/x.ict", "a/c/x.ict"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(cli::relativeOfArgument(c.in), c.out);
  }
}

TEST(CliReportPaths, ACollisionTakesTheNextFreeNumber) {
  std::vector<cli::ScanItem> items = {
      {"a/x.ict", "a/x.ict", {}}, {"../a/x.ict", "a/x.ict", {}}, {"b/a/x.ict", "a/x.ict", {}},
      {"y.ict", "y.ict", {}},     {"c/y.ict", "./y.ict", {}},
  };
  cli::planReports(items, "R/");
  const std::vector<std::string> expected = {"R/a/x.ict__diagnostic.htm", "R/a/x.ict__diagnostic-2.htm",
                                             "R/a/x.ict__diagnostic-3.htm", "R/y.ict__diagnostic.htm",
                                             "R/./y.ict__diagnostic-2.htm"};
  for (size_t i = 0; i < items.size(); ++i) EXPECT_EQ(items[i].report, expected[i]) << i;

  // Beside the files, a report is the file's path and the suffix.
  std::vector<cli::ScanItem> beside = {{"a/x.ict", "a/x.ict", {}}, {"/d/x.ict", "d/x.ict", {}}};
  cli::planReports(beside, "");
  EXPECT_EQ(beside[0].report, "a/x.ict__diagnostic.htm");
  EXPECT_EQ(beside[1].report, "/d/x.ict__diagnostic.htm");
}

}  // namespace
}  // namespace tarvik::test
