// What the engine asks of the program around it: message boxes, the progress panel, the
// enabling of plotting and the plot data store. The desktop, the command line and the tests each
// implement it.
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
  // One record, handed over whole: the values of columns 0..count-1 as read, and the flag class
  // the data phase found for each (0 none, 1 missing flag, 2 LLOD flag, 3 ULOD flag; column 0 is
  // never classified).
  virtual void PutPlotRecord(int64_t /*recordIndex*/, const double* /*values*/,
                             const uint8_t* /*flagClasses*/, int32_t /*count*/) {}
  virtual void TrimPlotRecords(int64_t /*recordsStored*/) {}
};

}  // namespace tarvik
