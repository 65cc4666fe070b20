// Numbers written as the C library's printf writes them in the C locale, whatever the locale of
// the process: the plot window's texts and files always use '.' as the decimal point. The desktop
// runs under the user's locale, so printf itself cannot be used for them.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace tarvik {

// One argument of FormatText: a number, a character or a text.
class TextArg {
 public:
  enum class Kind { Integer, Real, Char, Text };

  TextArg(int v) : kind_(Kind::Integer), integer_(v) {}
  TextArg(long v) : kind_(Kind::Integer), integer_(v) {}
  TextArg(long long v) : kind_(Kind::Integer), integer_(v) {}
  TextArg(double v) : kind_(Kind::Real), real_(v) {}
  TextArg(char v) : kind_(Kind::Char), char_(v) {}
  TextArg(const char* v) : kind_(Kind::Text), text_(v ? v : "") {}
  TextArg(std::string_view v) : kind_(Kind::Text), text_(v) {}
  TextArg(const std::string& v) : kind_(Kind::Text), text_(v) {}

  Kind kind() const { return kind_; }
  long long integer() const { return integer_; }
  double real() const { return real_; }
  char character() const { return char_; }
  std::string_view text() const { return text_; }

 private:
  Kind kind_;
  long long integer_ = 0;
  double real_ = 0.0;
  char char_ = 0;
  std::string_view text_;
};

// printf-style formatting in the C locale. Understands %% and the conversions d, i, u, f, F, e, E,
// g, G, c and s with the flags '-', '0', '+' and ' ', a width, a precision and the length
// modifiers h, hh, l, ll, z, j (which change nothing: integers are 64-bit). A floating conversion
// of an integer argument writes the integer's value; any other mismatch, a missing argument or an
// unknown conversion writes nothing for that conversion.
std::string FormatText(std::string_view format, std::initializer_list<TextArg> args);

// printf's "%.*f" of value.
std::string FixedText(double value, int decimals);
// printf's "%.*e" (upperCase false) or "%.*E" (upperCase true) of value.
std::string ScientificText(double value, int decimals, bool upperCase);
// printf's "%g" of value.
std::string GeneralText(double value);
// printf's "%*s": text right-aligned in width characters, never cut.
std::string RightAligned(std::string_view text, size_t width);

}  // namespace tarvik
