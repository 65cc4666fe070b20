// What the main window needs of the plot window: to show it over itself, to hide it, and the plot
// data store calls of a scan, which the plot window's store takes. The plot window implements it;
// main.cpp hands it to the main window, so that neither window knows the other's class.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class QWidget;

namespace tarvik::desktop {

class PlotWindow {
 public:
  virtual ~PlotWindow() = default;

  // Shows the window over the main window, centred on it when it was hidden, and brings it to
  // the front.
  virtual void showOver(QWidget* mainWindow) = 0;
  // Hides the window; its data stays.
  virtual void hideWindow() = 0;

  // The store calls of a scan, as the engine makes them: the allocation and the window's caption,
  // one variable name per column, one whole record per call (values and flag classes of columns
  // 0..count-1; a non-zero class is a missing or LOD flag), and the number of records written.
  virtual void InitPlotData(int64_t recordCapacity, int32_t columnCount, const std::string& fileName) = 0;
  virtual void AddPlotVariable(std::string_view definitionLine) = 0;
  virtual void PutPlotRecord(int64_t recordIndex, const double* values, const uint8_t* flagClasses,
                             int32_t count) = 0;
  virtual void TrimPlotRecords(int64_t recordsStored) = 0;
  // Frees the store and empties the lists and charts that show it.
  virtual void FreePlotData() = 0;
};

}  // namespace tarvik::desktop
