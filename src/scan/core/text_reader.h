// Text-mode input over large buffered reads.
//
// Scan mode: every carriage return is dropped and a Ctrl-Z byte (0x1A) ends the input.
// Repair mode: a CR LF pair arrives as one line feed, a lone CR arrives as itself, and every other
// byte (Ctrl-Z included) arrives as it is.
// readLine returns at most maxChars characters and stops after a line feed, which it keeps; the
// end-of-file indicator is set, as the C library sets it, only by a read that met the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tarvik {

class TextReader {
 public:
  enum class Mode { Scan, Repair };
  static constexpr int kEnd = -1;

  TextReader() = default;
  ~TextReader() { close(); }
  TextReader(const TextReader&) = delete;
  TextReader& operator=(const TextReader&) = delete;

  bool open(const std::string& path, Mode mode);
  // Takes over an open descriptor (closed by close()).
  bool adopt(int fd, Mode mode);
  void close();
  bool isOpen() const { return fd_ >= 0; }
  // Back to the start of the file; clears the end-of-file and Ctrl-Z state.
  bool rewind();

  // Reads the next line into out (replacing its contents); returns the number of characters read,
  // 0 when the read met the end of the input before any character.
  size_t readLine(std::string& out, size_t maxChars);
  // The next character, or kEnd.
  int get();

  bool eof() const { return eof_; }
  bool readError() const { return readError_; }
  // Scan mode: whether a Ctrl-Z ended the input, and its offset in the file.
  bool ctrlZSeen() const { return ctrlZSeen_; }
  int64_t ctrlZOffset() const { return ctrlZOffset_; }
  // Bytes of the file consumed so far.
  int64_t bytesConsumed() const { return base_ + static_cast<int64_t>(pos_); }

 private:
  bool refill();

  static constexpr size_t kBufferSize = 1 << 18;
  int fd_ = -1;
  Mode mode_ = Mode::Scan;
  char* buf_ = nullptr;
  size_t cap_ = kBufferSize;  // bytes of buf_
  size_t pos_ = 0, len_ = 0;
  int64_t base_ = 0;  // file offset of buf_[0]
  bool eof_ = false;
  bool atEnd_ = false;  // no more input (end of file, Ctrl-Z or error)
  bool readError_ = false;
  bool ctrlZSeen_ = false;
  int64_t ctrlZOffset_ = -1;
};

}  // namespace tarvik
