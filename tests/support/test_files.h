// Temporary folders, file bytes, and whole scans for tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "scan/core/outcome.h"
#include "scan/core/scan_context.h"
#include "support/recording_host.h"

namespace tarvik::test {

// A fresh folder under the system's temporary directory, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

void writeFile(const std::string& path, std::string_view bytes);
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);

struct ScanResult {
  std::string reportPath;  // empty when no report was finished
  std::string report;      // the report's text (read from reportPath, or from the unfinished file)
  int32_t status = 0;
  ScanOutcome outcome;
  int32_t maxLineLength = 0;
  int64_t linesCounted = 0;
  RecordingHost host;
};

struct ScanOptions {
  TimeIntervalType interval = StartStopMid;
  bool extraIntervals = false;
  PlotDataStore* store = nullptr;  // a store to fill, as the desktop keeps one
  long abortAfter = -1;            // press Abort at this many progress calls
};

// Writes bytes to dir/name and scans it (settings: the report's path and the repair mode).
ScanResult scanBytes(const TempDir& dir, const std::string& name, std::string_view bytes, ScanOptions opt = {},
                     const ScanSettings& settings = {});
// Scans an existing file.
ScanResult scanPath(const std::string& path, ScanOptions opt = {}, const ScanSettings& settings = {});

// Occurrences of needle in hay.
size_t countOf(std::string_view hay, std::string_view needle);
// The report text between the header-phase heading and its closing line (or the end).
std::string section(const std::string& report, std::string_view from, std::string_view to);

}  // namespace tarvik::test
