// printf-style formatting in the C locale, whatever the locale of the process: the one formatter of
// the report and of the plot core. Numbers are written with std::to_chars, so a decimal-comma
// locale never reaches them, and no locale is switched while formatting.
//
// Understood: %% and the conversions d i u x X o c s f F e E g G, with the flags '-', '+', ' ',
// '#' and '0', a width and a precision, byte for byte as glibc's printf writes them in the C locale
// (down to its "%#g" of a value that rounding lifts to a power of ten: "1.e+03" for "%#.3g" of
// 999.5). Length modifiers (h l L q j z t) are skipped: each argument carries its own type. '*' is
// not understood.
//
// Rules where an argument does not fit its conversion (no caller relies on them; they are fixed so
// that any format gives the same text everywhere):
//  - d i: a real is truncated toward zero (NaN and reals outside the 64-bit range give INT64_MIN,
//    as the processor's truncation does); a character gives its code (0 to 255); a text gives 0.
//  - u x X o: the low 32 bits of the integer d would take, as printf writes an unsigned int (the
//    callers pass unsigned int; a 64-bit argument is cut to 32 bits too).
//  - f F e E g G: an integer gives its value, a character its code, a text 0.
//  - c: an integer gives its low byte, a character itself, a real or a text the NUL byte.
//  - s: an integer or a real gives "<?>" (cut by the precision, padded to the width), a character
//    gives the empty text.
//  - A conversion without an argument left writes "<?>", unpadded.
//  - An unknown conversion uses up an argument and is written as it stands (or "<?>" when no
//    argument is left); a '%' whose conversion is cut off by the end of the format is written as
//    it stands.
//  - Widths and precisions larger than kMaxFieldSize count as kMaxFieldSize.
//  - The '0' flag pads %s and %c with spaces, as glibc does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace tarvik {

// Text the program composed itself (markup included): written as it stands, never filtered.
struct Raw {
  std::string_view s;
};

// One argument of the formatter, type-erased. Integers of any width and bool are Int (an unsigned
// value above INT64_MAX wraps, as a cast to int64_t does); a std::string or std::string_view is
// Text, which the filter sees; a const char* or Raw is Literal, which it does not.
struct FmtArg {
  enum Kind { Int, Real, Text, Literal, Char } kind;
  int64_t i = 0;
  double d = 0;
  std::string_view s;

  template <class T,
            std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, char> && !std::is_same_v<T, bool>,
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

// Appends text to out, changed as the caller needs (the report HTML-escapes it).
using TextFilter = void (*)(std::string& out, std::string_view text);

// The largest width or precision honoured.
inline constexpr size_t kMaxFieldSize = 1000000;

// Appends fmt, formatted with args, to out. When filter is not null it writes the Text arguments
// of %s (after the precision has cut them, before the width pads them) and the character of
// every %c; the width then counts the filtered text.
void appendFormat(std::string& out, std::string_view fmt, const FmtArg* args, size_t count,
                  TextFilter filter = nullptr);

// The formatted text, without a filter.
template <class... A>
std::string cformat(std::string_view fmt, const A&... args) {
  std::string out;
  out.reserve(fmt.size() + 8 * sizeof...(A));
  if constexpr (sizeof...(A) == 0) {
    appendFormat(out, fmt, nullptr, 0);
  } else {
    const FmtArg list[] = {FmtArg(args)...};
    appendFormat(out, fmt, list, sizeof...(A));
  }
  return out;
}

}  // namespace tarvik
