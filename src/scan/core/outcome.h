// What a scan run leaves for its caller once it is over: the report, the status, the verdict and
// every finding the report holds.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik {

// The rule set a scan applies: the ICARTT V1.1 rules, or those and the V2.0 rules.
enum class IcarttVersion { V1_1, V2_0 };
inline const char* icarttVersionName(IcarttVersion v) { return v == IcarttVersion::V2_0 ? "2.0" : "1.1"; }

enum class Severity { Error, Warning };
// The phase that wrote a finding: the file name, the line-ending pass (with the input's size),
// the header, the data.
enum class Phase { FileName, LineEndings, Header, Data };

const char* severityName(Severity s);  // "error", "warning"
const char* phaseName(Phase p);        // "filename", "line-endings", "header", "data"

// One error or warning block of the report, or one "Too many" notice.
struct Finding {
  static constexpr int64_t kNoLine = -1;
  Severity severity = Severity::Error;
  int64_t line = kNoLine;  // the file line the message is about, or kNoLine when it names none
  Phase phase = Phase::FileName;
  std::string message;  // the message as a reader sees it, without markup
};

struct ScanOutcome {
  std::string reportPath;        // empty when no finished report could be written
  int32_t status = 0;            // the final status code (that of the verdict)
  bool dataPassed = false;       // the data phase ran and passed (plotting is enabled)
  bool repairedInPlace = false;  // the line ends of the input were repaired and the file rewritten
  std::string verdict;           // the verdict's words as a reader sees them (no markup)
  std::vector<Finding> findings;
  IcarttVersion icartt = IcarttVersion::V1_1;  // the rule set that was applied

  bool reportWritten() const { return !reportPath.empty(); }
  // Status 0, or 152: the name of a known type other than ICARTT was checked without error.
  bool passed() const { return reportWritten() && (status == 0 || status == 152); }
  int64_t count(Severity s) const {
    int64_t n = 0;
    for (const Finding& f : findings) n += f.severity == s ? 1 : 0;
    return n;
  }
};

// The words of report markup as a reader sees them: tags removed, entities decoded, every run of
// white space made one space, none at either end.
std::string plainText(std::string_view html);

// The line a message is about: the number of its first "Line<digits>", or Finding::kNoLine.
int64_t lineNamedIn(std::string_view message);

}  // namespace tarvik
