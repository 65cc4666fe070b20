// What the engine asks of the program around it: message boxes, the progress panel, the
// enabling of plotting. The desktop, the command line and the tests each implement it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

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

  // The plot data store. A host that keeps no plot data answers false, and the data phase then
  // hands nothing over.
  virtual bool keepsPlotData() const { return false; }
  virtual void InitPlotData(int64_t /*recordCapacity*/, int32_t /*columnCount*/, const std::string& /*fileName*/) {}
  virtual void AddPlotVariable(std::string_view /*definitionLine*/) {}
  virtual void PutPlotValue(double /*value*/, int64_t /*recordIndex*/, int32_t /*columnIndex*/, bool /*isFlagged*/) {}
  virtual void TrimPlotRecords(int64_t /*recordsStored*/) {}
};

}  // namespace tarvik
