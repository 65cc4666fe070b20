// The summary of a run (--summary): one table of every file, as HTML or as CSV.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarvik::cli {

struct SummaryRow {
  std::string file;     // as given or as found in a folder
  std::string verdict;  // the verdict's words; without a report, the message box's words
  bool hasReport = false;
  bool passed = false;
  int32_t status = 0;
  int64_t errors = 0, warnings = 0;
  std::string report;  // the report's path as the scan wrote it (empty without a report)
};

// The link from a file in summaryFolder to target: a relative path when the two are on one tree
// (always, on this system), else the absolute path. Both are taken as absolute, lexically normal
// paths.
std::string linkFrom(const std::string& summaryFolder, const std::string& target);

// The summary's text. Names and verdicts are written as UTF-8 (see utf8Text). The HTML escapes every
// text and percent-encodes every link; the CSV quotes a field as RFC 4180 says and ends its lines
// with CR LF. summaryFolder is the folder of the summary file, for the links to the reports.
std::string summaryHtml(const std::vector<SummaryRow>& rows, const std::string& summaryFolder);
std::string summaryCsv(const std::vector<SummaryRow>& rows, const std::string& summaryFolder);

// The summary file, claimed before the scans (a temporary file beside it, so that a summary that
// cannot be written is known at once) and written when they are over, by a rename, so that it is
// never seen half written.
class SummaryFile {
 public:
  SummaryFile() = default;
  ~SummaryFile();
  SummaryFile(const SummaryFile&) = delete;
  SummaryFile& operator=(const SummaryFile&) = delete;

  // False with the reason when no file can be made in the summary's folder.
  bool open(const std::string& path, std::string& reason);
  // Writes the text and puts it in place; false with the reason.
  bool commit(const std::string& text, std::string& reason);
  // The folder the summary is in (absolute), for its links.
  const std::string& folder() const { return folder_; }

 private:
  std::string path_, temp_, folder_;
  int fd_ = -1;
};

}  // namespace tarvik::cli
