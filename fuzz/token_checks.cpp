#include "token_checks.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <map>
#include <memory>
#include <set>
#include <string_view>
#include <vector>

#include "scan/core/report.h"
#include "scan/core/scan_context.h"
#include "scan/core/text_reader.h"
#include "scan/core/tokens.h"
#include "scan/data/data_record.h"
#include "scan/header/fixed_lines.h"
#include "scan/header/header_lines.h"
#include "scan/lines/line_repair.h"

namespace tarvik::fuzz {
namespace {

constexpr size_t npos = std::string_view::npos;

void appendPrintable(std::string& out, std::string_view s) {
  static const char hex[] = "0123456789abcdef";
  for (char c : s) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7f && c != '\\') {
      out.push_back(c);
    } else {
      out += "\\x";
      out.push_back(hex[u >> 4]);
      out.push_back(hex[u & 15]);
    }
  }
}

// The first broken invariant of a run, with the text it was found on.
struct Outcome {
  std::string failure;
  bool failed() const { return !failure.empty(); }
  void fail(const char* what, int line, std::string_view subject) {
    if (failed()) return;
    failure = "token_checks.cpp:" + std::to_string(line) + ": " + what + " [on \"";
    appendPrintable(failure, subject.substr(0, 300));
    failure += subject.size() > 300 ? "\"...]" : "\"]";
  }
};

// Records the broken invariant and leaves the current check.
#define TK_REQUIRE(cond, subject)             \
  do {                                        \
    if (!(cond)) {                            \
      out.fail(#cond, __LINE__, (subject));   \
      return;                                 \
    }                                         \
  } while (0)

bool sameBits(double a, double b) {
  uint64_t x, y;
  std::memcpy(&x, &a, sizeof x);
  std::memcpy(&y, &b, sizeof y);
  return x == y;
}

bool inDelims(char c, const std::string& delims) { return c != '\0' && delims.find(c) != std::string::npos; }

std::string upperText(std::string_view s) {
  std::string u(s);
  for (char& c : u) c = upperAscii(c);
  return u;
}

bool equalNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (upperAscii(a[i]) != upperAscii(b[i])) return false;
  return true;
}

