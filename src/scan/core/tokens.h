// The small tests shared by the header and data checks: real tolerance, number tokens and
// texts, case-insensitive comparisons, the item-count check, and locale-independent number reading.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarvik {

struct ScanContext;
class Report;

// Whether a token passed a test, and the position the test ended at.
struct TokenCheck {
  bool ok;
  size_t position;
};

// |a - b| < 0.000001.
constexpr bool nearlyEqual(double a, double b) noexcept {
  double d = a - b;
  return (d < 0 ? -d : d) < 0.000001;
}

TokenCheck isNumberToken(std::string_view token) noexcept;
TokenCheck checkNumberChars(std::string_view token) noexcept;
bool isRealText(std::string_view text) noexcept;
bool isIntegerText(std::string_view text) noexcept;
bool sameShortName(std::string_view definition, std::string_view item, char stop) noexcept;
// The two comparisons write a warning into the report for texts that are too long to compare.
bool sameTextNoCase(Report* report, std::string_view a, std::string_view b);
bool samePrefixNoCase(Report* report, std::string_view a, std::string_view b, size_t limit);

// Demands comma delimiters and the expected number of items; commas become spaces in text.
int32_t checkItemCount(ScanContext& ctx, std::string& text, int64_t expected, int64_t lineNumber);

// The longest leading decimal number of text, as strtod reads it in the C locale (leading white
// space and a sign allowed), but never inf, nan or hexadecimal. 0 when there is none.
double leadingReal(std::string_view text, size_t* consumed = nullptr) noexcept;
// The leading integer of text, as glibc's atoi reads it.
int32_t leadingInt(std::string_view text) noexcept;
// Reads one integer as scanf's %d does, from pos; false (pos unchanged) when none can be read.
bool scanInt(std::string_view text, size_t& pos, int32_t& out) noexcept;

// Splits a text into tokens as strtok does: runs of delimiters separate tokens, empty tokens are
// skipped, and the delimiter that ends a token is consumed with it. A NUL byte is no delimiter.
class Tokenizer {
 public:
  Tokenizer(std::string_view text, const char* delims) : text_(text), delims_(delims) {}
  // The next token, with the delimiter set given (strtok may change it between calls).
  bool next(std::string_view& token, const char* delims = nullptr) noexcept {
    const char* d = delims ? delims : delims_;
    while (pos_ < text_.size() && isDelim(text_[pos_], d)) ++pos_;
    if (pos_ >= text_.size()) return false;
    size_t start = pos_;
    while (pos_ < text_.size() && !isDelim(text_[pos_], d)) ++pos_;
    token = text_.substr(start, pos_ - start);
    end_ = pos_;
    if (pos_ < text_.size()) {
      ++pos_;  // the delimiter is consumed
      endedByDelimiter_ = true;
    } else {
      endedByDelimiter_ = false;
    }
    return true;
  }
  // Position just after the last token (before its delimiter), and what follows its delimiter.
  size_t tokenEnd() const noexcept { return end_; }
  bool endedByDelimiter() const noexcept { return endedByDelimiter_; }
  std::string_view rest() const noexcept { return text_.substr(pos_ < text_.size() ? pos_ : text_.size()); }
  size_t position() const noexcept { return pos_; }

 private:
  static bool isDelim(char c, const char* d) noexcept {
    for (; *d; ++d)
      if (*d == c) return true;
    return false;
  }
  std::string_view text_;
  const char* delims_;
  size_t pos_ = 0;
  size_t end_ = 0;
  bool endedByDelimiter_ = false;
};

inline char upperAscii(char c) noexcept { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
inline char lowerAscii(char c) noexcept { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
inline bool isDigit(char c) noexcept { return c >= '0' && c <= '9'; }
inline bool isAsciiLetter(char c) noexcept { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
// White space as isspace() of the C locale sees it.
inline bool isCSpace(char c) noexcept { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace tarvik
