// A scan host for tests: remembers every call and can press Abort after N progress calls.
#pragma once

#include <string>
#include <vector>

#include "plot/plot_data_store.h"
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

  // With a store the host keeps plot data, as the desktop does.
  bool keepsPlotData() const override { return store != nullptr; }
  void InitPlotData(int64_t capacity, int32_t columns, const std::string& fileName) override {
    if (store) store->InitPlotData(capacity, columns, fileName);
  }
  void AddPlotVariable(std::string_view def) override {
    if (store) store->AddPlotVariable(def);
  }
  void PutPlotRecord(int64_t r, const double* values, const uint8_t* flagClasses, int32_t count) override {
    if (store) store->PutPlotRecord(r, values, flagClasses, count);
  }
  void TrimPlotRecords(int64_t n) override {
    if (store) store->TrimPlotRecords(n);
  }
  PlotDataStore* store = nullptr;

  std::vector<Message> messages;
  std::vector<Progress> progress;
  int plottingEnabled = 0;
  long abortAfter = -1;  // set abortRequested at this many mode-1 calls
};

}  // namespace tarvik::test
