#include "scan/core/text_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace tarvik {

bool TextReader::open(const std::string& path, Mode mode) {
  close();
  int fd;
  do {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return false;
  return adopt(fd, mode);
}

bool TextReader::adopt(int fd, Mode mode) {
  close();
  if (fd < 0) return false;
  if (!buf_) {
    // A small file gets a buffer of its own size (rounded up to pages): scans of many small files
    // then do not map and unmap a large buffer for each one. A file that grows meanwhile is still
    // read whole, in more reads.
    cap_ = kBufferSize;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= 0 &&
        static_cast<uint64_t>(st.st_size) < kBufferSize - 4096) {
      cap_ = (static_cast<size_t>(st.st_size) / 4096 + 1) * 4096;
    }
    buf_ = static_cast<char*>(std::malloc(cap_));
    if (!buf_) {
      ::close(fd);
      return false;
    }
  }
  fd_ = fd;
  mode_ = mode;
  pos_ = len_ = 0;
  base_ = 0;
  eof_ = atEnd_ = readError_ = ctrlZSeen_ = false;
  ctrlZOffset_ = -1;
  return true;
}

void TextReader::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  std::free(buf_);
  buf_ = nullptr;
  pos_ = len_ = 0;
}

bool TextReader::rewind() {
  if (fd_ < 0) return false;
  if (::lseek(fd_, 0, SEEK_SET) != 0) return false;
  pos_ = len_ = 0;
  base_ = 0;
  eof_ = atEnd_ = readError_ = ctrlZSeen_ = false;
  ctrlZOffset_ = -1;
  return true;
}

bool TextReader::refill() {
  if (atEnd_ || fd_ < 0) return false;
  base_ += static_cast<int64_t>(len_);
  pos_ = len_ = 0;
  ssize_t n;
  do {
    n = ::read(fd_, buf_, cap_);
  } while (n < 0 && errno == EINTR);
  if (n <= 0) {
    if (n < 0) readError_ = true;
    atEnd_ = true;
    return false;
  }
  len_ = static_cast<size_t>(n);
  return true;
}

size_t TextReader::readLine(std::string& out, size_t maxChars) {
  out.clear();
  if (maxChars == 0) return 0;
  if (mode_ == Mode::Repair) {
    while (out.size() < maxChars) {
      int c = get();
      if (c == kEnd) break;
      out.push_back(static_cast<char>(c));
      if (c == '\n') break;
    }
    return out.size();
  }
  for (;;) {
    if (pos_ >= len_ && !refill()) {
      eof_ = true;
      return out.size();
    }
    const size_t start = pos_;
    const size_t room = maxChars - out.size();
    const size_t stop = (len_ - start < room) ? len_ : start + room;
    // The line end, then any carriage return or Ctrl-Z before it.
    const char* lf = static_cast<const char*>(std::memchr(buf_ + start, '\n', stop - start));
    size_t i = lf ? static_cast<size_t>(lf - buf_) : stop;
    if (const void* cr = std::memchr(buf_ + start, '\r', i - start))
      i = static_cast<size_t>(static_cast<const char*>(cr) - buf_);
    if (const void* z = std::memchr(buf_ + start, 0x1A, i - start))
      i = static_cast<size_t>(static_cast<const char*>(z) - buf_);
    out.append(buf_ + start, i - start);
    pos_ = i;
    if (out.size() >= maxChars) return out.size();
    if (i == len_) continue;
    unsigned char c = static_cast<unsigned char>(buf_[i]);
    if (c == '\n') {
      out.push_back('\n');
      ++pos_;
      return out.size();
    }
    if (c == '\r') {
      ++pos_;
      continue;
    }
    // Ctrl-Z: the end of the input.
    ctrlZSeen_ = true;
    ctrlZOffset_ = base_ + static_cast<int64_t>(i);
    atEnd_ = true;
    eof_ = true;
    pos_ = len_;
    return out.size();
  }
}

int TextReader::get() {
  for (;;) {
    if (pos_ >= len_ && !refill()) {
      eof_ = true;
      return kEnd;
    }
    unsigned char c = static_cast<unsigned char>(buf_[pos_]);
    if (mode_ == Mode::Repair) {
      ++pos_;
      if (c == '\r') {
        if (pos_ >= len_ && !refill()) return '\r';
        if (buf_[pos_] == '\n') {
          ++pos_;
          return '\n';
        }
      }
      return c;
    }
    if (c == '\r') {
      ++pos_;
      continue;
    }
    if (c == 0x1A) {
      ctrlZSeen_ = true;
      ctrlZOffset_ = base_ + static_cast<int64_t>(pos_);
      atEnd_ = true;
      eof_ = true;
      pos_ = len_;
      return kEnd;
    }
    ++pos_;
    return c;
  }
}

}  // namespace tarvik
