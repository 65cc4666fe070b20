// The HTML report of a scan: an in-memory buffer flushed to the report file in large writes.
// Messages are written with printf-style literals through the C-locale formatter of
// text/c_format.h (its FmtArg and Raw are the arguments). Text taken from the scanned file or
// from a path is passed as std::string / std::string_view and is HTML-escaped on its way in, as
// is the character of every %c; literal C strings (const char*) and Raw are written as they stand.
#pragma once

#include <locale.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "scan/core/outcome.h"
#include "text/c_format.h"

namespace tarvik {

// HTML-escapes & < > " and shows a NUL byte as the replacement character.
void appendEscaped(std::string& out, std::string_view text);
std::string htmlEscape(std::string_view text);

// The formatted text as the report writes it: Text arguments of %s and every %c HTML-escaped.
template <class... A>
std::string format(const char* fmt, const A&... args) {
  std::string out;
  out.reserve(std::char_traits<char>::length(fmt) + 8 * sizeof...(A));
  if constexpr (sizeof...(A) == 0) {
    appendFormat(out, fmt, nullptr, 0, appendEscaped);
  } else {
    const FmtArg list[] = {FmtArg(args)...};
    appendFormat(out, fmt, list, sizeof...(A), appendEscaped);
  }
  return out;
}

// The C locale, for reading numbers whatever the process's locale is.
locale_t cLocale();

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
      appendFormat(buf_, fmt, nullptr, 0, appendEscaped);
    } else {
      const FmtArg list[] = {FmtArg(args)...};
      appendFormat(buf_, fmt, list, sizeof...(A), appendEscaped);
    }
    maybeFlush();
  }

  // An error or warning block: everything written until endBlock is its message, which is also
  // recorded as a finding of the current phase.
  void beginError() { beginBlock(Severity::Error, "<font color='#FF0000'>"); }
  void beginWarning() { beginBlock(Severity::Warning, "<font color='#FF9933'>"); }
  void endBlock();

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

  // A "Too many" notice written inside the open block: a finding of its own (of the block's
  // severity, naming no line), which the block's message leaves out.
  void notice(std::string_view text);

  // The findings recorded so far, in the order their blocks began; the phase they are given.
  void setPhase(Phase phase) { phase_ = phase; }
  const std::vector<Finding>& findings() const { return findings_; }
  std::vector<Finding> takeFindings() { return std::move(findings_); }

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
  void beginBlock(Severity severity, std::string_view openingTag);
  void finishFinding();
  // Moves the open block's text written so far out of the buffer, into blockText_.
  void keepBlockText();

  static constexpr size_t kFlushSize = 1 << 20;
  std::FILE* file_ = nullptr;
  std::string buf_;
  bool failed_ = false;
  // The finding of the open block (its index in findings_, or none) and its text so far: what was
  // flushed or set aside, and what stands in buf_ from blockStart_ on.
  static constexpr size_t kNoBlock = static_cast<size_t>(-1);
  size_t openFinding_ = kNoBlock;
  std::string blockText_;
  size_t blockStart_ = 0;
  Phase phase_ = Phase::FileName;
  std::vector<Finding> findings_;
};

void beginReport(Report& r);
void endReport(Report& r);

}  // namespace tarvik
