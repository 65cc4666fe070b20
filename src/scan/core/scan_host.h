// What the engine asks of the program around it: message boxes, the progress panel, the
// enabling of plotting. The desktop, the command line and the tests each implement it.
#pragma once

#include <cstdint>
#include <string>

namespace tarvik {

struct ScanContext;

class ScanHost {
 public:
  virtual ~ScanHost() = default;
  // A modal error box: caption and text (the path concerned).
  virtual void showMessage(const std::string& caption, const std::string& text) = 0;
  // Progress of the data phase: mode 0 resets and shows the panel, mode 1 advances it. The host
  // may set ctx.run.abortRequested here.
  virtual void updateProgress(ScanContext& ctx, int64_t current, int64_t total, int mode) = 0;
  // A data phase that passed enables plotting.
  virtual void enablePlotting() {}
};

}  // namespace tarvik
