#include "scan/lines/line_repair.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "scan/core/report.h"
#include "scan/core/text_reader.h"

namespace tarvik {

namespace {

int realOpen(const char* path, int flags, unsigned mode) {
  int fd;
  do {
    fd = ::open(path, flags | O_CLOEXEC, static_cast<mode_t>(mode));
  } while (fd < 0 && errno == EINTR);
  return fd;
}
long realRead(int fd, void* data, unsigned long size) {
  ssize_t n;
  do {
    n = ::read(fd, data, size);
  } while (n < 0 && errno == EINTR);
  return n;
}
long realWrite(int fd, const void* data, unsigned long size) {
  ssize_t n;
  do {
    n = ::write(fd, data, size);
  } while (n < 0 && errno == EINTR);
  return n;
}
int realSync(int fd) { return ::fsync(fd); }
int realClose(int fd) { return ::close(fd); }
int realRename(const char* from, const char* to) { return std::rename(from, to); }
int realRemove(const char* path) { return ::unlink(path); }

constexpr size_t kPieceBuffer = 4095;       // one read stores at most 4094 characters
constexpr size_t kLongestPiece = 4093;      // a longer piece is refused

// Writes all of data; false on any failure.
bool writeAll(const RepairFileOps& ops, int fd, const char* data, size_t size) {
  while (size > 0) {
    long n = ops.write(fd, data, size);
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// Copies from to to, replacing to. Returns 0 or the errno of the failure; a partial copy is removed.
int copyFile(const RepairFileOps& ops, const std::string& from, const std::string& to) {
  int in = ops.open(from.c_str(), O_RDONLY, 0);
  if (in < 0) return errno ? errno : EIO;
  struct stat st {};
  unsigned mode = (::fstat(in, &st) == 0) ? (st.st_mode & 07777) : 0644;
  int out = ops.open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC, mode | 0200);
  if (out < 0) {
    int e = errno ? errno : EIO;
    ops.close(in);
    return e;
  }
  static thread_local char chunk[1 << 16];
  int err = 0;
  for (;;) {
    long n = ops.read(in, chunk, sizeof chunk);
    if (n < 0) {
      err = errno ? errno : EIO;
      break;
    }
    if (n == 0) break;
    if (!writeAll(ops, out, chunk, static_cast<size_t>(n))) {
      err = errno ? errno : EIO;
      break;
    }
  }
  if (!err && ops.sync(out) != 0) err = errno ? errno : EIO;
  if (ops.close(out) != 0 && !err) err = errno ? errno : EIO;
  ops.close(in);
  if (err) ops.remove(to.c_str());
  return err;
}

// The output of the rewrite, buffered; a line feed is written as CR LF.
class RepairOutput {
 public:
  // The buffer grows with what is written, up to one flush: a small file's repair keeps it small.
  RepairOutput(const RepairFileOps& ops, int fd) : ops_(ops), fd_(fd) { buf_.reserve(8192); }
  void piece(const std::string& text) {
    for (char c : text) {
      if (c == '\n') buf_.push_back('\r');
      buf_.push_back(c);
    }
    buf_.append("\r\n");
    if (buf_.size() >= kSize) flush();
  }
  bool flush() {
    if (ok_ && !buf_.empty()) {
      ok_ = writeAll(ops_, fd_, buf_.data(), buf_.size());
      if (!ok_) err_ = errno ? errno : EIO;
    }
    buf_.clear();
    return ok_;
  }
  bool ok() const { return ok_; }
  int error() const { return err_; }

 private:
  static constexpr size_t kSize = 1 << 18;
  const RepairFileOps& ops_;
  int fd_;
  std::string buf_;
  bool ok_ = true;
  int err_ = 0;
};

}  // namespace

const RepairFileOps& realRepairFileOps() {
  static const RepairFileOps ops{realOpen, realRead, realWrite, realSync, realClose, realRename, realRemove};
  return ops;
}

int32_t repairLineEndings(const std::string& path, std::string& message, char symbol, const RepairFileOps& ops) {
  message.clear();
  const std::string backup = path + ".crlf";

  if (copyFile(ops, path, backup) != 0) {
    message = format("Error_0::fxcr -- create backup file failed. File = %s\n", path.c_str());
    return -1;
  }

  int inFd = ops.open(backup.c_str(), O_RDONLY, 0);
  TextReader in;
  if (inFd < 0 || !in.adopt(inFd, TextReader::Mode::Repair)) {
    if (inFd >= 0) ops.close(inFd);
    message = "Error_1A::fxcr -- openning InFile failed. \n";
    return -1;
  }

  // The path must be writable, and the new text goes to a temporary file beside it.
  struct stat st {};
  const bool haveStat = ::stat(path.c_str(), &st) == 0;
  unsigned mode = haveStat ? (st.st_mode & 07777) : 0644;
  int probe = ops.open(path.c_str(), O_WRONLY, 0);
  int outFd = -1;
  std::string temp;
  if (probe >= 0) {
    ops.close(probe);
    for (int attempt = 0; attempt < 100 && outFd < 0; ++attempt) {
      temp = format("%s.tarvik-%d-%d.tmp", path.c_str(), static_cast<int>(::getpid()), attempt);
      outFd = ops.open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL, mode | 0200);
      if (outFd < 0 && errno != EEXIST) break;
    }
    // The rewritten file replaces the submitted one by rename, so it takes over the submitted
    // file's permission bits (which the creation mode loses to the umask) and, where allowed, its
    // owner, as a rewrite in place would keep them.
    if (outFd >= 0 && haveStat) {
      if (::fchown(outFd, st.st_uid, st.st_gid) != 0) {
        // Not permitted for a file of another owner; the bits below still apply.
      }
      if (::fchmod(outFd, static_cast<mode_t>(mode)) != 0) {
        // The bits of the temporary file then stay; the text is still written.
      }
    }
  }
  if (outFd < 0) {
    message = "Error_1B::fxcr -- openning OutFile failed. \n";
    in.close();
    return -1;
  }

