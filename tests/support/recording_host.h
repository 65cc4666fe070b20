// A scan host for tests: remembers every call and can press Abort after N progress calls.
#pragma once

#include <string>
#include <vector>

#include "scan/core/scan_host.h"

namespace tarvik::test {

class RecordingHost : public ScanHost {
 public:
  struct Message {
    std::string caption, text;
  };
  struct Progress {
    long long current, total;
    int mode;
  };
  void showMessage(const std::string& caption, const std::string& text) override;
  void updateProgress(ScanContext& ctx, int64_t current, int64_t total, int mode) override;
  void enablePlotting() override { ++plottingEnabled; }

  std::vector<Message> messages;
  std::vector<Progress> progress;
  int plottingEnabled = 0;
  long abortAfter = -1;  // set abortRequested at this many mode-1 calls
};

}  // namespace tarvik::test
