#include "text/c_format.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>

namespace tarvik {
namespace {

struct Spec {
  bool left = false;
  bool plus = false;
  bool space = false;
  bool alt = false;
  bool zero = false;
  size_t width = 0;
  int precision = -1;  // -1: none given
};

// Writes prefix (sign or "0x"), zeros, then digits, padded to the width: on the right for '-',
// else with zeros after the prefix when zeroPad, else with spaces on the left.
void appendPaddedNumber(std::string& out, std::string_view prefix, size_t zeros, std::string_view digits,
                        const Spec& spec, bool zeroPad) {
  const size_t length = prefix.size() + zeros + digits.size();
  const size_t fill = spec.width > length ? spec.width - length : 0;
  if (spec.left) {
    out.append(prefix);
    out.append(zeros, '0');
    out.append(digits);
    out.append(fill, ' ');
  } else if (zeroPad) {
    out.append(prefix);
    out.append(zeros + fill, '0');
    out.append(digits);
  } else {
    out.append(fill, ' ');
    out.append(prefix);
    out.append(zeros, '0');
    out.append(digits);
  }
}

// Writes text padded with spaces to the width (on the right for '-').
void appendPaddedText(std::string& out, std::string_view text, const Spec& spec) {
  const size_t fill = spec.width > text.size() ? spec.width - text.size() : 0;
  if (!spec.left) out.append(fill, ' ');
  out.append(text);
  if (spec.left) out.append(fill, ' ');
}

// As above, with the text passed through the filter first; the width counts the filtered text.
void appendFilteredText(std::string& out, std::string_view text, const Spec& spec, TextFilter filter) {
  if (!filter) {
    appendPaddedText(out, text, spec);
    return;
  }
  if (spec.width == 0) {
    filter(out, text);
    return;
  }
  std::string filtered;
  filter(filtered, text);
  appendPaddedText(out, filtered, spec);
}

// The integer d and i take from an argument.
int64_t integerOf(const FmtArg& a) {
  if (a.kind != FmtArg::Real) return a.i;
  // The processor's truncation gives INT64_MIN for NaN and out-of-range reals; a cast would be
  // undefined there.
  if (!(a.d >= -9223372036854775808.0 && a.d < 9223372036854775808.0))
    return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(a.d);
}

void appendInteger(std::string& out, int64_t value, char conv, const Spec& spec) {
  char prefix[2];
  size_t prefixLength = 0;
  uint64_t magnitude;
  int base = 10;
  if (conv == 'd' || conv == 'i') {
    if (value < 0) {
      prefix[prefixLength++] = '-';
      magnitude = 0 - static_cast<uint64_t>(value);
    } else {
      magnitude = static_cast<uint64_t>(value);
      if (spec.plus)
        prefix[prefixLength++] = '+';
      else if (spec.space)
        prefix[prefixLength++] = ' ';
    }
  } else {
    // As printf of an unsigned int: the low 32 bits.
    magnitude = static_cast<uint32_t>(static_cast<uint64_t>(value));
    if (conv == 'x' || conv == 'X') base = 16;
    if (conv == 'o') base = 8;
  }
  char digits[24];
  size_t digitCount =
      static_cast<size_t>(std::to_chars(digits, digits + sizeof digits, magnitude, base).ptr - digits);
  if (conv == 'X')
    for (size_t k = 0; k < digitCount; ++k)
      if (digits[k] >= 'a' && digits[k] <= 'f') digits[k] = static_cast<char>(digits[k] - 'a' + 'A');
  if (spec.precision == 0 && magnitude == 0) digitCount = 0;  // "%.0d" of 0 writes no digit
  size_t zeros = spec.precision > 0 && static_cast<size_t>(spec.precision) > digitCount
                     ? static_cast<size_t>(spec.precision) - digitCount
                     : 0;
  if (spec.alt) {
    if (conv == 'o' && zeros == 0 && (digitCount == 0 || digits[0] != '0')) zeros = 1;
    if ((conv == 'x' || conv == 'X') && magnitude != 0) {
      prefix[prefixLength++] = '0';
      prefix[prefixLength++] = conv;
    }
  }
  appendPaddedNumber(out, std::string_view(prefix, prefixLength), zeros, std::string_view(digits, digitCount),
                     spec, spec.zero && spec.precision < 0);
}

// Inserts a '.' at pos of the text ending at end; the caller leaves room for it.
char* insertPoint(char* pos, char* end) {
  std::memmove(pos + 1, pos, static_cast<size_t>(end - pos));
  *pos = '.';
  return end + 1;
}

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// "%#g": precision significant digits, trailing zeros kept, always a point. printf picks the
// scientific form when the exponent X of the value rounded to that many digits is below -4 or not
// below the precision, and the fixed form with precision - 1 - X decimals otherwise.
char* writeAlternateGeneral(char* begin, char* limit, double value, int precision) {
  char* stop = std::to_chars(begin, limit, value, std::chars_format::scientific, precision - 1).ptr;
  char* e = static_cast<char*>(std::memchr(begin, 'e', static_cast<size_t>(stop - begin)));
  int exponent = 0;
  std::from_chars(e + 2, stop, exponent);  // to_chars always writes the exponent's sign
  if (e[1] == '-') exponent = -exponent;
  if (exponent < precision && exponent >= -4) {
    const int decimals = precision - 1 - exponent;
    stop = std::to_chars(begin, limit, value, std::chars_format::fixed, decimals).ptr;
    if (decimals == 0) *stop++ = '.';
    return stop;
  }
  char* const point = begin + (*begin == '-' ? 2 : 1);
  // A value below 10^precision that only its rounding lifts to 10^precision (999.5 with "%#.3g")
  // is written by glibc as "1.e+03", without the zeros after the point. Such a value lies in
  // [10^precision - 0.5, 10^precision), which holds no double for precisions above 15.
  if (exponent == precision && precision < static_cast<int>(std::size(kPowersOfTen)) &&
      std::fabs(value) < kPowersOfTen[precision]) {
    const size_t tail = static_cast<size_t>(stop - e);
    std::memmove(point, e, tail);
    return insertPoint(point, point + tail);
  }
  if (precision == 1) return insertPoint(point, stop);
  return stop;
}

void appendReal(std::string& out, double value, char conv, const Spec& spec) {
  const bool finite = std::isfinite(value);
  const char lower = static_cast<char>(conv | 0x20);
  int precision = spec.precision < 0 ? 6 : spec.precision;
  if (lower == 'g' && precision == 0) precision = 1;
  // Room for the 309 integer digits of the largest double, the sign, the point, the exponent and
  // the decimals.
  const size_t need = static_cast<size_t>(precision) + 330;
  char small[512];
  std::string large;
  char* begin = small;
  if (need > sizeof small) {
    large.resize(need);
    begin = large.data();
  }
  char* const limit = begin + need;
  char* stop;
  if (lower == 'f') {
    stop = std::to_chars(begin, limit, value, std::chars_format::fixed, precision).ptr;
    if (spec.alt && precision == 0 && finite) *stop++ = '.';
  } else if (lower == 'e') {
    stop = std::to_chars(begin, limit, value, std::chars_format::scientific, precision).ptr;
    if (spec.alt && precision == 0 && finite) {
      stop = insertPoint(begin + (*begin == '-' ? 2 : 1), stop);
    }
  } else if (spec.alt && finite) {
    stop = writeAlternateGeneral(begin, limit, value, precision);
  } else {
    stop = std::to_chars(begin, limit, value, std::chars_format::general, precision).ptr;
  }
  if (conv != lower)
    for (char* c = begin; c < stop; ++c)
      if (*c >= 'a' && *c <= 'z') *c = static_cast<char>(*c - 'a' + 'A');
  std::string_view prefix;
  std::string_view digits(begin, static_cast<size_t>(stop - begin));
  if (!digits.empty() && digits[0] == '-') {
    prefix = "-";
    digits.remove_prefix(1);
  } else if (spec.plus) {
    prefix = "+";
  } else if (spec.space) {
    prefix = " ";
  }
  appendPaddedNumber(out, prefix, 0, digits, spec, spec.zero && finite);
}

// Reads decimal digits at p, saturating at kMaxFieldSize.
size_t readCount(const char*& p, const char* end) {
  size_t n = 0;
  while (p < end && *p >= '0' && *p <= '9') {
    n = n * 10 + static_cast<size_t>(*p - '0');
    if (n > kMaxFieldSize) n = kMaxFieldSize;
    ++p;
  }
  return n;
}

}  // namespace

void appendFormat(std::string& out, std::string_view fmt, const FmtArg* args, size_t count,
                  TextFilter filter) {
  size_t next = 0;
  const char* p = fmt.data();
  const char* const end = p + fmt.size();
  while (p < end) {
    const char* pct = static_cast<const char*>(std::memchr(p, '%', static_cast<size_t>(end - p)));
    if (!pct) {
      out.append(p, end);
      break;
    }
    out.append(p, pct);
    const char* q = pct + 1;
    if (q < end && *q == '%') {
      out.push_back('%');
      p = q + 1;
      continue;
    }
    Spec spec;
    for (; q < end; ++q) {
      if (*q == '-')
        spec.left = true;
      else if (*q == '+')
        spec.plus = true;
      else if (*q == ' ')
        spec.space = true;
      else if (*q == '#')
        spec.alt = true;
      else if (*q == '0')
        spec.zero = true;
      else
        break;
    }
    if (spec.left) spec.zero = false;
    spec.width = readCount(q, end);
    if (q < end && *q == '.') {
      ++q;
      spec.precision = static_cast<int>(readCount(q, end));
    }
    while (q < end && *q && std::strchr("hlLqjzt", *q)) ++q;
    if (q == end) {
      out.append(pct, end);
      break;
    }
    const char conv = *q;
    p = q + 1;
    if (next >= count) {
      out.append("<?>");
      continue;
    }
    const FmtArg& a = args[next++];
    switch (conv) {
      case 'd':
      case 'i':
      case 'u':
      case 'x':
      case 'X':
      case 'o':
        appendInteger(out, integerOf(a), conv, spec);
        break;
      case 'f':
      case 'F':
      case 'e':
      case 'E':
      case 'g':
      case 'G':
        appendReal(out, a.kind == FmtArg::Real ? a.d : static_cast<double>(a.i), conv, spec);
        break;
      case 'c': {
        const char c = static_cast<char>(a.i);
        appendFilteredText(out, std::string_view(&c, 1), spec, filter);
        break;
      }
      case 's': {
        std::string_view text =
            a.kind == FmtArg::Int || a.kind == FmtArg::Real ? std::string_view("<?>") : a.s;
        if (spec.precision >= 0 && text.size() > static_cast<size_t>(spec.precision))
          text = text.substr(0, static_cast<size_t>(spec.precision));
        appendFilteredText(out, text, spec, a.kind == FmtArg::Text ? filter : nullptr);
        break;
      }
      default:
        out.append(pct, p);
        break;
    }
  }
}

}  // namespace tarvik
