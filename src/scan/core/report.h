// The HTML report of a scan: an in-memory buffer flushed to the report file in large writes.
// Messages are written with printf-style literals through one checked formatter. Text taken
// from the scanned file or from a path is passed as std::string / std::string_view and is
// HTML-escaped on its way in; literal C strings (const char*) are written as they stand.
#pragma once

#include <locale.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <type_traits>

namespace tarvik {

// Text the program composed itself (markup included), written without escaping.
struct Raw {
  std::string_view s;
};

// One argument of the formatter, type-erased.
struct FmtArg {
  enum Kind { Int, Real, Text, Literal, Char } kind;
  int64_t i = 0;
  double d = 0;
  std::string_view s;

  template <class T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, char> &&
                                          !std::is_same_v<T, bool>,
                                      int> = 0>
  FmtArg(T v) : kind(Int), i(static_cast<int64_t>(v)) {}
  FmtArg(bool v) : kind(Int), i(v ? 1 : 0) {}
  FmtArg(char c) : kind(Char), i(static_cast<unsigned char>(c)) {}
  FmtArg(double v) : kind(Real), d(v) {}
  FmtArg(float v) : kind(Real), d(v) {}
  FmtArg(const std::string& v) : kind(Text), s(v) {}
  FmtArg(std::string_view v) : kind(Text), s(v) {}
  FmtArg(const char* v) : kind(Literal), s(v ? v : "") {}
  FmtArg(Raw v) : kind(Literal), s(v.s) {}
};

// Appends printf-formatted text to out. %s of a Text argument is HTML-escaped; any other
// conversion is formatted as printf does in the C locale, whatever the process's locale.
void formatInto(std::string& out, const char* fmt, const FmtArg* args, size_t count);

template <class... A>
std::string format(const char* fmt, const A&... args) {
  std::string out;
  if constexpr (sizeof...(A) == 0) {
    formatInto(out, fmt, nullptr, 0);
  } else {
    const FmtArg list[] = {FmtArg(args)...};
    formatInto(out, fmt, list, sizeof...(A));
  }
  return out;
}

// The C locale, for reading and writing numbers whatever the process's locale is.
locale_t cLocale();

// HTML-escapes & < > " and shows a NUL byte as the replacement character.
void appendEscaped(std::string& out, std::string_view text);
std::string htmlEscape(std::string_view text);

enum class Echo { A, B, C, D, E, F };

class Report {
 public:
  Report() = default;
  ~Report();
  Report(const Report&) = delete;
  Report& operator=(const Report&) = delete;

  // Creates (or empties) the report file. Without a file the report stays in memory (tests).
  bool create(const std::string& path);
  // Flushes and closes the file; false when anything could not be written completely.
  bool close();
  bool isOpen() const { return file_ != nullptr; }
  bool failed() const { return failed_; }

  void write(std::string_view raw);
  void text(std::string_view fileText) { appendEscaped(buf_, fileText); maybeFlush(); }

  template <class... A>
  void printf(const char* fmt, const A&... args) {
    if constexpr (sizeof...(A) == 0) {
      formatInto(buf_, fmt, nullptr, 0);
    } else {
      const FmtArg list[] = {FmtArg(args)...};
      formatInto(buf_, fmt, list, sizeof...(A));
    }
    maybeFlush();
  }

  void beginError() { write("<font color='#FF0000'>"); }
  void beginWarning() { write("<font color='#FF9933'>"); }
  void endBlock() { write("</font>"); }

  // A block holding one formatted message.
  template <class... A>
  void error(const char* fmt, const A&... args) {
    beginError();
    printf(fmt, args...);
    endBlock();
  }
  template <class... A>
  void warning(const char* fmt, const A&... args) {
    beginWarning();
    printf(fmt, args...);
    endBlock();
  }

  // The echo of one line of the scanned file, after the block that reports it.
  void echo(Echo form, int64_t lineNumber, std::string_view lineText);
  // The mail link to the project office with the given subject.
  void contactLink(const char* subject);

  // Everything written so far that has not been flushed to the file (all of it without a file).
  const std::string& pending() const { return buf_; }
  // The whole text of an in-memory report.
  const std::string& contents() const { return buf_; }

 private:
  void maybeFlush() {
    if (file_ && buf_.size() >= kFlushSize) flush();
  }
  void flush();

  static constexpr size_t kFlushSize = 1 << 20;
  std::FILE* file_ = nullptr;
  std::string buf_;
  bool failed_ = false;
};

void beginReport(Report& r);
void endReport(Report& r);

}  // namespace tarvik
