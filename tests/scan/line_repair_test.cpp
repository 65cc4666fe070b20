// The line-ending repair, called directly: how it splits the text for each symbol, the piece
// limit, and that every failure leaves the submitted bytes at the path.
#include "scan/lines/line_repair.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "support/test_files.h"

namespace tarvik::test {
namespace {

using namespace std::string_literals;

std::set<std::string> namesIn(const std::string& dir) {
  std::set<std::string> names;
  if (DIR* d = ::opendir(dir.c_str())) {
    while (dirent* e = ::readdir(d)) {
      std::string n = e->d_name;
      if (n != "." && n != "..") names.insert(n);
    }
    ::closedir(d);
  }
  return names;
}

TEST(LineRepair, SplitsAtTheSymbolAndEndsEveryPieceWithCrLf) {
  struct Case {
    const char* why;
    std::string bytes;
    char symbol;
    std::string repaired;
  };
  const std::vector<Case> cases = {
      {"lines ended by lone CRs, symbol CR: one empty line after the last", "a\rb\rc\r"s, '\r',
       "a\r\nb\r\nc\r\n\r\n"s},
      {"symbol CR keeps CR LF line ends inside the pieces", "h1\r\nh2\r\nd1\rd2\r"s, '\r',
       "h1\r\nh2\r\nd1\r\nd2\r\n\r\n"s},
      {"symbol CR: a lone LF is written as CR LF", "a\nb\rc"s, '\r', "a\r\nb\r\nc\r\n"s},
      {"symbol LF on a CR-only file: every line comes back", "a\rb\rc"s, '\n', "a\r\nb\r\nc\r\n"s},
      {"symbol LF on a CR-only file ending with CR", "a\rb\rc\r"s, '\n', "a\r\nb\r\nc\r\n\r\n"s},
      {"symbol LF splits at LF, CR LF and a lone CR", "a\nb\r\nc\rd"s, '\n', "a\r\nb\r\nc\r\nd\r\n"s},
      {"symbol LF: empty lines stay", "a\n\nb\r\r\n"s, '\n', "a\r\n\r\nb\r\n\r\n\r\n"s},
      {"a Ctrl-Z and what follows it are copied",
       "a\x1A"
       "b\rc\x1A\r"s,
       '\r',
       "a\x1A"
       "b\r\nc\x1A\r\n\r\n"s},
      {"NUL bytes are copied", "a\0b\rc"s, '\r', "a\0b\r\nc\r\n"s},
      {"no symbol at all: one line", "abc"s, '\n', "abc\r\n"s},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    TempDir dir;
    std::string path = dir.file("f.ict");
    writeFile(path, c.bytes);
    std::string message = "the symbol's name";
    EXPECT_EQ(repairLineEndings(path, message, c.symbol), 0);
    EXPECT_EQ(message, "");
    EXPECT_EQ(readFile(path), c.repaired);
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"f.ict"});
  }
}

TEST(LineRepair, PieceLimitIs4093Characters) {
  struct Case {
    size_t length;
    char symbol;
    bool repaired;
  };
  const std::vector<Case> cases = {
      {4093, '\r', true}, {4094, '\r', false}, {4093, '\n', true}, {4094, '\n', false}, {20000, '\r', false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.length) + (c.symbol == '\r' ? " CR" : " LF"));
    TempDir dir;
    std::string path = dir.file("f.ict");
    std::string piece(c.length, 'x');
    piece.front() = 'F';
    piece.back() = 'L';
    std::string sep(1, c.symbol);
    std::string bytes = "first" + sep + piece + sep + "last" + sep;
    writeFile(path, bytes);
    ::chmod(path.c_str(), 0640);
    std::string message = "name";
    int32_t rc = repairLineEndings(path, message, c.symbol);
    EXPECT_EQ(message, "");
    if (c.repaired) {
      EXPECT_EQ(rc, 0);
      EXPECT_EQ(readFile(path), "first\r\n" + piece + "\r\nlast\r\n\r\n");
    } else {
      EXPECT_EQ(rc, -1);
      EXPECT_EQ(readFile(path), bytes);  // byte for byte as submitted
    }
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"f.ict"});
  }
}

