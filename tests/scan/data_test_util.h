// Helpers shared by the data-phase suites: whole scans of built files and the data phase's part of
// their reports.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan/header_test_util.h"

namespace tarvik::test::data {

using namespace hdr;

inline const char* const kDataStart = "<p><H4>Processing File Data . . .</H4></p>";
inline const char* const kDataDone = "<p><H4>Done Processing File Data.</H4></p>";

struct DataScan {
  ScanResult res;
  std::string data;  // what the data phase wrote, between its heading and its closing heading
  bool reached = false;  // the data phase ran
};

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
  return s;
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
