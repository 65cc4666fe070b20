// Builds the text of an ICARTT file for tests: a valid header of FFI 1001, 2110 or 2310 whose
// every part can be changed, followed by data lines. NH and the short-names line follow the parts
// unless they are set by hand.
#pragma once

#include <string>
#include <vector>

namespace tarvik::test {

struct IcarttBuilder {
  // A header that passes for the Start/Stop/Mid-point type: times in variables (or auxiliary
  // variables) 1 and 2, interval 0, every keyword once, revision R0; one data record (or block), which passes whatever the
  // interval type, since the time checks begin with the second record.
  static IcarttBuilder ffi1001(int extraVars = 2);
  static IcarttBuilder ffi2110();
  static IcarttBuilder ffi2310();

  int ffi = 1001;
  int nh = -1;  // -1: computed
  std::string line1;  // when not empty, replaces line 1
  std::string pi = "Ostrel, Corvane";
  std::string org = "Ostrel Test Laboratory";
  std::string source = "Test instrument";
  std::string mission = "TEST-MISSION";
  std::string line6 = "1, 1";
  std::string line7 = "2019, 05, 21, 2019, 06, 01";
  std::string line8 = "0";
  std::string bounded = "Altitude, m, Altitude above sea level";
  std::string independent = "Start_UTC, seconds, Start time in UTC seconds";
  std::vector<std::string> vars;
  std::string scales;   // empty: "1" per variable
  std::string missing;  // empty: "-9999" per variable
  std::string nvLine;   // empty: the count of vars
  std::vector<std::string> auxVars;
  std::string auxScales, auxMissing, nauxLine;
  std::vector<std::string> specialComments;
  std::vector<std::string> normalComments;  // without the short-names line
  std::string shortNames;                   // empty: from the definitions
  std::string nscomLine, nncomLine;         // empty: the counts
  std::vector<std::string> data;

  static std::vector<std::string> defaultKeywords();
  std::vector<std::string> headerLines() const;
  // The whole file, each line ended by eol.
  std::string text(const std::string& eol = "\r\n") const;
  int computedNH() const;
};

}  // namespace tarvik::test