TEST(LineRepair, LargeFileAcrossManyBuffers) {
  // Several MiB of CR-separated lines with CR LF lines among them, so that CR LF pairs and pieces
  // fall on the boundaries of the reader's and the writer's buffers.
  std::string bytes, expectCr, expectLf;
  for (int i = 0; i < 120000; ++i) {
    std::string line = "line " + std::to_string(i) + std::string(static_cast<size_t>(i % 37), '.');
    const char* end = (i % 5 == 0) ? "\r\n" : "\r";
    bytes += line + end;
    expectCr += line + "\r\n";
    expectLf += line + "\r\n";
  }
  expectCr += "\r\n";
  expectLf += "\r\n";
  for (char symbol : {'\r', '\n'}) {
    SCOPED_TRACE(static_cast<int>(symbol));
    TempDir dir;
    std::string path = dir.file("big.ict");
    writeFile(path, bytes);
    std::string message;
    ASSERT_EQ(repairLineEndings(path, message, symbol), 0) << message;
    // With CR every CR LF stays inside a piece and is written as CR LF; with LF every line end
    // ends a piece. Both give the same lines here.
    EXPECT_EQ(readFile(path) == (symbol == '\r' ? expectCr : expectLf), true);
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"big.ict"});
  }
}

TEST(LineRepair, KeepsThePermissionBitsOfTheFile) {
  mode_t old = ::umask(022);
  for (unsigned mode : {0600u, 0644u, 0666u, 0755u}) {
    SCOPED_TRACE(mode);
    TempDir dir;
    std::string path = dir.file("f.ict");
    writeFile(path, "a\rb\r");
    ASSERT_EQ(::chmod(path.c_str(), mode), 0);
    std::string message;
    ASSERT_EQ(repairLineEndings(path, message, '\r'), 0);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, mode);
  }
  ::umask(old);
}

// A seam over the real file operations that makes one chosen operation fail.
struct Faults {
  std::string openWriteFails;   // open of this path for writing fails
  std::string openReadFails;    // open of this path for reading fails
  bool tempWriteFails = false;  // writes to the temporary output fail
  bool renameFails = false;
  bool removeTempFails = false;
  int tempFd = -1;
};
Faults g;

bool isTemp(const char* path) {
  std::string p = path;
  return p.size() > 4 && p.compare(p.size() - 4, 4, ".tmp") == 0;
}
int fakeOpen(const char* path, int flags, unsigned mode) {
  int acc = flags & O_ACCMODE;
  if (acc != O_RDONLY && g.openWriteFails == path) {
    errno = EACCES;
    return -1;
  }
  if (acc == O_RDONLY && g.openReadFails == path) {
    errno = EACCES;
    return -1;
  }
  int fd = realRepairFileOps().open(path, flags, mode);
  if (fd >= 0 && isTemp(path)) g.tempFd = fd;
  return fd;
}
long fakeRead(int fd, void* data, unsigned long size) { return realRepairFileOps().read(fd, data, size); }
long fakeWrite(int fd, const void* data, unsigned long size) {
  if (g.tempWriteFails && fd == g.tempFd) {
    errno = ENOSPC;
    return -1;
  }
  return realRepairFileOps().write(fd, data, size);
}
int fakeSync(int fd) { return realRepairFileOps().sync(fd); }
int fakeClose(int fd) { return realRepairFileOps().close(fd); }
int fakeRename(const char* from, const char* to) {
  if (g.renameFails) {
    errno = EXDEV;
    return -1;
  }
  return realRepairFileOps().rename(from, to);
}
int fakeRemove(const char* path) {
  if (g.removeTempFails && isTemp(path)) {
    errno = EACCES;
    return -1;
  }
  return realRepairFileOps().remove(path);
}
const RepairFileOps kFaulty{fakeOpen, fakeRead, fakeWrite, fakeSync, fakeClose, fakeRename, fakeRemove};

