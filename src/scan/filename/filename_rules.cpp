#include "scan/filename/filename_rules.h"

#include <cstring>

#include "scan/core/scan_context.h"
#include "scan/core/tokens.h"
#include "scan/filename/location_types.h"

namespace tarvik {

namespace {

constexpr const char* kAllowedChars = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_.-";

// The character at index i of the name, or NUL past its end.
char at(const FilenameInfo& fn, int64_t i) {
  return (i >= 0 && i < static_cast<int64_t>(fn.fileName.size())) ? fn.fileName[static_cast<size_t>(i)] : '\0';
}

// Copies the comments from the cursor; 0, or 14 when they are too long.
int32_t readComments(ScanContext& ctx) {
  FilenameInfo& fn = ctx.fn;
  const int32_t s = fn.cursor;
  int32_t limit = 120 - s;
  if (limit > 63) limit = 63;
  std::string text;
  for (int32_t i = s; i < fn.nameLength && at(fn, i) != '.'; ++i) {
    text.push_back(at(fn, i));
    if (static_cast<int32_t>(text.size()) > limit) {
      int32_t keep = limit + 1 < 63 ? limit + 1 : 63;
      if (keep < 0) keep = 0;
      text.resize(static_cast<size_t>(keep));
      fn.comments = text;
      return 14;
    }
  }
  fn.comments = text;
  fn.commentsLength = static_cast<int32_t>(text.size());
  return 0;
}

}  // namespace

DigitsRead readDigits(const ScanContext& ctx, int32_t start, int32_t count, int32_t minimum, int32_t maximum,
                      int32_t failureCode) {
  int32_t value = 0;
  for (int32_t i = 0; i < count; ++i) {
    char c = at(ctx.fn, static_cast<int64_t>(start) + i);
    if (!isDigit(c)) return {failureCode, failureCode};
    value = value * 10 + (c - '0');
  }
  return {value, value < minimum || value > maximum ? failureCode : 0};
}

bool readNumberedSection(ScanContext& ctx, char letter, int32_t& value) {
  FilenameInfo& fn = ctx.fn;
  value = 0;
  if (upperAscii(at(fn, fn.cursor)) != letter) return false;
  char c1 = at(fn, fn.cursor + 1);
  if (isDigit(c1)) {
    int32_t v = c1 - '0';
    int32_t last = fn.cursor + 1;
    char c2 = at(fn, fn.cursor + 2);
    if (isDigit(c2)) {
      v = v * 10 + (c2 - '0');
      last = fn.cursor + 2;
      if (isDigit(at(fn, fn.cursor + 3))) return false;
    }
    char after = at(fn, last + 1);
    if (after != '_' && after != '.') return false;
    value = v;
    fn.cursor = last;
    return v <= 55;
  }
  if (isAsciiLetter(c1) && letter == 'R') {
    fn.revisionIsLetter = true;
    fn.cursor = fn.cursor + 1;
    fn.revision = static_cast<unsigned char>(c1);
    return true;
  }
  return false;
}

namespace {

// The rules in section order; returns at the first failure with its code.
int32_t checkSections(ScanContext& ctx) {
  FilenameInfo& fn = ctx.fn;
  fn.nameLength = static_cast<int32_t>(fn.fileName.size());

  int32_t lastPeriod = 0;
  for (int32_t i = 0; i < fn.nameLength; ++i) {
    char c = at(fn, i);
    if (c == '\0' || !std::strchr(kAllowedChars, c)) return 2;
    if (c == '.') lastPeriod = i;
  }
  const int32_t extLength = fn.nameLength - lastPeriod;
  if (lastPeriod == 0 || extLength < 2 || extLength > 4) return 3;
  if (lastPeriod < 15) return 1;
  fn.extension = fn.fileName.substr(static_cast<size_t>(lastPeriod));
  const int32_t typeStatus = classifyExtension(ctx);

  // dataID
  size_t us = fn.fileName.find('_');
  std::string id = fn.fileName.substr(0, us);
  fn.dataID = id;
  fn.dataIDLength = static_cast<int32_t>(id.size());
  if (fn.dataIDLength < 1 || fn.dataIDLength > 47) return 13;

  // locationID
  fn.cursor = fn.dataIDLength + 1;
  std::string loc;
  if (fn.cursor < fn.nameLength) {
    size_t end = fn.fileName.find('_', static_cast<size_t>(fn.cursor));
    loc = fn.fileName.substr(static_cast<size_t>(fn.cursor), end == std::string::npos ? std::string::npos
                                                                                        : end - static_cast<size_t>(fn.cursor));
  }
  fn.locationID = loc;
  fn.locationIDLength = static_cast<int32_t>(loc.size());
  if (fn.locationIDLength < 1 || fn.locationIDLength > 31) return 131;
  lookupLocation(ctx);
  fn.cursor += fn.locationIDLength + 1;

  if (fn.typeCode != 150) return typeStatus;

  // Date and time: a section that fails keeps what readDigits gave (the table shows it).
  auto digits = [&](int32_t& field, int32_t count, int32_t minimum, int32_t maximum, int32_t code) {
    const DigitsRead d = readDigits(ctx, fn.cursor, count, minimum, maximum, code);
    field = d.value;
    fn.cursor += count;
    return d.status;
  };
  if (digits(fn.year, 4, 1980, 2029, 5)) return 5;
  if (digits(fn.month, 2, 1, 12, 5)) return 5;
  if (digits(fn.day, 2, 1, 31, 5)) return 5;

  fn.hour = fn.minute = fn.second = 0;
  if (at(fn, fn.cursor) != '_') {
    if (digits(fn.hour, 2, 0, 23, 6)) return 6;
    if (at(fn, fn.cursor) != '_') {
      if (digits(fn.minute, 2, 0, 59, 6)) return 6;
      if (at(fn, fn.cursor) != '_') {
        if (digits(fn.second, 2, 0, 59, 6)) return 6;
      }
    }
  }

  // Revision
  fn.revision = 0;
  if (at(fn, fn.cursor) != '_') return 7;
  fn.cursor += 1;
  int32_t value = 0;
  if (!readNumberedSection(ctx, 'R', value)) return 7;
  if (value > 0) {
    fn.revision = value;
    Report& r = ctx.report;
    r.beginWarning();
    r.printf("Info: revision number (R=%d) detected in filename. \n", value);
    r.write("Please make sure you included text in the \"Normal Comments Section\" of the file header that's \n");
    r.write("specific to this revision. Remember, revision numbers and comments are cumulative.</p><br>\n");
    r.endBlock();
  }

  // Optional sections
  fn.launch = 1;
  fn.volume = 1;
  fn.comments.clear();
  fn.cursor += 1;
  char c = at(fn, fn.cursor);
  if (c == '.') return 0;
  if (c != '_') return 141;
  fn.cursor += 1;
  c = at(fn, fn.cursor);
  if (c == 'L' || c == 'l') {
    if (!readNumberedSection(ctx, 'L', value)) return 8;
    fn.launch = value ? value : 1;
    char n1 = at(fn, fn.cursor + 1), n2 = at(fn, fn.cursor + 2);
    if (n1 == '_' && (n2 == 'V' || n2 == 'v')) {
      fn.cursor += 2;
      if (!readNumberedSection(ctx, 'V', value)) return 9;
      fn.volume = value ? value : 1;
    }
    if (at(fn, fn.cursor + 1) == '_') {
      fn.cursor += 2;
      if (int32_t code = readComments(ctx)) return code;
    }
  } else if (c == 'V' || c == 'v') {
    if (!readNumberedSection(ctx, 'V', value)) return 9;
    fn.volume = value ? value : 1;
    if (at(fn, fn.cursor + 1) == '_') {
      fn.cursor += 2;
      if (int32_t code = readComments(ctx)) return code;
    }
  } else {
    if (int32_t code = readComments(ctx)) return code;
  }
  return 0;
}

}  // namespace

int32_t checkFileName(ScanContext& ctx) { return checkSections(ctx); }

}  // namespace tarvik
