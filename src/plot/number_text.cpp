#include "plot/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace tarvik {
namespace {

// Longest precision honoured; printf allows more, but no text of the window asks for it.
constexpr int kMaxPrecision = 400;

struct Directive {
  bool left = false, zero = false, plus = false, space = false;
  size_t width = 0;
  int precision = -1;  // -1: none given
  char conversion = 0;
};

void ToUpper(std::string& s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
}

// The digits of a floating conversion, sign included, as printf writes them without width.
std::string RealDigits(double value, char conversion, int precision) {
  if (precision < 0) precision = 6;
  if (precision > kMaxPrecision) precision = kMaxPrecision;
  std::chars_format fmt = std::chars_format::general;
  switch (conversion) {
    case 'f':
    case 'F':
      fmt = std::chars_format::fixed;
      break;
    case 'e':
    case 'E':
      fmt = std::chars_format::scientific;
      break;
    default:
      if (precision == 0) precision = 1;  // "%.0g" shows one significant digit
      break;
  }
  // Enough for the 309 integer digits of the largest double, the point and the decimals.
  std::string out(static_cast<size_t>(precision) + 330, '\0');
  const auto res = std::to_chars(out.data(), out.data() + out.size(), value, fmt, precision);
  out.resize(res.ec == std::errc() ? static_cast<size_t>(res.ptr - out.data()) : 0);
  if (conversion == 'F' || conversion == 'E' || conversion == 'G') ToUpper(out);
  return out;
}

std::string IntegerDigits(long long value, char conversion, int precision) {
  std::string out;
  unsigned long long magnitude;
  if (conversion == 'u') {
    magnitude = static_cast<unsigned long long>(value);
  } else if (value < 0) {
    out = "-";
    magnitude = 0ULL - static_cast<unsigned long long>(value);
  } else {
    magnitude = static_cast<unsigned long long>(value);
  }
  char buf[24];
  const auto res = std::to_chars(buf, buf + sizeof buf, magnitude);
  std::string digits(buf, res.ptr);
  if (precision == 0 && magnitude == 0) digits.clear();  // printf's "%.0d" of 0 is empty
  if (precision > 0 && digits.size() < static_cast<size_t>(precision))
    digits.insert(0, static_cast<size_t>(precision) - digits.size(), '0');
  return out + digits;
}

// Width, sign flags and zero padding around the digits of a number.
void AppendNumber(std::string& out, std::string body, const Directive& directive, bool zeroAllowed) {
  if (!body.empty() && body[0] != '-') {
    if (directive.plus)
      body.insert(0, 1, '+');
    else if (directive.space)
      body.insert(0, 1, ' ');
  }
  if (body.size() < directive.width) {
    const size_t pad = directive.width - body.size();
    if (directive.left) {
      body.append(pad, ' ');
    } else if (directive.zero && zeroAllowed) {
      const size_t signLength =
          (!body.empty() && (body[0] == '-' || body[0] == '+' || body[0] == ' ')) ? 1 : 0;
      body.insert(signLength, pad, '0');
    } else {
      body.insert(0, pad, ' ');
    }
  }
  out += body;
}

void AppendPadded(std::string& out, std::string_view text, const Directive& directive) {
  const size_t pad = text.size() < directive.width ? directive.width - text.size() : 0;
  if (!directive.left) out.append(pad, ' ');
  out += text;
  if (directive.left) out.append(pad, ' ');
}

void AppendConversion(std::string& out, const Directive& directive, const TextArg* arg) {
  if (arg == nullptr) return;
  switch (directive.conversion) {
    case 'd':
    case 'i':
    case 'u':
      if (arg->kind() != TextArg::Kind::Integer) return;
      // A precision switches zero padding off, as in printf.
      AppendNumber(out, IntegerDigits(arg->integer(), directive.conversion, directive.precision), directive,
                   directive.precision < 0);
      return;
    case 'f':
    case 'F':
    case 'e':
    case 'E':
    case 'g':
    case 'G': {
      double v;
      if (arg->kind() == TextArg::Kind::Real)
        v = arg->real();
      else if (arg->kind() == TextArg::Kind::Integer)
        v = static_cast<double>(arg->integer());
      else
        return;
      AppendNumber(out, RealDigits(v, directive.conversion, directive.precision), directive,
                   std::isfinite(v));
      return;
    }
    case 'c': {
      char c;
      if (arg->kind() == TextArg::Kind::Char)
        c = arg->character();
      else if (arg->kind() == TextArg::Kind::Integer)
        c = static_cast<char>(arg->integer());
      else
        return;
      AppendPadded(out, std::string_view(&c, 1), directive);
      return;
    }
    case 's': {
      if (arg->kind() != TextArg::Kind::Text) return;
      std::string_view t = arg->text();
      if (directive.precision >= 0 && t.size() > static_cast<size_t>(directive.precision))
        t = t.substr(0, static_cast<size_t>(directive.precision));
      AppendPadded(out, t, directive);
      return;
    }
    default:
      return;
  }
}

}  // namespace

std::string FormatText(std::string_view format, std::initializer_list<TextArg> args) {
  std::string out;
  out.reserve(format.size() + 16 * args.size());
  const TextArg* next = args.begin();
  size_t i = 0;
  while (i < format.size()) {
    const char c = format[i++];
    if (c != '%') {
      out += c;
      continue;
    }
    if (i < format.size() && format[i] == '%') {
      out += '%';
      ++i;
      continue;
    }
    Directive directive;
    for (; i < format.size(); ++i) {
      const char f = format[i];
      if (f == '-')
        directive.left = true;
      else if (f == '0')
        directive.zero = true;
      else if (f == '+')
        directive.plus = true;
      else if (f == ' ')
        directive.space = true;
      else
        break;
    }
    while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
      if (directive.width < 100000)
        directive.width = directive.width * 10 + static_cast<size_t>(format[i] - '0');
      ++i;
    }
    if (i < format.size() && format[i] == '.') {
      ++i;
      directive.precision = 0;
      while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
        if (directive.precision < 100000) directive.precision = directive.precision * 10 + (format[i] - '0');
        ++i;
      }
    }
    while (i < format.size() &&
           (format[i] == 'h' || format[i] == 'l' || format[i] == 'z' || format[i] == 'j'))
      ++i;
    if (i >= format.size()) break;
    directive.conversion = format[i++];
    const TextArg* arg = next != args.end() ? next++ : nullptr;
    AppendConversion(out, directive, arg);
  }
  return out;
}

std::string FixedText(double value, int decimals) {
  return RealDigits(value, 'f', decimals < 0 ? 0 : decimals);
}

std::string ScientificText(double value, int decimals, bool upperCase) {
  return RealDigits(value, upperCase ? 'E' : 'e', decimals < 0 ? 0 : decimals);
}

std::string GeneralText(double value) { return RealDigits(value, 'g', 6); }

std::string RightAligned(std::string_view text, size_t width) {
  std::string out;
  if (text.size() < width) out.assign(width - text.size(), ' ');
  out += text;
  return out;
}

}  // namespace tarvik