TEST(LineRepairFailure, EveryFailureLeavesTheSubmittedBytesAtThePath) {
  const std::string bytes = "46, 1001\rOstrel, Corvane\rlast line\r";
  struct Case {
    const char* why;
    void (*arm)(const std::string& path);
    std::string message;  // exact; "1C" for the write failure (its reason is the system's)
    std::set<std::string> leftFiles;
  };
  const std::vector<Case> cases = {
      {"the path cannot be opened for writing (a read-only file)",
       [](const std::string& p) { g.openWriteFails = p; },
       "Error_1B::fxcr -- openning OutFile failed. \n",
       {"f.ict", "f.ict.crlf"}},
      {"the backup cannot be created",
       [](const std::string& p) { g.openWriteFails = p + ".crlf"; },
       "Error_0",
       {"f.ict"}},
      {"the backup cannot be opened for reading",
       [](const std::string& p) { g.openReadFails = p + ".crlf"; },
       "Error_1A::fxcr -- openning InFile failed. \n",
       {"f.ict", "f.ict.crlf"}},
      {"writing the repaired text fails",
       [](const std::string&) { g.tempWriteFails = true; },
       "1C",
       {"f.ict"}},
      {"the rename over the path fails", [](const std::string&) { g.renameFails = true; }, "1C", {"f.ict"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    TempDir dir;
    std::string path = dir.file("f.ict");
    writeFile(path, bytes);
    g = Faults{};
    c.arm(path);
    std::string message = "CARRIAGE RETURN(CR [Hex = 0x0D])";
    EXPECT_EQ(repairLineEndings(path, message, '\r', kFaulty), -1);
    g = Faults{};
    if (c.message == "Error_0") {
      EXPECT_EQ(message, "Error_0::fxcr -- create backup file failed. File = " + path + "\n");
    } else if (c.message == "1C") {
      EXPECT_EQ(message.rfind("Error_1C::fxcr -- writing OutFile failed (", 0), 0u) << message;
      EXPECT_NE(message.find("); the file was left as submitted.\n"), std::string::npos) << message;
    } else {
      EXPECT_EQ(message, c.message);
    }
    EXPECT_EQ(readFile(path), bytes);
    EXPECT_EQ(namesIn(dir.path()), c.leftFiles);
    if (c.leftFiles.count("f.ict.crlf")) {
      EXPECT_EQ(readFile(path + ".crlf"), bytes);
    }
  }
}

TEST(LineRepairFailure, TooLongPieceWhoseCleanupFailsGivesError2) {
  TempDir dir;
  std::string path = dir.file("f.ict");
  std::string bytes = std::string(5000, 'x') + "\r";
  writeFile(path, bytes);
  g = Faults{};
  g.removeTempFails = true;
  std::string message;
  EXPECT_EQ(repairLineEndings(path, message, '\r', kFaulty), -1);
  g = Faults{};
  EXPECT_EQ(
      message,
      "Error_2::fxcr -- Text line(s) in Input file exceeded 4093 char's in length. Removing backup file failed.\n");
  EXPECT_EQ(readFile(path), bytes);
  EXPECT_TRUE(fileExists(path + ".crlf"));
  EXPECT_EQ(readFile(path + ".crlf"), bytes);
}

TEST(LineRepairFailure, AMissingFileCannotBeBackedUp) {
  TempDir dir;
  std::string path = dir.file("gone.ict");
  std::string message = "x";
  EXPECT_EQ(repairLineEndings(path, message, '\n'), -1);
  EXPECT_EQ(message, "Error_0::fxcr -- create backup file failed. File = " + path + "\n");
  EXPECT_TRUE(namesIn(dir.path()).empty());
}

}  // namespace
}  // namespace tarvik::test
