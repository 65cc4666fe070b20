// What a scan run leaves for its caller once it is over.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvik {

struct ScanOutcome {
  std::string reportPath;        // empty when no finished report could be written
  int32_t status = 0;            // the final status code (that of the verdict)
  bool dataPassed = false;       // the data phase ran and passed (plotting is enabled)
  bool repairedInPlace = false;  // the line ends of the input were repaired and the file rewritten
  std::string verdict;           // the verdict's words as a reader sees them (no markup)

  bool reportWritten() const { return !reportPath.empty(); }
  // Status 0, or 152: the name of a known type other than ICARTT was checked without error.
  bool passed() const { return reportWritten() && (status == 0 || status == 152); }
};

// The words of report markup as a reader sees them: tags removed, entities decoded, every run of
// white space made one space, none at either end.
std::string plainText(std::string_view html);

}  // namespace tarvik