  RepairOutput out(ops, outFd);
  std::string piece;
  piece.reserve(kPieceBuffer);
  bool tooLong = false;
  while (!in.eof()) {
    piece.clear();
    while (piece.size() < kPieceBuffer - 1) {
      int c = in.get();
      if (c == TextReader::kEnd) break;
      if (c == symbol || (symbol == '\n' && c == '\r')) break;
      piece.push_back(static_cast<char>(c));
    }
    if (piece.size() > kLongestPiece) {
      tooLong = true;
      break;
    }
    out.piece(piece);
    if (!out.ok()) break;
  }
  bool readFailed = in.readError();
  in.close();

  if (tooLong) {
    ops.close(outFd);
    if (ops.remove(temp.c_str()) != 0) {
      message = format("Error_2::fxcr -- Text line(s) in Input file exceeded %d char's in length. Removing backup file failed.\n", 4093);
      return -1;
    }
    // The submitted file was never touched; put it back only if it has gone meanwhile.
    if (::access(path.c_str(), F_OK) != 0) {
      int err = copyFile(ops, backup, path);
      if (err != 0) {
        message = format("%s\n\nError_3::fxcr -- Text line(s) in Input file exceeded %d char's in length. Restoring original file failed.\n",
                         std::strerror(err), 4095);
        return -1;
      }
    }
    ops.remove(backup.c_str());
    return -1;
  }

  int err = 0;
  if (!out.flush()) err = out.error();
  if (!err && readFailed) err = EIO;
  if (!err && ops.sync(outFd) != 0) err = errno ? errno : EIO;
  if (ops.close(outFd) != 0 && !err) err = errno ? errno : EIO;
  if (!err && ops.rename(temp.c_str(), path.c_str()) != 0) err = errno ? errno : EIO;
  if (err) {
    ops.remove(temp.c_str());
    ops.remove(backup.c_str());
    message = format("Error_1C::fxcr -- writing OutFile failed (%s); the file was left as submitted.\n", std::strerror(err));
    return -1;
  }
  ops.remove(backup.c_str());
  return 0;
}

bool copyToPrivateFolder(const std::string& path, const std::string& name, std::string& copyPath,
                         std::string& reason) {
  const char* base = std::getenv("TMPDIR");
  std::string folder = std::string(base && *base ? base : "/tmp") + "/tarvik-repair-XXXXXX";
  if (!::mkdtemp(folder.data())) {
    reason = std::string("no private folder could be made: ") + std::strerror(errno);
    return false;
  }
  const std::string target = folder + "/" + name;
  const RepairFileOps& ops = realRepairFileOps();
  int in = ops.open(path.c_str(), O_RDONLY, 0);
  int out = in < 0 ? -1 : ops.open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
  bool ok = in >= 0 && out >= 0;
  if (ok) {
    char buf[1 << 16];
    for (;;) {
      const long n = ops.read(in, buf, sizeof buf);
      if (n == 0) break;
      if (n < 0 || !writeAll(ops, out, buf, static_cast<size_t>(n))) {
        ok = false;
        break;
      }
    }
  }
  const int savedErrno = errno;
  if (out >= 0 && ops.close(out) != 0 && ok) ok = false;
  if (in >= 0) ops.close(in);
  if (!ok) {
    reason = std::string("the file could not be copied: ") + std::strerror(savedErrno ? savedErrno : EIO);
    removePrivateCopy(target);
    return false;
  }
  copyPath = target;
  return true;
}

void removePrivateCopy(const std::string& copyPath) {
  if (copyPath.empty()) return;
  std::error_code ec;
  std::filesystem::remove_all(std::filesystem::path(copyPath).parent_path(), ec);
}

}  // namespace tarvik
