// Helpers shared by the data-phase suites: whole scans of built files, the data phase's part of
// their reports, and contexts for calling the checks directly.
#pragma once

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "scan/core/scan_context.h"
#include "scan/header_test_util.h"

namespace tarvik::test::data {

using namespace hdr;

inline const char* const kDataStart = "<p><H4>Processing File Data . . .</H4></p>";
inline const char* const kDataDone = "<p><H4>Done Processing File Data.</H4></p>";
inline const char* const kLinesProcessed = "<br>Total number of lines processed = ";

// printf into a std::string, for the expected texts.
__attribute__((format(printf, 1, 2))) inline std::string fmt(const char* f, ...) {
  char buf[4096];
  va_list ap;
  va_start(ap, f);
  std::vsnprintf(buf, sizeof buf, f, ap);
  va_end(ap);
  return buf;
}

struct DataScan {
  ScanResult res;
  std::string data;      // what the data phase wrote, between its heading and its closing heading
  std::string messages;  // the data phase's messages: its part before its closing line
  bool reached = false;  // the data phase ran
};

// The data phase's messages: what it wrote before "Total number of lines processed" or "Too many
// errors...".
inline std::string messagesOf(const std::string& data) {
  size_t end = data.find(kLinesProcessed);
  if (end == std::string::npos) end = data.find("<font color='#FF0000'><br>Too many errors...");
  return data.substr(0, end);
}

inline DataScan scanDataText(const std::string& text, ScanOptions opt = {}, const std::string& name = kName) {
  TempDir dir;
  DataScan s;
  s.res = scanBytes(dir, name, text, opt);
  const size_t a = s.res.report.find(kDataStart);
  if (a == std::string::npos) return s;
  s.reached = true;
  const size_t from = a + std::string(kDataStart).size();
  const size_t b = s.res.report.find(kDataDone, from);
  s.data = s.res.report.substr(from, b == std::string::npos ? std::string::npos : b - from);
  s.messages = messagesOf(s.data);
  return s;
}

// A built file under a given name; the data phase must run.
inline DataScan scanData(const IcarttBuilder& b, const std::string& name, ScanOptions opt = {}) {
  DataScan s = scanDataText(b.text(), opt, name);
  if (!s.reached) ADD_FAILURE() << "no data phase in the report:\n" << s.res.report;
  return s;
}

// The record of variable index (0-based) of a kind in ctx's header, made when missing, for calls of
// the checks without a scan. The value checks take their limits once per data phase: a test that
// changes a record after a check sets ctx.checks.limitsReady to false.
inline Variable& variable(ScanContext& ctx, VarKind kind, size_t index) {
  ctx.hdr.vars.ensure(kind, index + 1);
  return *ctx.hdr.vars.at(kind, index);
}
inline Variable& defineVariable(ScanContext& ctx, VarKind kind, size_t index, const std::string& definition,
                                double missing, double scale = 1) {
  Variable& v = variable(ctx, kind, index);
  v.define(definition);
  v.scaleFactor = scale;
  v.missingFlag = missing;
  v.ulodValue = missing;
  v.llodValue = missing;
  return v;
}

// The built file; without the line end of its last line when unterminated is set.
inline std::string fileText(const IcarttBuilder& b, const std::string& eol = "\r\n", bool unterminated = false) {
  std::string t = b.text(eol);
  if (unterminated && t.size() >= eol.size()) t.resize(t.size() - eol.size());
  return t;
}

inline DataScan scanData(const IcarttBuilder& b, ScanOptions opt = {}, bool unterminated = false) {
  return scanDataText(fileText(b, "\r\n", unterminated), opt);
}

inline std::string closing(long long lines) {
  return "<br>Total number of lines processed = " + std::to_string(lines) + "<br>\n";
}
inline const std::string kTooMany = "<font color='#FF0000'><br>Too many errors...<br>\n</font>";

// A 1001 record i of the builder's layout: start, stop and mid-point times that follow each other
// without overlap, then the given values of the other variables.
inline std::string record(int i, const std::vector<std::string>& values) {
  std::string s = std::to_string(36000 + 10 * i) + ", " + std::to_string(36010 + 10 * i) + ", " +
                  std::to_string(36005 + 10 * i);
  for (const std::string& v : values) s += ", " + v;
  return s;
}
// The record i of the default 1001 file (NV 4).
inline std::string record(int i) { return record(i, {"10", "11"}); }

inline bool endsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace tarvik::test::data
