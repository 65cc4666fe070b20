// -r: folders among the arguments are walked for files ending in ".ict", in sorted path order,
// without following symbolic links; a folder that cannot be read is reported and the walk goes on.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "support/test_files.h"

namespace tarvik::test {
namespace {

void makeFolder(const std::string& path, mode_t mode = 0755) {
  ASSERT_EQ(::mkdir(path.c_str(), mode), 0) << path;
  ASSERT_EQ(::chmod(path.c_str(), mode), 0) << path;  // past the umask
}

// root/
//   TARVIK-EXAMPLE_DC8_20190521_R0.ict
//   a/TARVIK-EXAMPLE-A_DC8_20190521_R0.ict, its old report and its .crlf backup, notes.txt
//   a/deep/TARVIK-EXAMPLE-DEEP_DC8_20190521_R0.ICT      (the extension in capitals)
//   a-b/TARVIK-EXAMPLE-AB_DC8_20190521_R0.ict           (after a/ though "a-b/" < "a/" as text)
//   b/loop -> ..  and  b/link.ict -> ../TARVIK-EXAMPLE_DC8_20190521_R0.ict   (links: not followed)
//   pipe.ict                                             (a FIFO: not a regular file)
struct Tree {
  std::string root;
  std::vector<std::string> files;  // the files to scan, relative to root, in the order expected
};

Tree makeTree(const TempDir& dir) {
  Tree t{dir.file("root"),
         {kExampleName, "a/TARVIK-EXAMPLE-A_DC8_20190521_R0.ict",
          "a/deep/TARVIK-EXAMPLE-DEEP_DC8_20190521_R0.ICT", "a-b/TARVIK-EXAMPLE-AB_DC8_20190521_R0.ict"}};
  makeFolder(t.root);
  for (const char* sub : {"a", "a/deep", "a-b", "b"}) makeFolder(t.root + "/" + sub);
  for (const std::string& f : t.files) writeFile(t.root + "/" + f, exampleText());
  writeFile(t.root + "/a/TARVIK-EXAMPLE-A_DC8_20190521_R0.ict__diagnostic.htm", "an old report");
  writeFile(t.root + "/a/TARVIK-EXAMPLE-A_DC8_20190521_R0.ict.crlf", exampleText());
  writeFile(t.root + "/a/notes.txt", "not a data file");
  EXPECT_EQ(::symlink("..", (t.root + "/b/loop").c_str()), 0);
  EXPECT_EQ(::symlink((std::string("../") + kExampleName).c_str(), (t.root + "/b/link.ict").c_str()), 0);
  EXPECT_EQ(::mkfifo((t.root + "/pipe.ict").c_str(), 0644), 0);
  return t;
}

TEST(CliRecursive, WalksTheTreeInSortedPathOrder) {
  TempDir dir;
  const Tree t = makeTree(dir);
  struct Case {
    const char* why;
    std::string arg;  // the folder argument
    std::string shownRoot;
  };
  const std::vector<Case> cases = {
      {"the folder as given", t.root, t.root},
      {"the folder with a trailing slash", t.root + "/", t.root},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    RunResult r = runScanner({"-r", c.arg});
    std::string expected;
    for (const std::string& f : t.files) expected += passLine(c.shownRoot + "/" + f);
    EXPECT_EQ(r.out, expected);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.exitCode, 0);
  }
  // Nothing was scanned through the links, the backup or the old report (the exact lines above also
  // show that the loop was not entered).
  EXPECT_FALSE(fileExists(t.root + "/b/link.ict__diagnostic.htm"));
  EXPECT_FALSE(fileExists(t.root + "/a/TARVIK-EXAMPLE-A_DC8_20190521_R0.ict.crlf__diagnostic.htm"));
  EXPECT_FALSE(
      fileExists(t.root + "/a/TARVIK-EXAMPLE-A_DC8_20190521_R0.ict__diagnostic.htm__diagnostic.htm"));
}

TEST(CliRecursive, RelativeFolderAndFilesMixed) {
  TempDir dir;
  const Tree t = makeTree(dir);
  // Folders and files in one command: each file at its first place, in the order of the arguments.
  RunResult r = runScanner({"-r", "root/a", std::string("root/") + kExampleName, "root", "root/a-b"},
                           inFolder(dir.path()));
  EXPECT_EQ(r.out, passLine("root/a/TARVIK-EXAMPLE-A_DC8_20190521_R0.ict") +
                       passLine("root/a/deep/TARVIK-EXAMPLE-DEEP_DC8_20190521_R0.ICT") +
                       passLine(std::string("root/") + kExampleName) +
                       passLine("root/a-b/TARVIK-EXAMPLE-AB_DC8_20190521_R0.ict"));
  EXPECT_EQ(r.exitCode, 0);
}

TEST(CliRecursive, AFolderWithoutDataFilesScansNothing) {
  TempDir dir;
  makeFolder(dir.file("empty"));
  writeFile(dir.file("empty/readme.txt"), "no data here");
  RunResult r = runScanner({"-r", dir.file("empty")});
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "tarvik-scan: no file to scan (no .ict file in the folders given)\n");
  EXPECT_EQ(r.exitCode, 0);
}

// A folder the user may not read: one line on stderr, the rest of the tree is scanned, exit 2.
// Root reads every folder, so the program runs as nobody.
TEST(CliRecursive, AnUnreadableFolderIsReportedAndTheWalkGoesOn) {
  if (!canRunAsNobody()) GTEST_SKIP() << "needs root, to run the program as nobody";
  TempDir dir;
  ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
  const std::string root = dir.file("root");
  makeFolder(root, 0777);
  makeFolder(root + "/a", 0777);
  makeFolder(root + "/b-locked", 0700);  // root's own, closed to nobody
  makeFolder(root + "/c", 0777);
  const std::vector<std::string> readable = {root + "/a/TARVIK-EXAMPLE-A_DC8_20190521_R0.ict",
                                             root + "/c/TARVIK-EXAMPLE-C_DC8_20190521_R0.ict"};
  for (const std::string& f : readable) writeFile(f, exampleText());
  writeFile(root + "/b-locked/TARVIK-EXAMPLE-B_DC8_20190521_R0.ict", exampleText());

  RunResult r = runScanner({"-r", root}, asNobody());
  EXPECT_EQ(r.out, passLine(readable[0]) + passLine(readable[1]));
  EXPECT_EQ(r.err, "tarvik-scan: cannot read the folder " + root + "/b-locked: Permission denied\n");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_FALSE(fileExists(root + "/b-locked/TARVIK-EXAMPLE-B_DC8_20190521_R0.ict__diagnostic.htm"));
}

}  // namespace
}  // namespace tarvik::test
