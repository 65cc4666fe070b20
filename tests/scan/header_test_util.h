// Helpers shared by the header-phase suites: whole scans of built files and the pieces of their
// reports that the header phase writes.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/icartt_builder.h"
#include "support/test_files.h"

namespace tarvik::test::hdr {

inline const std::string kName = "TEST-DATA_DC8_20190521_R0.ict";
inline const std::string kRed = "<font color='#FF0000'>";
inline const std::string kOrange = "<font color='#FF9933'>";
inline const std::string kEnd = "</font>";
inline const char* const kHeaderStart = "<p><H4>Processing File Header . . .</H4></p>\n";
inline const char* const kHeaderDone = "<p><H4>Done Processing File Header.</H4></p>";
inline const char* const kSummaryStart = "<p><u><b>File Header Info Interpreted by Tarvik";
inline const char* const kKeywordStart = "<p><u><b>Normal Comments (Supporting Info) KEYWORDS Found </b>";

struct Scan {
  ScanResult res;
  std::string header;    // the header phase's part of the report
  std::string messages;  // the header phase's messages, before the summary table
};

// Scans the header alone (no data lines), so that the scan's status is the header's verdict.
inline Scan scan(const IcarttBuilder& built, const std::string& name = kName, ScanOptions opt = {}) {
  IcarttBuilder b = built;
  b.data.clear();
  TempDir dir;
  Scan s;
  s.res = scanBytes(dir, name, b.text(), opt);
  s.header = section(s.res.report, kHeaderStart, kHeaderDone);
  size_t cut = s.header.find(kSummaryStart);
  s.messages = s.header.substr(0, cut);
  return s;
}

inline Scan scanText(const std::string& text, const std::string& name = kName, ScanOptions opt = {}) {
  TempDir dir;
  Scan s;
  s.res = scanBytes(dir, name, text, opt);
  s.header = section(s.res.report, kHeaderStart, kHeaderDone);
  size_t cut = s.header.find(kSummaryStart);
  s.messages = s.header.substr(0, cut);
  return s;
}

inline ScanOptions constantEqual(bool extra = false) {
  ScanOptions o;
  o.interval = ConstantEqual;
  o.extraIntervals = extra;
  return o;
}

inline std::string red(const std::string& body) { return kRed + body + kEnd; }
inline std::string orange(const std::string& body) { return kOrange + body + kEnd; }
inline std::string echoA(int line, const std::string& text) {
  return "<font color='#0000FF'>Line" + std::to_string(line) + ":</font> " + text + "<br><br>\n";
}
inline std::string echoB(int line, const std::string& text) {
  return "<font color='#0000FF'>Line" + std::to_string(line) + ":</font> " + text + "<br /><br />\n";
}
inline std::string echoC(int line, const std::string& text) {
  return "<br /><font color='#0000FF'>Line" + std::to_string(line) + ":</font> " + text + "<br /><br />\n";
}
inline std::string echoD(int line, const std::string& text) {
  return "<br><font color='#0000FF'>Line" + std::to_string(line) + ":</font> " + text + "<br><br>\n";
}

inline size_t errorBlocks(const std::string& s) { return countOf(s, kRed); }
inline size_t warningBlocks(const std::string& s) { return countOf(s, kOrange); }
inline bool has(const std::string& hay, const std::string& needle) { return hay.find(needle) != std::string::npos; }

// The 1-based header line number of the first header line that begins with prefix.
inline int lineOf(const IcarttBuilder& b, const std::string& prefix) {
  std::vector<std::string> lines = b.headerLines();
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i].rfind(prefix, 0) == 0) return static_cast<int>(i) + 1;
  ADD_FAILURE() << "no header line begins with " << prefix;
  return -1;
}

// Replaces the normal comment that begins with prefix (it must exist).
inline void setComment(IcarttBuilder& b, const std::string& prefix, const std::string& text) {
  for (auto& c : b.normalComments)
    if (c.rfind(prefix, 0) == 0) {
      c = text;
      return;
    }
  ADD_FAILURE() << "no normal comment begins with " << prefix;
}

inline void removeComment(IcarttBuilder& b, const std::string& prefix) {
  for (size_t i = 0; i < b.normalComments.size(); ++i)
    if (b.normalComments[i].rfind(prefix, 0) == 0) {
      b.normalComments.erase(b.normalComments.begin() + static_cast<long>(i));
      return;
    }
  ADD_FAILURE() << "no normal comment begins with " << prefix;
}

// The first lines of a built file, each ended by CR LF.
inline std::string firstLines(const IcarttBuilder& b, size_t count) {
  std::string out;
  std::vector<std::string> lines = b.headerLines();
  for (size_t i = 0; i < count && i < lines.size(); ++i) out += lines[i] + "\r\n";
  return out;
}

inline std::string row(int line, const std::string& label, const std::string& value) {
  return "<tr><td><font size=\"-1\">Line" + std::to_string(line) + ": " + label +
         "</font></td><td><font color='#0000FF' size=\"-1\">" + value + "</font></td></tr>\n";
}

}  // namespace tarvik::test::hdr
