#include "scan/core/tokens.h"

#include <locale.h>

#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "scan/core/report.h"
#include "scan/core/scan_context.h"

namespace tarvik {

namespace {

inline bool inSet(char c, const char* set) noexcept { return c != '\0' && std::strchr(set, c) != nullptr; }

// The characters a number token may hold: " 0123456789eE.+-\r\n".
struct CharTable {
  bool number[256] = {};
  constexpr CharTable() {
    for (const char* p = " 0123456789eE.+-\r\n"; *p; ++p) number[static_cast<unsigned char>(*p)] = true;
  }
};
constexpr CharTable kChars;
inline bool isNumberChar(char c) noexcept { return kChars.number[static_cast<unsigned char>(c)]; }

// The counting walk shared by isNumberToken and checkNumberChars.
struct NumberCounters {
  int signsBefore = 0, signsAfter = 0, pointsBefore = 0, pointsAfter = 0, expLetters = 0;
  void reset() { *this = NumberCounters(); }
};

TokenCheck walkNumberChars(std::string_view t, NumberCounters& c, bool& signSinceSpace) noexcept {
  signSinceSpace = false;
  for (size_t i = 0; i < t.size(); ++i) {
    char ch = t[i];
    if (ch >= '0' && ch <= '9') continue;
    if (ch == ' ') {
      c.reset();
      signSinceSpace = false;
      continue;
    }
    if (ch == 'E' || ch == 'e') {
      if (++c.expLetters > 1) return {false, i};
    } else if (ch == '+' || ch == '-') {
      (c.expLetters ? c.signsAfter : c.signsBefore)++;
      signSinceSpace = true;
    } else if (ch == '.') {
      (c.expLetters ? c.pointsAfter : c.pointsBefore)++;
    }
    if (c.signsBefore > 1 || c.signsAfter > 1 || c.pointsBefore > 1) return {false, i};
    if (!isNumberChar(ch)) return {false, i};
  }
  return {true, t.size()};
}

bool wholeTextTest(std::string_view text, bool allowPoint) noexcept {
  if (text.size() > 126) return false;
  int signsBefore = 0, signsAfter = 0, pointsBefore = 0, expLetters = 0;
  const char* allowed = allowPoint ? "0123456789eE.+-\r\n" : "0123456789eE-+\r\n";
  for (char ch : text) {
    if (ch == 'E' || ch == 'e') {
      if (++expLetters > 1) return false;
    } else if (ch == '+' || ch == '-') {
      (expLetters ? signsAfter : signsBefore)++;
    } else if (ch == '.' && allowPoint) {
      if (!expLetters) pointsBefore++;
    }
    if (signsBefore > 1 || signsAfter > 1 || pointsBefore > 1) return false;
    if (ch == ' ' || ch == '\t') continue;
    if (!inSet(ch, allowed)) return false;
  }
  return true;
}


}  // namespace

TokenCheck isNumberToken(std::string_view t) noexcept {
  NumberCounters c;
  bool signSinceSpace = false;
  TokenCheck r = walkNumberChars(t, c, signSinceSpace);
  if (!r.ok) return r;
  if (signSinceSpace) {
    size_t pos = t.find('-');
    if (pos == std::string_view::npos) pos = t.find('+');
    if (pos != std::string_view::npos) {
      if (pos > 1 && !(c.expLetters > 0 && (t[pos - 1] == 'E' || t[pos - 1] == 'e'))) return {false, pos};
      return {true, pos};
    }
  }
  return r;
}

TokenCheck checkNumberChars(std::string_view t) noexcept {
  NumberCounters c;
  bool signSinceSpace = false;
  return walkNumberChars(t, c, signSinceSpace);
}

bool isRealText(std::string_view text) noexcept { return wholeTextTest(text, true); }
bool isIntegerText(std::string_view text) noexcept { return wholeTextTest(text, false); }

bool sameShortName(std::string_view definition, std::string_view item, char stop) noexcept {
  auto collect = [stop](std::string_view s, char* out) {
    size_t n = 0;
    size_t lim = s.size() < 255 ? s.size() : 255;
    for (size_t i = 0; i < lim; ++i) {
      char ch = s[i];
      if (ch == stop || ch == ',' || ch == ';') break;
      if (ch == ' ') continue;
      out[n++] = upperAscii(ch);
    }
    return n;
  };
  char a[256], b[256];
  size_t na = collect(definition, a), nb = collect(item, b);
  return na == nb && std::memcmp(a, b, na) == 0;
}

bool sameTextNoCase(Report* report, std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  if (a.size() >= 255) {
    if (report) report->warning("<br>Warning - this text is too long (max=255): %s\n", a);
    return false;
  }
  for (size_t i = 0; i < a.size(); ++i)
    if (upperAscii(a[i]) != upperAscii(b[i])) return false;
  return true;
}

bool samePrefixNoCase(Report* report, std::string_view a, std::string_view b, size_t limit) {
  size_t n = a.size();
  if (b.size() < n) n = b.size();
  if (limit < n) n = limit;
  if (n > 254) {
    if (report) report->warning("<br>Warning text is too long (max=255): %s\n", a);
    return false;
  }
  for (size_t i = 0; i < n; ++i)
    if (upperAscii(a[i]) != upperAscii(b[i])) return false;
  return true;
}

int32_t checkItemCount(ScanContext& ctx, std::string& text, int64_t expected, int64_t lineNumber) {
  if (lineNumber == 1 || lineNumber < ctx.hdr.numHeaderLines) {
    size_t semi = text.find(';');
    if (semi != std::string::npos) text.resize(semi);
  }
  if (expected == 1) return 0;
  ctx.run.echoBuffer = text;
  int64_t commas = 0;
  const char* relation = "= ";
  bool pass;
  if (expected == 2) {
    size_t first = text.find(',');
    if (first != std::string::npos) {
      commas = 1;
      text[first] = ' ';
      if (text.find(',', first + 1) != std::string::npos) {
        commas = 2;
        relation = ">=";
      }
    }
    pass = commas == 1;
  } else {
    const int64_t cap = expected > (int64_t{1} << 50) ? INT64_MAX : 100 * expected + 1;
    for (char& ch : text) {
      if (ch != ',') continue;
      ch = ' ';
      if (++commas >= cap) break;
    }
    pass = commas == expected - 1;
  }
  if (pass) return 0;
  Report& r = ctx.report;
  r.beginError();
  r.printf("Error - %s Line%d: Either the delimiter(s) NOT compliant or the number of items on this line NOT matching; delimiters should be all commas. See ICARTT File Format document for details. \n",
           lineNumber <= ctx.hdr.numHeaderLines ? "Header " : " ", lineNumber);
  r.printf("<br>The expected number of individual items (i.e., data points or labels) on this line = %d; the number of items found %s %d.<br>\n",
           expected, relation, commas + 1);
  r.printf("<br />The expected number of \"commas\" on this line = %d; the number of \"commas\" found %s %d.<br />\n",
           expected - 1, relation, commas);
  r.endBlock();
  r.echo(Echo::A, lineNumber, ctx.run.echoBuffer);
  return 10;
}

double leadingReal(std::string_view s, size_t* consumed) noexcept {
  size_t i = 0;
  while (i < s.size() && isCSpace(s[i])) ++i;
  size_t signPos = i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  // A number begins with a digit, or a point followed by a digit (no inf, nan or hex).
  if (!(i < s.size() && (isDigit(s[i]) || (s[i] == '.' && i + 1 < s.size() && isDigit(s[i + 1]))))) {
    if (consumed) *consumed = 0;
    return 0.0;
  }
  double v = 0;
  const char* first = s.data() + i;
  const char* last = s.data() + s.size();
  auto res = std::from_chars(first, last, v, std::chars_format::general);
  if (res.ec == std::errc::result_out_of_range) {
    // Beyond the range of a double: read it as strtod does (an infinity or a value near 0).
    std::string copy(s.substr(signPos, static_cast<size_t>(res.ptr - s.data()) - signPos));
    v = strtod_l(copy.c_str(), nullptr, cLocale());
    if (consumed) *consumed = static_cast<size_t>(res.ptr - s.data());
    return v;
  }
  if (res.ec != std::errc()) {
    if (consumed) *consumed = 0;
    return 0.0;
  }
  if (consumed) *consumed = static_cast<size_t>(res.ptr - s.data());
  return negative ? -v : v;
}

int32_t leadingInt(std::string_view s) noexcept {
  size_t i = 0;
  while (i < s.size() && isCSpace(s[i])) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  // strtol into a 64-bit long, saturating, then truncated to int as glibc's atoi does.
  unsigned long long acc = 0;
  bool overflow = false;
  for (; i < s.size() && isDigit(s[i]); ++i) {
    unsigned d = static_cast<unsigned>(s[i] - '0');
    if (overflow || acc > (ULLONG_MAX - d) / 10ULL)
      overflow = true;
    else
      acc = acc * 10 + d;
  }
  long long v;
  if (negative) {
    if (overflow || acc > static_cast<unsigned long long>(LONG_MAX) + 1ULL)
      v = LLONG_MIN;
    else
      v = static_cast<long long>(0ULL - acc);
  } else {
    if (overflow || acc > static_cast<unsigned long long>(LONG_MAX))
      v = LLONG_MAX;
    else
      v = static_cast<long long>(acc);
  }
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<unsigned long long>(v)));
}

bool scanInt(std::string_view s, size_t& pos, int32_t& out) noexcept {
  size_t i = pos;
  while (i < s.size() && isCSpace(s[i])) ++i;
  size_t start = i;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  if (!(i < s.size() && isDigit(s[i]))) return false;
  while (i < s.size() && isDigit(s[i])) ++i;
  out = leadingInt(s.substr(start, i - start));
  pos = i;
  return true;
}

}  // namespace tarvik
