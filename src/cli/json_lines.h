// A scan's outcome as one JSON object, for --json (one object per file per line) and for any other
// front end that answers in JSON. Every string in it is valid UTF-8 (see utf8Text).
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "cli/message_box.h"
#include "scan/core/outcome.h"

namespace tarvik::cli {

// The object for one file, its keys in this order:
//   "file"      the file as given or as found in a folder
//   "report"    the report's path, or null when no report was written
//   "status"    the status code, or null when no report was written
//   "passed"    true for status 0 and 152 with a report
//   "verdict"   the verdict's words; without a report, the box's words "CAPTION: TEXT"
//   "repaired"  true when the input's line ends were repaired in place
//   "errors", "warnings"  the counts of findings of each severity
//   "findings"  [{"severity", "line" (null when none), "phase", "message"}, ...]
//   "error"     {"caption", "text"} of the box shown when no report was written, else null
// box is the first message box the scan showed, or null.
nlohmann::ordered_json scanResultJson(const std::string& file, const ScanOutcome& outcome,
                                      const MessageBox* box);

// The object as one line of text, without the line feed.
std::string jsonLine(const nlohmann::ordered_json& object);

}  // namespace tarvik::cli
