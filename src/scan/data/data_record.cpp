#include "scan/data/data_record.h"

#include <cstring>
#include <string>
#include <string_view>

#include "scan/core/scan_context.h"
#include "scan/core/tokens.h"
#include "scan/lines/line_input.h"

namespace tarvik {

namespace {

bool isBlankLine(std::string_view s) {
  for (char c : s)
    if (c != ' ' && c != ',' && c != '\t' && c != '\n' && c != '\r') return false;
  return true;
}

// Exact powers of ten for the plain decimals below.
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

inline bool endsToken(const char* p, const char* end) {
  return p == end || *p == ',' || *p == ' ' || *p == '\n' || *p == '\r';
}

// A token of the plain form [-+]digits[.digits] with at most 15 digits: its value, computed
// exactly as the general conversion computes it (both operands are exact doubles, so the one
// division is correctly rounded). False for any other token, and p is left where it was.
inline bool plainDecimal(const char*& p, const char* end, double& value) {
  const char* q = p;
  bool negative = false;
  if (q < end && (*q == '-' || *q == '+')) negative = *q++ == '-';
  uint64_t mantissa = 0;
  int digits = 0, fraction = 0;
  while (q < end && *q >= '0' && *q <= '9') {
    mantissa = mantissa * 10 + static_cast<uint64_t>(*q++ - '0');
    ++digits;
  }
  if (q < end && *q == '.') {
    ++q;
    while (q < end && *q >= '0' && *q <= '9') {
      mantissa = mantissa * 10 + static_cast<uint64_t>(*q++ - '0');
      ++digits;
      ++fraction;
    }
  }
  if (digits == 0 || digits > 15 || !endsToken(q, end)) return false;
  const double v = static_cast<double>(mantissa) / kPowersOfTen[fraction];
  value = negative ? -v : v;
  p = q;
  return true;
}

// The common case in one pass over the line: when the line has the expected number of commas and
// every token is a number, the values are those the checks below would store, and no check would
// write anything. Anything else goes through the checks one by one for their messages.
// Kept out of line: the loop that reads nearly every value of a scan then gets its registers and
// layout to itself, whatever the checks around its caller become (about 8 % of a whole scan).
[[gnu::noinline]] bool readCleanLine(std::string_view text, double* values, int64_t expected) {
  if (expected < 2) return false;
  const char* p = text.data();
  const char* const end = p + text.size();
  int64_t commas = 0, count = 0;
  while (p < end) {
    const char c = *p;
    if (c == ',') {
      ++commas;
      ++p;
      continue;
    }
    if (c == ' ' || c == '\n' || c == '\r') {
      ++p;
      continue;
    }
    if (count >= expected) return false;
    if (plainDecimal(p, end, values[count])) {
      ++count;
      continue;
    }
    const char* start = p;
    while (!endsToken(p, end)) ++p;
    const std::string_view token(start, static_cast<size_t>(p - start));
    if (!isNumberToken(token).ok) return false;
    values[count++] = leadingReal(token);
  }
  return commas == expected - 1 && count == expected;
}

}  // namespace

int32_t readDataRecord(ScanContext& ctx, double* values, int64_t lineNumber, int64_t expectedCount, int32_t& complete,
                       RecordKind kind) {
  ScanRun& run = ctx.run;
  Report& r = ctx.report;
  std::string& text = run.lineBuffer;
  complete = 0;

  // Step 1: read, passing over blank lines.
  int blankLines = 0;
  for (int pass = 0; pass < 8; ++pass) {
    text.clear();
    size_t n = readInputLine(ctx);
    if (n == 0 || run.input.eof() || run.endOfData) {
      run.endOfData = true;
      break;
    }
    if (!isBlankLine(text)) break;
    ++blankLines;
  }

  // Step 2: an unterminated last line.
  if (run.endOfData && text.size() > 2) {
    r.warning("End-of-file reached. Line%d might NOT be terminated correctly, or missing end-of-line char [CRLF]. <br>\n", lineNumber);
    if (text.find_first_not_of(" \t") != std::string::npos) {
      r.error(
          "Error: Line%d seems NOT empty but missing EOL char. This line needs to be terminated correctly. <br>\n",
          lineNumber);
      return 10;
    }
  }

  // Step 3: a line that filled the buffer, or a long blank last line in place of the first record.
  const int64_t len = static_cast<int64_t>(text.size());
  if (len >= run.maxLineLength - 2 ||
      (lineNumber == static_cast<int64_t>(ctx.hdr.numHeaderLines) + 1 && run.endOfData &&
       len > 32 * static_cast<int64_t>(ctx.hdr.numVariables))) {
    r.beginError();
    r.printf("Line%d: End-of-line Error. This error could be due to the file being written or transferred in binary mode on your machine. ", lineNumber);
    r.write("Please use a Text Editor to open the file and then save it (i.e., overwrite existing text) within the Text Editor.<br>\n");
    r.endBlock();
    return 10;
  }

  // Steps 4 to 6.
  if (blankLines > 4) return 18;
  if (run.endOfData) return 0;
  if (blankLines > 0) {
    r.error("Line%d is empty.<br>\n", lineNumber);
    return 19;
  }

  // Step 7: one trailing comma on an unbounded-variable line is tolerated.
  if (kind == RecordKind::UnboundedLine) {
    for (size_t k = 0; k < 15 && k < text.size(); ++k) {
      char& c = text[text.size() - 1 - k];
      if (c == '\n' || c == '\r' || c == ' ') continue;
      if (c == ',') c = ' ';
      break;
    }
  }

  if (readCleanLine(text, values, expectedCount)) {
    // The echo copy the item count keeps: a later line of one item (not counted) echoes it.
    run.echoBuffer.assign(text);
    complete = 1;
    return 0;
  }

  // Step 8: the item count (commas become blanks).
  int32_t status = checkItemCount(ctx, text, expectedCount, lineNumber);

  // Step 9: the character test over the whole line.
  const TokenCheck chars = checkNumberChars(text);
  if (!chars.ok) {
    const size_t p = chars.position;
    const unsigned char c = static_cast<unsigned char>(text[p]);
    r.beginError();
    r.printf("<br>Data Error on Line%d: Found an invalid character on this line at location %d. \n", lineNumber, p + 1);
    if (c == '\t')
      r.write("The invalid character is a 'Tab'.<br>\n");
    else
      r.printf("The invalid character is a '%c' (Hex = %x).<br>\n", static_cast<char>(c), static_cast<unsigned>(c));
    if (lineNumber - 1 <= ctx.hdr.numHeaderLines)
      r.printf("This error could also be due to the number of lines in header (NH on line1 = %d) not being correct.<br>\n",
               ctx.hdr.numHeaderLines);
    r.endBlock();
    r.echo(Echo::A, lineNumber, run.echoBuffer);
    return 10;
  }

  // Step 10: the tokens.
  Tokenizer tok(text, " \t\r\n");
  std::string_view t;
  int64_t count = 0, stored = 0;
  bool stoppedEarly = false;
  while (tok.next(t)) {
    ++count;
    if (!isNumberToken(t).ok) {
      if (status == 0) {
        r.error("<br>Data Error on Line%d: Found invalid character(s) on this line (Var%d = %s)", lineNumber, count, t);
        status = 10;
      } else {
        r.error(", (Var%d = %s)", count, t);
      }
    }
    const double v = leadingReal(t);
    if (stored < expectedCount) values[stored++] = v;
    if (count > 2 * expectedCount) {
      stoppedEarly = true;
      break;
    }
  }

  // Steps 11 and 12.
  if (status != 0) return status;
  if (count == expectedCount) {
    complete = 1;
    return 0;
  }
  r.beginError();
  r.printf("Data Error on Line%d (record incorrect): The total number of data points read%s%d) on this line \n", lineNumber,
           stoppedEarly ? "(> " : "(", count);
  if (kind == RecordKind::PlainRecord)
    r.printf("does not match those in the header (Independent(1)+ NV(%d) = %d(expected)).<br>\n", ctx.hdr.numVariables,
             expectedCount);
  else if (kind == RecordKind::UnboundedLine)
    r.printf("does not match those in the header (Unbounded_IndepVar(1) + NumAuxVars(%d) = %d(expected)).<br>\n",
             ctx.hdr.numAuxVariables, expectedCount);
  else
    r.printf(" is NOT_EQUAL_TO the \"number of points\" expected(%d); as was read from Auxiliary_Variable_%d on the previous line(s).<br>\n",
             expectedCount, run.timeIntervalType == StartStopMid ? 3 : 1);
  r.endBlock();
  return 10;
}

}  // namespace tarvik
