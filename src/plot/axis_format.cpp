#include "plot/axis_format.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "text/c_format.h"

namespace tarvik {
namespace {

// The pictures the charts use; FormatPicture renders these and writes "%g" for any other.
constexpr std::string_view kPictures[] = {"#,##0.###", "#,##0.00", "0.00E+00", "0.00E-00",
                                          "#0.##",     "#",        "#.##"};

// A picture taken apart: digit placeholders before and after the point, and the exponent.
struct Picture {
  int intPlaces = 0;  // placeholders before the point
  int intForced = 0;  // digits always shown before the point (from the first '0' on)
  bool thousands = false;
  int decMax = 0;  // placeholders after the point
  int decMin = 0;  // decimals always shown (up to the last '0')
  bool scientific = false;
  bool expAlwaysSigned = false;
  int expDigits = 0;
};

Picture ParsePicture(std::string_view p) {
  Picture pic;
  size_t i = 0;
  bool sawZero = false;
  for (; i < p.size() && p[i] != '.' && p[i] != 'E'; ++i) {
    if (p[i] == ',') {
      pic.thousands = true;
    } else if (p[i] == '0' || p[i] == '#') {
      ++pic.intPlaces;
      if (p[i] == '0') sawZero = true;
      if (sawZero) ++pic.intForced;
    }
  }
  if (i < p.size() && p[i] == '.') {
    for (++i; i < p.size() && (p[i] == '0' || p[i] == '#'); ++i) {
      ++pic.decMax;
      if (p[i] == '0') pic.decMin = pic.decMax;
    }
  }
  if (i < p.size() && p[i] == 'E') {
    pic.scientific = true;
    ++i;
    if (i < p.size() && (p[i] == '+' || p[i] == '-')) pic.expAlwaysSigned = p[i++] == '+';
    for (; i < p.size() && p[i] == '0'; ++i) ++pic.expDigits;
  }
  return pic;
}

// A finite value as decimal digits: |value| = 0.digits x 10^point, digits without leading or
// trailing zeros (empty for zero). Fifteen significant digits, the precision a double holds
// reliably, so that 1.005 rounds as the decimal number it was written as.
struct Decimal {
  std::string digits;
  int point = 0;
  bool negative = false;
};

void TrimTrailingZeros(Decimal& d) {
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
}

Decimal ToDecimal(double value) {
  Decimal d;
  d.negative = std::signbit(value);
  if (value == 0) return d;
  char buf[40];
  const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 14);
  const std::string_view text(buf, static_cast<size_t>(res.ptr - buf));  // d.ddddddddddddddde+XX
  const size_t e = text.find('e');
  d.digits += text[0];
  d.digits += text.substr(2, e - 2);
  int exponent = 0;
  const char* first = text.data() + e + 1;
  if (*first == '+') ++first;
  std::from_chars(first, text.data() + text.size(), exponent);
  d.point = exponent + 1;
  TrimTrailingZeros(d);
  return d;
}

// Keeps the first keep digits, rounding half away from zero on the decimal digits.
void RoundDigits(Decimal& d, int keep) {
  if (keep >= static_cast<int>(d.digits.size())) return;
  if (keep < 0) {
    d.digits.clear();
    return;
  }
  const bool up = d.digits[static_cast<size_t>(keep)] >= '5';
  d.digits.resize(static_cast<size_t>(keep));
  if (up) {
    int i = keep - 1;
    for (; i >= 0; --i) {
      char& c = d.digits[static_cast<size_t>(i)];
      if (c == '9') {
        c = '0';
      } else {
        ++c;
        break;
      }
    }
    if (i < 0) {  // 9.99 became 10.0
      d.digits.insert(0, 1, '1');
      ++d.point;
    }
  }
  TrimTrailingZeros(d);
}

// The digit of d at position index counted from its first digit; '0' outside the digits.
char DigitAt(const Decimal& d, int index) {
  if (index < 0 || index >= static_cast<int>(d.digits.size())) return '0';
  return d.digits[static_cast<size_t>(index)];
}

std::string GroupThousands(const std::string& digits) {
  std::string out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

std::string Decimals(const Decimal& d, int firstIndex, const Picture& pic) {
  std::string dec;
  for (int j = 0; j < pic.decMax; ++j) dec += DigitAt(d, firstIndex + j);
  while (static_cast<int>(dec.size()) > pic.decMin && dec.back() == '0') dec.pop_back();
  return dec;
}

std::string RenderScientific(Decimal d, const Picture& pic) {
  const int places = pic.intPlaces > 0 ? pic.intPlaces : 1;
  int exponent = 0;
  if (!d.digits.empty()) {
    RoundDigits(d, places + pic.decMax);
    exponent = d.point - places;
  }
  std::string out = (d.negative && !d.digits.empty()) ? "-" : "";
  for (int i = 0; i < places; ++i) out += DigitAt(d, i);
  const std::string dec = Decimals(d, places, pic);
  if (!dec.empty()) out += "." + dec;
  out += 'E';
  if (exponent < 0)
    out += '-';
  else if (pic.expAlwaysSigned)
    out += '+';
  std::string expText = std::to_string(std::abs(exponent));
  if (static_cast<int>(expText.size()) < pic.expDigits)
    expText.insert(0, static_cast<size_t>(pic.expDigits) - expText.size(), '0');
  return out + expText;
}

std::string RenderFixed(Decimal d, const Picture& pic) {
  RoundDigits(d, d.point + pic.decMax);
  std::string integer;
  for (int i = 0; i < d.point; ++i) integer += DigitAt(d, i);
  if (static_cast<int>(integer.size()) < pic.intForced)
    integer.insert(0, static_cast<size_t>(pic.intForced) - integer.size(), '0');
  if (pic.thousands) integer = GroupThousands(integer);
  const std::string dec = Decimals(d, d.point, pic);
  std::string out = (d.negative && !d.digits.empty()) ? "-" : "";
  out += integer;
  if (!dec.empty()) out += "." + dec;
  return out;
}

}  // namespace

std::string PickAxisFormat(double min, double max) {
  if (max > 1000000 || min < -1000000) return "0.00E+00";
  if (max < 0.01) return "0.00E-00";
  if (max - min >= 1) return "#,##0.###";
  return "#,##0.00";
}

std::string FormatPicture(double value, std::string_view picture) {
  bool known = false;
  for (std::string_view p : kPictures) known = known || p == picture;
  if (!known) return cformat("%g", value);
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  const Picture pic = ParsePicture(picture);
  const Decimal d = ToDecimal(value);
  if (pic.scientific) return RenderScientific(d, pic);
  // Beyond eighteen integer digits a fixed picture gives way to the scientific one.
  if (std::fabs(value) >= 1e18) return RenderScientific(d, ParsePicture("0.00E+00"));
  return RenderFixed(d, pic);
}

std::string HourMinuteLabel(double seconds) {
  // Hours and minutes of the whole seconds, truncated toward zero, computed in integers: a
  // floating-point remainder of an exact minute (3660 s) can fall just below it and lose the
  // minute. Beyond the 64-bit range the hours are clamped and the minutes are 0 (NaN counts as 0).
  const double whole = std::isnan(seconds) ? 0.0 : std::trunc(seconds);
  long long h = 0, m = 0;
  if (whole >= 9.2e18) {
    h = INT64_MAX;
  } else if (whole <= -9.2e18) {
    h = INT64_MIN;
  } else {
    const auto s = static_cast<long long>(whole);
    h = s / 3600;
    m = (s % 3600) / 60;  // within -59..59
  }
  return cformat("%02d:%02d", h, m);
}

}  // namespace tarvik
