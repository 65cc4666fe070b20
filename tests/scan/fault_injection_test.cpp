// Fault injection for the line-ending repair: every file operation of a repair is made to fail in
// turn, the process is killed at every file operation, and a real disk runs full. After each, the
// submitted bytes are at the path (or the repair is whole and announced), nothing is reported as
// success that is not, and the file scans again.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "scan/lines/line_repair.h"
#include "support/icartt_builder.h"
#include "support/test_files.h"

namespace tarvik::test {
namespace {

using namespace std::string_literals;

const std::string kName = "TEST-DATA_DC8_20190521_R0.ict";
const std::string kDone = "Done. Tarvik Fixed the CR-LF symbols.";

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

size_t openDescriptors() { return namesIn("/proc/self/fd").size(); }

bool endsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// ---------------------------------------------------------------------------------------------
// The seam: counts every call of each kind, and fails (or kills the process at) a chosen one.

enum Op { kOpen, kRead, kWrite, kSync, kClose, kRename, kRemove, kOpCount };
const char* const kOpNames[kOpCount] = {"open", "read", "write", "sync", "close", "rename", "remove"};

struct Injector {
  std::array<long, kOpCount> calls{};
  long total = 0;
  int failOp = -1;      // the kind of call to fail
  long failAt = 0;      // its number among the calls of that kind (1-based)
  int failErrno = 0;
  long killAt = 0;      // kill the process at this call of any kind (1-based), before it acts
  bool failed = false;  // the chosen call was made and failed
  bool failedWriteFdClose = false;  // the failed call was the close of a file written to
  bool backupRemoveSkipped = false;
  bool skipBackupRemove = false;  // remove of the ".crlf" backup reports success and does nothing
  bool shortWrites = false;       // every write writes at most half of what it is given
  std::set<int> writtenFds;  // descriptors written to since they were opened
};
Injector inj;

bool hit(Op op) {
  ++inj.calls[op];
  ++inj.total;
  if (inj.killAt != 0 && inj.total == inj.killAt) ::kill(::getpid(), SIGKILL);
  if (op == inj.failOp && inj.calls[op] == inj.failAt) {
    inj.failed = true;
    errno = inj.failErrno;
    return true;
  }
  return false;
}

int fOpen(const char* path, int flags, unsigned mode) {
  if (hit(kOpen)) return -1;
  int fd = realRepairFileOps().open(path, flags, mode);
  if (fd >= 0) inj.writtenFds.erase(fd);
  return fd;
}
long fRead(int fd, void* data, unsigned long size) {
  if (hit(kRead)) return -1;
  return realRepairFileOps().read(fd, data, size);
}
long fWrite(int fd, const void* data, unsigned long size) {
  if (hit(kWrite)) return -1;
  inj.writtenFds.insert(fd);
  if (inj.shortWrites && size > 1) size /= 2;
  return realRepairFileOps().write(fd, data, size);
}
int fSync(int fd) {
  if (hit(kSync)) return -1;
  return realRepairFileOps().sync(fd);
}
int fClose(int fd) {
  // A failing close still releases the descriptor, as close(2) does.
  bool fail = hit(kClose);
  int saved = errno;
  bool forWriting = inj.writtenFds.erase(fd) > 0;
  int rc = realRepairFileOps().close(fd);
  if (fail) {
    inj.failedWriteFdClose = forWriting;
    errno = saved;
    return -1;
  }
  return rc;
}
int fRename(const char* from, const char* to) {
  if (hit(kRename)) return -1;
  return realRepairFileOps().rename(from, to);
}
int fRemove(const char* path) {
  if (hit(kRemove)) return -1;
  if (inj.skipBackupRemove && endsWith(path, ".crlf")) {
    inj.backupRemoveSkipped = true;  // the process "dies" here: the backup stays
    return 0;
  }
  return realRepairFileOps().remove(path);
}
const RepairFileOps kSeam{fOpen, fRead, fWrite, fSync, fClose, fRename, fRemove};

// ---------------------------------------------------------------------------------------------
// The files under test.

struct Subject {
  const char* why;
  std::string bytes;     // as submitted
  char symbol;           // the repair the line-ending pass asks for
  std::string repaired;  // empty: the repair must refuse (a too-long piece)
};

// A valid FFI 1001 file of at least the given size.
IcarttBuilder ffi1001OfSize(size_t bytes) {
  IcarttBuilder b = IcarttBuilder::ffi1001();
  b.data.clear();
  size_t size = b.text("\r").size();
  for (int i = 0; size < bytes; ++i) {
    const int t = 36000 + 10 * i;
    b.data.push_back(std::to_string(t) + ", " + std::to_string(t + 10) + ", " + std::to_string(t + 5) +
                     ", 10.25, 11.5");
    size += b.data.back().size() + 1;
  }
  return b;
}
// A few hundred KiB: several copy chunks and output buffers.
IcarttBuilder bigFfi1001() { return ffi1001OfSize(300000); }

std::vector<Subject> subjects() {
  std::vector<Subject> s;
  {
    // Lines ended by lone CRs only: the line-feed repair.
    IcarttBuilder b = bigFfi1001();
    s.push_back({"CR-only FFI 1001 file, line-feed repair", b.text("\r"), '\n', b.text("\r\n") + "\r\n"});
  }
  {
    // Header ended by CR LF, data lines by lone CRs: the carriage-return repair.
    IcarttBuilder b = IcarttBuilder::ffi2110();
    b.data.clear();
    std::string header = b.text("\r\n");
    std::string bytes = header, repaired = header;
    for (int i = 0; i < 6000; ++i) {
      for (const std::string& l : {std::to_string(1000 + i) + ", " + std::to_string(1001 + i) + ", " +
                                       std::to_string(1000 + i) + ".5, 2",
                                   "500, 40.1, 280.5"s, "1000, 41.2, 277.1"s}) {
        bytes += l + "\r";
        repaired += l + "\r\n";
      }
    }
    repaired += "\r\n";
    s.push_back({"CR LF header with CR-only data, carriage-return repair", bytes, '\r', repaired});
  }
  {
    std::string bytes = "46, 2110\r";
    for (int i = 0; i < 20000; ++i) bytes += "1000, 41.2, 277.1\r";
    bytes += std::string(5000, 'x') + "\rlast\r";
    s.push_back({"a piece longer than 4093 characters, refused", bytes, '\r', ""});
  }
  return s;
}

struct Outcome {
  int32_t rc = 0;
  std::string message;
};

Outcome runRepair(const std::string& path, char symbol) {
  Outcome o;
  o.message = "the symbol's name";
  o.rc = repairLineEndings(path, o.message, symbol, kSeam);
  return o;
}

bool knownMessage(const std::string& m) {
  for (const char* p : {"Error_0::fxcr -- create backup file failed. File = ", "Error_1A::fxcr -- openning InFile failed. \n",
                        "Error_1B::fxcr -- openning OutFile failed. \n", "Error_1C::fxcr -- writing OutFile failed (",
                        "Error_2::fxcr -- Text line(s) in Input file exceeded 4093 char's in length. Removing backup file failed.\n"})
    if (m.rfind(p, 0) == 0) return true;
  return m.find("\n\nError_3::fxcr -- ") != std::string::npos;
}

// What a repair may leave, whatever failed: the path holds the submitted bytes (-1) or the whole
// repaired text (0); a ".crlf" beside it holds the submitted bytes; a temporary file is left only
// when its removal was the call that failed.
void checkAfter(const Subject& s, const TempDir& dir, const Outcome& o) {
  const std::string path = dir.file(kName);
  ASSERT_TRUE(o.rc == 0 || o.rc == -1) << o.rc;
  if (o.rc == 0) {
    ASSERT_FALSE(s.repaired.empty()) << "a refused file was reported as repaired";
    EXPECT_EQ(o.message, "");
    EXPECT_TRUE(readFile(path) == s.repaired) << "reported repaired, but the path does not hold the whole repair";
  } else {
    EXPECT_TRUE(readFile(path) == s.bytes) << "failed, but the path does not hold the submitted bytes";
    if (o.message.empty()) {
      EXPECT_TRUE(s.repaired.empty()) << "a failure without a reason";
    } else {
      EXPECT_TRUE(knownMessage(o.message)) << o.message;
    }
  }
  // A failure of a call that decides the outcome is never reported as success.
  if (inj.failed && o.rc == 0) {
    const bool harmless = inj.failOp == kRemove || (inj.failOp == kClose && !inj.failedWriteFdClose);
    EXPECT_TRUE(harmless) << kOpNames[inj.failOp] << " #" << inj.failAt << " failed, yet 0 was returned";
  }
  if (inj.failed && (inj.failOp == kWrite || inj.failOp == kSync || inj.failOp == kRename ||
                     (inj.failOp == kClose && inj.failedWriteFdClose))) {
    EXPECT_EQ(o.rc, -1);
  }
  for (const std::string& n : namesIn(dir.path())) {
    if (n == kName) continue;
    if (n == kName + ".crlf") {
      EXPECT_TRUE(readFile(dir.file(n)) == s.bytes) << "the backup does not hold the submitted bytes";
    } else {
      EXPECT_TRUE(endsWith(n, ".tmp") && inj.failed && inj.failOp == kRemove) << "left behind: " << n;
    }
  }
  if (!inj.failed || inj.failOp != kRemove) {
    // Without a failed removal, a success leaves nothing beside the file.
    if (o.rc == 0) {
      EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{kName});
    }
  }
}

TEST(FaultInjection, EveryFileOperationFailingInTurnLosesNothing) {
  struct Kind {
    Op op;
    int err;
  };
  const std::vector<Kind> kinds = {{kOpen, ENOSPC}, {kOpen, EACCES}, {kRead, EIO},    {kWrite, ENOSPC},
                                   {kWrite, EIO},   {kSync, EIO},    {kSync, ENOSPC}, {kClose, EIO},
                                   {kClose, ENOSPC}, {kRename, EXDEV}, {kRename, EIO}, {kRemove, EIO},
                                   {kRemove, EACCES}};
  for (const Subject& s : subjects()) {
    SCOPED_TRACE(s.why);
    // The calls of an unfailed run.
    std::array<long, kOpCount> unfailed{};
    {
      TempDir dir;
      writeFile(dir.file(kName), s.bytes);
      inj = Injector{};
      Outcome o = runRepair(dir.file(kName), s.symbol);
      checkAfter(s, dir, o);
      EXPECT_EQ(o.rc, s.repaired.empty() ? -1 : 0) << o.message;
      unfailed = inj.calls;
      // Every kind of call the repair makes is exercised below.
      EXPECT_GT(unfailed[kOpen], 0);
      EXPECT_GT(unfailed[kWrite], 0);
      EXPECT_GT(unfailed[kClose], 0);
      EXPECT_GT(unfailed[kRemove], 0);
    }
    for (const Kind& kind : kinds) {
      for (long k = 1;; ++k) {
        SCOPED_TRACE(std::string(kOpNames[kind.op]) + " #" + std::to_string(k) + " fails with " +
                     std::strerror(kind.err));
        TempDir dir;
        writeFile(dir.file(kName), s.bytes);
        const size_t fdsBefore = openDescriptors();
        inj = Injector{};
        inj.failOp = kind.op;
        inj.failAt = k;
        inj.failErrno = kind.err;
        Outcome o = runRepair(dir.file(kName), s.symbol);
        EXPECT_EQ(openDescriptors(), fdsBefore) << "a descriptor was leaked";
        checkAfter(s, dir, o);
        if (!inj.failed) {
          // The run made no k-th call of this kind: it is the unfailed run again.
          EXPECT_EQ(k, unfailed[kind.op] + 1);
          EXPECT_EQ(o.rc, s.repaired.empty() ? -1 : 0);
          break;
        }
        ASSERT_LE(k, unfailed[kind.op]);
      }
    }
  }
  inj = Injector{};
}

TEST(FaultInjection, ShortWritesStillGiveTheWholeRepair) {
  for (const Subject& s : subjects()) {
    SCOPED_TRACE(s.why);
    TempDir dir;
    writeFile(dir.file(kName), s.bytes);
    inj = Injector{};
    inj.shortWrites = true;
    Outcome o = runRepair(dir.file(kName), s.symbol);
    checkAfter(s, dir, o);
    EXPECT_EQ(o.rc, s.repaired.empty() ? -1 : 0) << o.message;
  }
  inj = Injector{};
}

// Runs the repair in a child process that is killed with SIGKILL at its n-th file operation.
// Returns false when the child was not killed (the repair made fewer calls).
bool repairKilledAt(const std::string& path, char symbol, long n) {
  std::fflush(nullptr);
  pid_t pid = ::fork();
  if (pid == 0) {
    inj = Injector{};
    inj.killAt = n;
    std::string message;
    int32_t rc = repairLineEndings(path, message, symbol, kSeam);
    ::_exit(rc == 0 ? 0 : 1);
  }
  int status = 0;
  EXPECT_EQ(::waitpid(pid, &status, 0), pid);
  return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

TEST(FaultInjection, KilledAtAnyFileOperationThenScannedAgain) {
  // Killed before each call in turn, the run stops with the file as submitted or wholly repaired,
  // and the next scan repairs it (again) and passes its line pass.
  IcarttBuilder b = bigFfi1001();
  const std::string bytes = b.text("\r"), repaired = b.text("\r\n") + "\r\n";
  long n = 1;
  for (;; ++n) {
    SCOPED_TRACE("killed at file operation #" + std::to_string(n));
    TempDir dir;
    const std::string path = dir.file(kName);
    writeFile(path, bytes);
    if (!repairKilledAt(path, '\n', n)) {
      EXPECT_TRUE(readFile(path) == repaired);
      break;
    }
    const std::string after = readFile(path);
    ASSERT_TRUE(after == bytes || after == repaired) << "the path holds a partial file";
    // A backup cut short by the kill is possible only while the path still holds the submitted
    // bytes; next to the repaired file the backup is whole.
    if (after == repaired && fileExists(path + ".crlf")) {
      EXPECT_TRUE(readFile(path + ".crlf") == bytes);
    }
    ScanResult r = scanPath(path);
    EXPECT_EQ(r.status, 0) << r.report;
    EXPECT_EQ(countOf(r.report, kDone), after == bytes ? 1u : 0u);
    EXPECT_TRUE(readFile(path) == repaired);
    for (const std::string& name : namesIn(dir.path())) {
      // A repair at the re-scan replaces the stale backup and removes it; a stale backup next to an
      // already repaired file stays, holding the submitted bytes; a temporary file of the killed run
      // stays and is never read.
      if (name == kName || name == kName + "__diagnostic.htm") continue;
      if (name == kName + ".crlf") {
        EXPECT_EQ(after, repaired);
        EXPECT_TRUE(readFile(dir.file(name)) == bytes);
      } else {
        EXPECT_TRUE(endsWith(name, ".tmp")) << name;
      }
    }
  }
  EXPECT_GT(n, 5);
}

TEST(FaultInjection, DiesBetweenTheRenameAndTheBackupsRemovalThenScannedAgain) {
  IcarttBuilder b = bigFfi1001();
  const std::string bytes = b.text("\r"), repaired = b.text("\r\n") + "\r\n";
  TempDir dir;
  const std::string path = dir.file(kName);
  writeFile(path, bytes);
  // The remove of the backup does nothing: the process "died" after the rename.
  inj = Injector{};
  inj.skipBackupRemove = true;
  Outcome o = runRepair(path, '\n');
  EXPECT_TRUE(inj.backupRemoveSkipped);
  inj = Injector{};
  EXPECT_EQ(o.rc, 0);
  EXPECT_TRUE(readFile(path) == repaired);
  EXPECT_TRUE(readFile(path + ".crlf") == bytes);

  // The next scan reads the repaired file: no repair, the line pass and the whole scan pass, and
  // the stale backup is left as it is (it is never read), holding the submitted bytes.
  ScanResult r = scanPath(path);
  EXPECT_EQ(r.status, 0) << r.report;
  EXPECT_EQ(countOf(r.report, "Tarvik will attempt to fix"), 0u);
  EXPECT_EQ(countOf(r.report, kDone), 0u);
  EXPECT_TRUE(readFile(path) == repaired);
  EXPECT_TRUE(readFile(path + ".crlf") == bytes);

  // When the file at the path needs a repair again, that repair replaces the stale backup with a
  // copy of what is at the path now, and removes it when done.
  const std::string second = b.text("\r");
  writeFile(path, second);
  ScanResult again = scanPath(path);
  EXPECT_EQ(again.status, 0) << again.report;
  EXPECT_EQ(countOf(again.report, kDone), 1u);
  EXPECT_TRUE(readFile(path) == repaired);
  EXPECT_FALSE(fileExists(path + ".crlf"));
}

// ---------------------------------------------------------------------------------------------
// A real full disk: a 64 KiB tmpfs in a private mount namespace.

int shell(const std::string& cmd) {
  int st = std::system(cmd.c_str());
  return WIFEXITED(st) ? WEXITSTATUS(st) : 128;
}

std::string quoted(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += (c == '\'') ? "'\\''"s : std::string(1, c);
  return q + "'";
}

TEST(FaultInjection, FullDiskOnATmpfsLeavesTheSubmittedBytes) {
  if (shell("unshare -m true >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "unshare -m is refused here (no right to make a mount namespace); the full-disk run is skipped";
  struct Case {
    const char* why;
    size_t size;
    const char* reason;  // the repair's message in a finished report
  };
  // 16 pages of 4 KiB. Nine pages: the backup cannot be written. Six pages: the backup fits, the
  // repaired copy (a CR LF for every CR) does not.
  const std::vector<Case> cases = {{"the backup cannot be written", 33500, "Error_0::fxcr"},
                                   {"the repaired copy cannot be written", 21500, "Error_1C::fxcr"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    const std::string bytes = ffi1001OfSize(c.size).text("\r");
    ASSERT_LT(bytes.size(), c.size + 100);
    TempDir dir;
    const std::string mnt = dir.file("mnt"), out = dir.file("out");
    ASSERT_EQ(::mkdir(mnt.c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(out.c_str(), 0755), 0);
    writeFile(dir.file("submitted.ict"), bytes);
    const std::string f = mnt + "/" + kName;
    const std::string script =
        "mount -t tmpfs -o size=64k tmpfs " + quoted(mnt) + " || exit 97; " +
        "cp " + quoted(dir.file("submitted.ict")) + " " + quoted(f) + " || exit 98; " +
        quoted(TARVIK_SCAN_BINARY) + " " + quoted(f) + " > " + quoted(out + "/stdout") + " 2>&1; " +
        "echo $? > " + quoted(out + "/rc") + "; " +
        "cp " + quoted(f) + " " + quoted(out + "/after.ict") + "; " +
        "{ cp " + quoted(f + "__diagnostic.htm") + " " + quoted(out + "/report.htm") + " 2>/dev/null || true; }; " +
        "ls -A " + quoted(mnt) + " > " + quoted(out + "/names")+ "; " +
        "df -k " + quoted(mnt) + " > " + quoted(out + "/df")+ "; exit 0";
    int rc = shell("unshare -m sh -c " + quoted(script) + " 2>" + quoted(out + "/stderr"));
    if (rc == 97) GTEST_SKIP() << "mounting a tmpfs is refused here; the full-disk run is skipped: " << readFile(out + "/stderr");
    ASSERT_EQ(rc, 0) << readFile(out + "/stderr");
    // The tmpfs was private to the child: nothing is mounted here.
    EXPECT_TRUE(namesIn(mnt).empty());
    const std::string stdoutText = readFile(out + "/stdout");
    EXPECT_TRUE(readFile(out + "/after.ict") == bytes) << "the submitted bytes changed; scanner said: " << stdoutText;
    EXPECT_EQ(stdoutText.find(kDone), std::string::npos) << stdoutText;
    EXPECT_EQ(stdoutText.rfind("PASS", 0), std::string::npos) << stdoutText;
    EXPECT_NE(readFile(out + "/rc"), "0\n") << stdoutText;
    if (fileExists(out + "/report.htm")) {
      const std::string report = readFile(out + "/report.htm");
      EXPECT_EQ(report.find(kDone), std::string::npos);
      // A finished report names the failed repair; a report the full disk cut short is announced
      // on stdout as an error instead.
      if (stdoutText.rfind("FAIL", 0) == 0) {
        EXPECT_NE(stdoutText.find("code 21"), std::string::npos) << stdoutText;
        EXPECT_NE(report.find("Tarvik could not fix the CR-LF"), std::string::npos);
        EXPECT_NE(report.find(c.reason), std::string::npos) << c.reason;
      }
    } else {
      EXPECT_EQ(stdoutText.rfind("ERROR", 0), 0u) << stdoutText;
    }
    // Only the file and its report may be left on the full disk; no partial backup or copy.
    const std::string names = readFile(out + "/names");
    EXPECT_EQ(names.find(".crlf"), std::string::npos) << names;
    EXPECT_EQ(names.find(".tmp"), std::string::npos) << names;
  }
}

}  // namespace
}  // namespace tarvik::test