// A fresh read-only descriptor at offset 0 holding bytes: an in-memory file where the system has
// them, otherwise an unlinked temporary file.
int openBytes(std::string_view bytes) {
  int fd = ::memfd_create("tarvik-fuzz", MFD_CLOEXEC);
  if (fd < 0) {
    const char* base = std::getenv("TMPDIR");
    std::string tmpl = std::string(base && *base ? base : "/tmp") + "/tarvik-fuzz-bytes-XXXXXX";
    fd = ::mkstemp(tmpl.data());
    if (fd < 0) return -1;
    ::unlink(tmpl.c_str());
  }
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) {
      ::close(fd);
      return -1;
    }
    done += static_cast<size_t>(n);
  }
  if (::lseek(fd, 0, SEEK_SET) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// What a text-mode reader delivers of the bytes: in scan mode everything before the first Ctrl-Z
// without carriage returns, in repair mode every CR LF pair as one line feed.
std::string scanStream(std::string_view in) {
  std::string s;
  for (char c : in) {
    if (c == '\x1a') break;
    if (c != '\r') s.push_back(c);
  }
  return s;
}

std::string repairStream(std::string_view in) {
  std::string s;
  for (size_t i = 0; i < in.size(); ++i) {
    if (in[i] == '\r' && i + 1 < in.size() && in[i + 1] == '\n') continue;
    s.push_back(in[i]);
  }
  return s;
}

struct Params {
  int64_t expected = 0;
  RecordKind kind = RecordKind::PlainRecord;
  int32_t maxLineLength = 1023;
  int32_t numHeaderLines = 0;
  uint8_t headerChoice = 0;
  long faultAt = 0;
  int delimChoice = 0;
  bool alternate = false;
  char repairSymbol = '\n';
};

Params readParams(const uint8_t* data, size_t size) {
  uint8_t b[4] = {0, 0, 0, 0};
  for (size_t i = 0; i < 4 && i < size; ++i) b[i] = data[i];
  static const int32_t kLimits[8] = {1023, 1023, 8, 24, 64, 200, 512, 4096};
  Params p;
  p.expected = b[0] % 40;
  p.kind = static_cast<RecordKind>(b[1] % 3);
  p.repairSymbol = (b[1] / 24) % 2 == 0 ? '\n' : '\r';
  p.maxLineLength = kLimits[(b[1] / 3) % 8];
  p.numHeaderLines = b[2] % 64;
  p.headerChoice = b[2];
  p.faultAt = b[3] % 24;
  p.delimChoice = (b[3] / 24) % 8;
  p.alternate = b[3] >= 192;
  return p;
}

// The delimiter sets of the tokenizer check; the last one is taken from the text itself.
std::string delimiterSet(int choice, std::string_view text) {
  static const char* const kSets[7] = {" ,\t\r\n", " \t\r\n", ", ", ",", "", ";:", " \r\n"};
  if (choice < 7) return kSets[choice];
  std::string d;
  for (size_t i = 0; i < text.size() && d.size() < 3; ++i)
    if (text[i] != '\0') d.push_back(text[i]);
  return d;
}

// ---------------------------------------------------------------------------------------------
// The token tests.

// The tokenizer splits as strtok does (compared with strtok_r where the text holds no NUL byte),
// returns tokens inside the text that hold no delimiter, and keeps its positions consistent.
void checkTokenizer(Outcome& out, std::string_view text, const std::string& d1, const std::string& d2, bool alternate,
                    std::vector<std::string_view>& tokens) {
  Tokenizer tok(text, d1.c_str());
  const bool hasNul = text.find('\0') != npos;
  std::string copy(text);
  char* save = nullptr;
  for (size_t i = 0; i <= text.size() + 1; ++i) {
    const std::string& d = (alternate && i % 2 == 1) ? d2 : d1;
    const size_t before = tok.position();
    std::string_view t;
    const bool got = i % 3 == 2 && !alternate ? tok.next(t) : tok.next(t, d.c_str());
    TK_REQUIRE(tok.position() <= text.size(), text);
    TK_REQUIRE(tok.position() >= before, text);
    const char* ref = hasNul ? nullptr : strtok_r(i == 0 ? copy.data() : nullptr, d.c_str(), &save);
    if (!got) {
      TK_REQUIRE(hasNul || ref == nullptr, text);
      TK_REQUIRE(tok.position() == text.size(), text);
      return;
    }
    TK_REQUIRE(!t.empty(), text);
    TK_REQUIRE(t.data() >= text.data() + before && t.data() + t.size() <= text.data() + text.size(), text);
    const size_t start = static_cast<size_t>(t.data() - text.data());
    const size_t end = start + t.size();
    TK_REQUIRE(tok.tokenEnd() == end, text);
    for (size_t k = before; k < start; ++k) TK_REQUIRE(inDelims(text[k], d), text);
    for (char c : t) TK_REQUIRE(!inDelims(c, d), text);
    if (tok.endedByDelimiter()) {
      TK_REQUIRE(end < text.size() && inDelims(text[end], d) && tok.position() == end + 1, text);
    } else {
      TK_REQUIRE(end == text.size() && tok.position() == text.size(), text);
    }
    TK_REQUIRE(tok.rest() == text.substr(tok.position()), text);
    if (!hasNul) {
      TK_REQUIRE(ref != nullptr, text);
      TK_REQUIRE(static_cast<size_t>(ref - copy.data()) == start && std::strlen(ref) == t.size(), text);
    }
    tokens.push_back(t);
  }
  TK_REQUIRE(!"the tokenizer returned more tokens than the text has bytes", text);
}

// The character walk stops at the first character that breaks it, and the whole-text tests agree
// with it on texts without blanks.
void checkNumberTests(Outcome& out, std::string_view t) {
  const TokenCheck chars = checkNumberChars(t);
  const TokenCheck num = isNumberToken(t);
  TK_REQUIRE(chars.position <= t.size() && num.position <= t.size(), t);
  if (chars.ok) {
    TK_REQUIRE(chars.position == t.size(), t);
    TK_REQUIRE(num.ok || t[num.position] == '-' || t[num.position] == '+', t);
  } else {
    TK_REQUIRE(chars.position < t.size(), t);
    TK_REQUIRE(!num.ok && num.position == chars.position, t);
    const TokenCheck before = checkNumberChars(t.substr(0, chars.position));
    const TokenCheck upTo = checkNumberChars(t.substr(0, chars.position + 1));
    TK_REQUIRE(before.ok && !upTo.ok && upTo.position == chars.position, t);
  }
  const bool real = isRealText(t), integer = isIntegerText(t);
  TK_REQUIRE(integer == (real && t.find('.') == npos), t);
  if (t.size() > 126) TK_REQUIRE(!real, t);
  if (t.find_first_of(" \t") == npos) TK_REQUIRE(real == (t.size() <= 126 && chars.ok), t);
}

// leadingReal reads what strtod reads in the C locale, except inf, nan and hexadecimal numbers.
void checkLeadingReal(Outcome& out, std::string_view s) {
  size_t consumed = s.size() + 7;
  const double v = leadingReal(s, &consumed);
  TK_REQUIRE(consumed <= s.size(), s);
  TK_REQUIRE(sameBits(v, leadingReal(s)), s);
  size_t i = 0;
  while (i < s.size() && isCSpace(s[i])) ++i;
  const bool negative = i < s.size() && s[i] == '-';
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  const bool starts = i < s.size() && (isDigit(s[i]) || (s[i] == '.' && i + 1 < s.size() && isDigit(s[i + 1])));
  if (!starts) {
    TK_REQUIRE(consumed == 0 && sameBits(v, 0.0), s);
    return;
  }
  if (s[i] == '0' && i + 1 < s.size() && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    TK_REQUIRE(consumed == i + 1 && sameBits(v, negative ? -0.0 : 0.0), s);
    return;
  }
  const std::string copy(s);
  char* end = nullptr;
  const double ref = strtod_l(copy.c_str(), &end, cLocale());
  TK_REQUIRE(consumed == static_cast<size_t>(end - copy.c_str()), s);
  TK_REQUIRE(sameBits(v, ref), s);
}

// leadingInt reads as glibc's atoi (strtol truncated to int); scanInt reads integer after integer.
void checkIntegers(Outcome& out, std::string_view s) {
  const std::string copy(s);
  const long ref = strtol_l(copy.c_str(), nullptr, 10, cLocale());
  TK_REQUIRE(leadingInt(s) == static_cast<int32_t>(static_cast<uint32_t>(static_cast<unsigned long>(ref))), s);
  size_t pos = 0;
  for (size_t round = 0; round <= s.size(); ++round) {
    const size_t old = pos;
    int32_t v = 12345;
    if (!scanInt(s, pos, v)) {
      TK_REQUIRE(pos == old && v == 12345, s);
      return;
    }
    TK_REQUIRE(pos > old && pos <= s.size(), s);
    TK_REQUIRE(isDigit(s[pos - 1]), s);
    TK_REQUIRE(v == leadingInt(s.substr(old)), s);
  }
  TK_REQUIRE(!"scanInt read more integers than the text has bytes", s);
}

// The name and text comparisons are reflexive and symmetric, ignore case, and write their warning
// exactly for the texts too long to compare.
void checkComparisons(Outcome& out, std::string_view a, std::string_view b, char stop, size_t limit) {
  TK_REQUIRE(sameShortName(a, a, stop), a);
  TK_REQUIRE(sameShortName(a, b, stop) == sameShortName(b, a, stop), a);
  if (!isAsciiLetter(stop)) TK_REQUIRE(sameShortName(a, upperText(a), stop), a);

  Report report;
  size_t before = report.contents().size();
  const bool same = sameTextNoCase(&report, a, b);
  const bool tooLong = a.size() == b.size() && a.size() >= 255;
  TK_REQUIRE(same == (!tooLong && equalNoCase(a, b)), a);
  TK_REQUIRE((report.contents().size() > before) == tooLong, a);
  TK_REQUIRE(same == sameTextNoCase(nullptr, b, a), a);

  before = report.contents().size();
  const bool prefix = samePrefixNoCase(&report, a, b, limit);
  const size_t n = std::min({a.size(), b.size(), limit});
  TK_REQUIRE(prefix == (n <= 254 && equalNoCase(a.substr(0, n), b.substr(0, n))), a);
  TK_REQUIRE((report.contents().size() > before) == (n > 254), a);
  if (same) TK_REQUIRE(samePrefixNoCase(nullptr, a, b, a.size()), a);
}

// The item count: the comment cut of header lines, commas turned into blanks, and one message
// exactly when the count does not match.
void checkItemCounts(Outcome& out, std::string_view line, int64_t expected, int64_t lineNumber, int32_t nh) {
  ScanContext ctx;
  ctx.hdr.numHeaderLines = nh;
  std::string text(line);
  const int32_t code = checkItemCount(ctx, text, expected, lineNumber);
  std::string cut(line);
  if (lineNumber == 1 || lineNumber < nh) cut = cut.substr(0, cut.find(';'));
  const bool wrote = !ctx.report.contents().empty();
  if (expected == 1) {
    TK_REQUIRE(code == 0 && text == cut && !wrote, line);
    return;
  }
  const int64_t commas = static_cast<int64_t>(std::count(cut.begin(), cut.end(), ','));
  const int64_t replace = expected == 2 ? std::min<int64_t>(commas, 1) : std::min<int64_t>(commas, 100 * expected + 1);
  std::string blanked = cut;
  int64_t done = 0;
  for (char& c : blanked)
    if (c == ',' && done < replace) {
      c = ' ';
      ++done;
    }
  const bool pass = commas == expected - 1;
  TK_REQUIRE(code == (pass ? 0 : 10), line);
  TK_REQUIRE(text == blanked, line);
  TK_REQUIRE(ctx.run.echoBuffer == cut, line);
  TK_REQUIRE(wrote == !pass, line);
}

// The line-length test: too long lines are refused with a message; more than five trailing blanks
// are cut, leaving the text before them and one line feed.
void checkLineLengths(Outcome& out, std::string_view line, int32_t maxLineLength) {
  ScanContext ctx;
  ctx.run.maxLineLength = maxLineLength;
  std::string text(line);
  const size_t kept = checkLineLength(ctx, 2, text, "fuzz");
  if (static_cast<int64_t>(line.size()) > maxLineLength - 32) {
    TK_REQUIRE(kept == 0 && !ctx.report.contents().empty(), line);
    return;
  }
  TK_REQUIRE(kept == text.size(), line);
  if (text == line) {
    TK_REQUIRE(ctx.report.contents().empty(), line);
    return;
  }
  TK_REQUIRE(!text.empty() && text.back() == '\n', line);
  const std::string_view keep = std::string_view(text).substr(0, text.size() - 1);
  TK_REQUIRE(!keep.empty() && line.substr(0, keep.size()) == keep, line);
  const std::string_view cut = line.substr(keep.size());
  TK_REQUIRE(cut.find_first_not_of(" \r\n") == npos, line);
  TK_REQUIRE(std::count(cut.begin(), cut.end(), ' ') > 5, line);
  TK_REQUIRE(keep.size() == 1 || std::string_view(" \r\n").find(keep.back()) == npos, line);
  TK_REQUIRE(!ctx.report.contents().empty(), line);
}

// ---------------------------------------------------------------------------------------------
// The text reader.

// Reads the whole text line by line and then character by character after a rewind, with a reader
// that stands at the start of the text.
void checkReader(Outcome& out, TextReader& reader, std::string_view text, bool scanMode, size_t maxChars) {
  const std::string stream = scanMode ? scanStream(text) : repairStream(text);
  std::string line;
  size_t at = 0;
  for (size_t round = 0;; ++round) {
    TK_REQUIRE(round <= stream.size() + 1, text);
    const size_t n = reader.readLine(line, maxChars);
    TK_REQUIRE(n == line.size(), text);
    const size_t lf = stream.find('\n', at);
    const size_t len = (lf != npos && lf - at < maxChars) ? lf - at + 1 : std::min(maxChars, stream.size() - at);
    TK_REQUIRE(std::string_view(line) == std::string_view(stream).substr(at, len), text);
    at += len;
    if (n == 0) break;
    const bool metEnd = line.back() != '\n' && line.size() < maxChars;
    TK_REQUIRE(reader.eof() == metEnd, text);
    if (metEnd) TK_REQUIRE(at == stream.size(), text);
  }
  TK_REQUIRE(reader.eof() && at == stream.size() && !reader.readError(), text);
  if (scanMode) {
    const size_t z = text.find('\x1a');
    TK_REQUIRE(reader.ctrlZSeen() == (z != npos), text);
    if (z != npos) TK_REQUIRE(reader.ctrlZOffset() == static_cast<int64_t>(z), text);
  }
  // Character by character after a rewind: the same stream.
  TK_REQUIRE(reader.rewind(), text);
  TK_REQUIRE(!reader.eof() && !reader.ctrlZSeen(), text);
  std::string chars;
  for (;;) {
    const int c = reader.get();
    if (c == TextReader::kEnd) break;
    TK_REQUIRE(c >= 0 && c <= 255, text);
    chars.push_back(static_cast<char>(c));
    TK_REQUIRE(chars.size() <= stream.size(), text);
  }
  TK_REQUIRE(chars == stream && reader.eof(), text);
}

// ---------------------------------------------------------------------------------------------
// The data-record reader.

// Steps 8 to 11 of the record reader, through the public tests only: what the line-by-line checks
// make of text. True when they accept it, with the values they store.
bool slowRecord(std::string text, int64_t expected, int64_t lineNumber, int32_t nh, std::vector<double>& values) {
  ScanContext ctx;
  ctx.hdr.numHeaderLines = nh;
  if (checkItemCount(ctx, text, expected, lineNumber) != 0) return false;
  if (!checkNumberChars(text).ok) return false;
  Tokenizer tok(text, " \t\r\n");
  std::string_view t;
  int64_t count = 0;
  while (tok.next(t)) {
    if (!isNumberToken(t).ok) return false;
    if (count < expected) values[static_cast<size_t>(count)] = leadingReal(t);
    if (++count > 2 * expected) break;
  }
  return count == expected;
}

// Reads the text as a data section. Every line that reaches the checks gets the same verdict and
// the same values from the one-pass reading of clean lines as from the checks one by one.
void checkDataRecords(Outcome& out, ScanContext& ctx, std::string_view text, const Params& p) {
  ctx.run.maxLineLength = p.maxLineLength;
  ctx.run.endOfData = false;
  ctx.hdr.numHeaderLines = p.numHeaderLines;
  ctx.hdr.numVariables = static_cast<int32_t>(p.expected > 0 ? p.expected - 1 : 0);
  ctx.hdr.numAuxVariables = ctx.hdr.numVariables;
  const size_t room = static_cast<size_t>(std::max<int64_t>(p.expected, 1));
  std::vector<double> values(room), reference(room);
  // No line can equal this: every line is shorter than the line-length limit.
  const std::string unread(static_cast<size_t>(p.maxLineLength) + 1, '#');
  for (int64_t lineNumber = p.numHeaderLines + 1;; ++lineNumber) {
    TK_REQUIRE(lineNumber <= p.numHeaderLines + 1 + static_cast<int64_t>(text.size()), text);
    ctx.run.echoBuffer = unread;
    std::fill(values.begin(), values.end(), -4.25e300);
    const size_t reportBefore = ctx.report.contents().size();
    int32_t complete = -1;
    const int32_t code = readDataRecord(ctx, values.data(), lineNumber, p.expected, complete, p.kind);
    const std::string& line = ctx.run.lineBuffer;
    TK_REQUIRE(complete == 0 || complete == 1, line);
    TK_REQUIRE(code == 0 || code == 10 || code == 18 || code == 19, line);
    if (complete == 1) TK_REQUIRE(code == 0 && ctx.report.contents().size() == reportBefore, line);
    if (code == 0 && complete == 0) TK_REQUIRE(ctx.run.endOfData, line);
    if (p.expected >= 2) {
      if (ctx.run.echoBuffer == unread) {
        // The reader stopped before the item count (blank lines, the end, an over-long line).
        TK_REQUIRE(complete == 0, line);
      } else {
        const std::string analysed = ctx.run.echoBuffer;
        const bool accepted = slowRecord(analysed, p.expected, lineNumber, p.numHeaderLines, reference);
        TK_REQUIRE(accepted == (complete == 1), analysed);
        if (!accepted) TK_REQUIRE(code == 10, analysed);
        for (size_t i = 0; accepted && i < room; ++i) TK_REQUIRE(sameBits(values[i], reference[i]), analysed);
      }
    }
    if (code != 0 || complete == 0) return;
  }
}

// ---------------------------------------------------------------------------------------------
// The header line readers (lines 1, 6, 7 and 8 in turn over the lines of the text).

void checkHeaderLines(Outcome& out, ScanContext& ctx, std::string_view text, const Params& p) {
  static const char* const kClasses[4] = {"UNIDENTIFIED", "SATELLITE", "GROUND", "AIRCRAFT"};
  static const char* const kIds[4] = {"FUZZ-TEST", "MRG10", "GEOS-CHEM-X", "TEST-mrg5"};
  ctx.run.maxLineLength = p.maxLineLength;
  ctx.run.timeIntervalType = (p.headerChoice & 1) ? ConstantEqual : StartStopMid;
  ctx.run.allowExtraIntervals = (p.headerChoice & 2) != 0;
  ctx.fn.locationClass = kClasses[(p.headerChoice >> 2) & 3];
  ctx.fn.dataID = kIds[(p.headerChoice >> 4) & 3];
  ctx.fn.volume = p.headerChoice >> 6;
  ctx.fn.year = 2019;
  ctx.fn.month = 5;
  ctx.fn.day = 21;
  HeaderInfo& h = ctx.hdr;
  for (size_t i = 0; i <= text.size(); ++i) {
    ctx.checks.headerEndedEarly = false;
    const int which = static_cast<int>(i % 4);
    int32_t code = 0;
    if (which == 0) code = readLine1(ctx);
    if (which == 1) code = readLine6(ctx);
    if (which == 2) code = readLine7(ctx);
    if (which == 3) code = readLine8(ctx);
    const std::string& line = ctx.run.lineBuffer;
    TK_REQUIRE(code == 0 || code == 10, line);
    if (ctx.checks.headerEndedEarly) {
      TK_REQUIRE(code == 10 && line.empty(), text);
      return;
    }
    if (code != 0) continue;
    if (which == 0) {
      TK_REQUIRE(h.numHeaderLines >= 15 && h.numHeaderLines <= 4000, line);
      TK_REQUIRE(h.ffi == 1001 || h.ffi == 2110 || h.ffi == 2310, line);
    } else if (which == 1) {
      const int32_t v = ctx.fn.volume > 0 ? ctx.fn.volume : 1;
      TK_REQUIRE(h.volumeNumber == 1 || h.volumeNumber == v, line);
      TK_REQUIRE(h.volumeCount >= v, line);
    } else if (which == 2) {
      const int32_t* c = h.collectionDate;
      const int32_t* r = h.revisionDate;
      TK_REQUIRE(c[0] == 2019 && c[1] == 5 && c[2] == 21, line);
      TK_REQUIRE(r[0] >= 1980 && r[0] <= 2029 && r[1] >= 1 && r[1] <= 12 && r[2] >= 1 && r[2] <= 31, line);
      TK_REQUIRE(r[0] > c[0] || (r[0] == c[0] && (r[1] > c[1] || (r[1] == c[1] && r[2] >= c[2]))), line);
    } else {
      TK_REQUIRE(isRealText(line), line);
      TK_REQUIRE(sameBits(h.dataInterval, leadingReal(line)), line);
      TK_REQUIRE(h.dataIntervalIsInteger == (isIntegerText(line) ? 1 : 0), line);
    }
  }
}

// ---------------------------------------------------------------------------------------------
// The line-ending repair over an in-memory file system, with one chosen file operation failing.

struct MemFs {
  std::map<std::string, std::shared_ptr<std::string>> files;
  std::map<int, std::shared_ptr<std::string>> writers;  // descriptors opened for writing (not real)
  std::set<int> readers;                                // real descriptors handed out for reading
  int nextWriter = 1 << 29;
  long calls = 0;
  long failAt = 0;
  bool failNow() {
    if (++calls != failAt) return false;
    errno = EIO;
    return true;
  }
};

MemFs* g_fs = nullptr;

int memOpen(const char* path, int flags, unsigned) {
  if (g_fs->failNow()) return -1;
  auto it = g_fs->files.find(path);
  if ((flags & O_ACCMODE) == O_RDONLY) {
    if (it == g_fs->files.end()) {
      errno = ENOENT;
      return -1;
    }
    const int fd = openBytes(*it->second);
    if (fd < 0) {
      errno = EMFILE;
      return -1;
    }
    g_fs->readers.insert(fd);
    return fd;
  }
  if (it == g_fs->files.end()) {
    if (!(flags & O_CREAT)) {
      errno = ENOENT;
      return -1;
    }
    it = g_fs->files.emplace(path, std::make_shared<std::string>()).first;
  } else {
    if ((flags & O_CREAT) && (flags & O_EXCL)) {
      errno = EEXIST;
      return -1;
    }
    if (flags & O_TRUNC) it->second->clear();
  }
  const int fd = g_fs->nextWriter++;
  g_fs->writers[fd] = it->second;
  return fd;
}

long memRead(int fd, void* data, unsigned long size) {
  if (g_fs->failNow()) return -1;
  return ::read(fd, data, size);
}

long memWrite(int fd, const void* data, unsigned long size) {
  if (g_fs->failNow()) return -1;
  auto it = g_fs->writers.find(fd);
  if (it == g_fs->writers.end()) {
    errno = EBADF;
    return -1;
  }
  it->second->append(static_cast<const char*>(data), size);
  return static_cast<long>(size);
}

int memSync(int fd) {
  if (g_fs->failNow()) return -1;
  if (!g_fs->writers.count(fd)) {
    errno = EBADF;
    return -1;
  }
  return 0;
}

int memClose(int fd) {
  // A failing close still releases the descriptor, as close(2) does.
  const bool fails = g_fs->failNow();
  if (g_fs->writers.erase(fd) == 0) {
    if (!g_fs->readers.count(fd)) {
      errno = EBADF;
      return -1;
    }
    ::close(fd);
  }
  if (fails) {
    errno = EIO;
    return -1;
  }
  return 0;
}

int memRename(const char* from, const char* to) {
  if (g_fs->failNow()) return -1;
  auto it = g_fs->files.find(from);
  if (it == g_fs->files.end()) {
    errno = ENOENT;
    return -1;
  }
  auto file = it->second;
  g_fs->files.erase(it);
  g_fs->files[to] = file;
  return 0;
}

int memRemove(const char* path) {
  if (g_fs->failNow()) return -1;
  if (g_fs->files.erase(path) == 0) {
    errno = ENOENT;
    return -1;
  }
  return 0;
}

const RepairFileOps kMemOps{memOpen, memRead, memWrite, memSync, memClose, memRename, memRemove};

// What the repair writes for the text: every piece between line-end symbols, ended by CR LF.
std::string expectedRepair(std::string_view text, char symbol, bool& tooLong) {
  const std::string s = repairStream(text);
  std::string result, piece;
  tooLong = false;
  auto finish = [&] {
    if (piece.size() > 4093) tooLong = true;
    for (char c : piece) {
      if (c == '\n') result.push_back('\r');
      result.push_back(c);
    }
    result += "\r\n";
    piece.clear();
  };
  for (char c : s) {
    if (c == symbol || (symbol == '\n' && c == '\r'))
      finish();
    else
      piece.push_back(c);
  }
  finish();
  return result;
}

void checkRepair(Outcome& out, std::string_view text, char symbol, long failAt) {
  // Every file operation of the repair goes to memory, but it also asks the disk directly whether
  // the path exists (stat, access): the root folder always does, as a submitted file does. Its
  // owner and permission calls then reach the in-memory descriptor, which no real one can equal,
  // and fail harmlessly.
  const std::string path = "/";
  MemFs fs;
  fs.failAt = failAt;
  fs.files[path] = std::make_shared<std::string>(text);
  g_fs = &fs;
  std::string message;
  const int32_t code = repairLineEndings(path, message, symbol, kMemOps);
  g_fs = nullptr;
  bool tooLong = false;
  const std::string expected = expectedRepair(text, symbol, tooLong);
  TK_REQUIRE(code == 0 || code == -1, text);
  TK_REQUIRE(fs.writers.empty(), text);
  for (int fd : fs.readers) TK_REQUIRE(::fcntl(fd, F_GETFD) == -1, text);
  auto it = fs.files.find(path);
  TK_REQUIRE(it != fs.files.end(), text);
  if (code == 0)
    TK_REQUIRE(!tooLong && *it->second == expected, text);
  else
    TK_REQUIRE(*it->second == text, text);
  if (code == -1 && !tooLong) TK_REQUIRE(!message.empty(), text);
  if (failAt == 0 || fs.calls < failAt) {
    TK_REQUIRE(code == (tooLong ? -1 : 0), text);
    TK_REQUIRE(fs.files.size() == 1, text);
  }
}

// ---------------------------------------------------------------------------------------------

void runAll(Outcome& out, const uint8_t* data, size_t size) {
  const Params p = readParams(data, size);
  const std::string_view text = size > 4 ? std::string_view(reinterpret_cast<const char*>(data) + 4, size - 4)
                                         : std::string_view();

  // The lines of the text, each with its line feed.
  std::vector<std::string_view> lines;
  for (size_t start = 0; start < text.size();) {
    const size_t lf = text.find('\n', start);
    const size_t end = lf == npos ? text.size() : lf + 1;
    lines.push_back(text.substr(start, end - start));
    start = end;
  }

  const std::string d1 = delimiterSet(p.delimChoice, text);
  const std::string d2 = delimiterSet((p.delimChoice + 3) % 8, text);
  const std::string fields = " ,\t\r\n";
  std::vector<std::string_view> tokens;
  std::string_view previous;
  for (size_t k = 0; k < lines.size(); ++k) {
    const std::string_view line = lines[k];
    tokens.clear();
    checkTokenizer(out, line, d1, d2, p.alternate, tokens);
    checkTokenizer(out, line, fields, fields, false, tokens);
    if (out.failed()) return;
    tokens.push_back(line);
    for (std::string_view t : tokens) {
      checkNumberTests(out, t);
      checkLeadingReal(out, t);
      checkIntegers(out, t);
      if (out.failed()) return;
    }
    const char stop = line.empty() ? ':' : line[0];
    checkComparisons(out, line, previous, stop, static_cast<size_t>(p.headerChoice) * 2);
    if (tokens.size() >= 2) checkComparisons(out, tokens[0], tokens[1], ':', npos);
    checkItemCounts(out, line, p.expected, 1, p.numHeaderLines);
    checkItemCounts(out, line, p.expected, p.numHeaderLines > 2 ? p.numHeaderLines - 1 : 2, p.numHeaderLines);
    checkItemCounts(out, line, p.expected, p.numHeaderLines + 1 + static_cast<int64_t>(k), p.numHeaderLines);
    checkLineLengths(out, line, p.maxLineLength);
    if (out.failed()) return;
    previous = line;
  }
  // One scan-mode reader serves the reader check, the header lines and the data records, each
  // from a rewind (every reader allocates a large buffer, the main cost of a run under ASan).
  const size_t maxChars = static_cast<size_t>(p.maxLineLength - 1);
  ScanContext ctx;
  const int fd = openBytes(text);
  TK_REQUIRE(fd >= 0, text);
  TK_REQUIRE(ctx.run.input.adopt(fd, TextReader::Mode::Scan), text);
  checkReader(out, ctx.run.input, text, true, maxChars);
  if (out.failed()) return;
  TK_REQUIRE(ctx.run.input.rewind(), text);
  checkHeaderLines(out, ctx, text, p);
  if (out.failed()) return;
  TK_REQUIRE(ctx.run.input.rewind(), text);
  checkDataRecords(out, ctx, text, p);
  if (out.failed()) return;
  {
    TextReader repairReader;
    const int rfd = openBytes(text);
    TK_REQUIRE(rfd >= 0, text);
    TK_REQUIRE(repairReader.adopt(rfd, TextReader::Mode::Repair), text);
    checkReader(out, repairReader, text, false, maxChars);
    if (out.failed()) return;
  }
  checkRepair(out, text, p.repairSymbol, p.faultAt);
}

}  // namespace

std::string runTokenChecks(const uint8_t* data, size_t size) {
  Outcome out;
  try {
    runAll(out, data, size);
  } catch (const std::exception& e) {
    out.failure = std::string("exception: ") + e.what();
  } catch (...) {
    out.failure = "exception of unknown type";
  }
  return out.failure;
}

}  // namespace tarvik::fuzz
