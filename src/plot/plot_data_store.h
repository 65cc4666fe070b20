// The plot window's copy of the scanned values: one single-precision array per column, the
// per-column minimum without flags and maximum, and the variable names the window lists.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik {

class PlotDataStore {
 public:
  static constexpr float kEmptyMin = 9.99e34f;
  static constexpr float kEmptyMax = -9.99e34f;

  // Shown when an allocation fails: caption and text of a message box.
  using MessageSink = std::function<void(const std::string& caption, const std::string& text)>;
  void setMessageSink(MessageSink sink) { messages_ = std::move(sink); }

  void InitPlotData(int64_t recordCapacity, int32_t columnCount, const std::string& fileName);
  void AddPlotVariable(std::string_view definitionLine);
  void PutPlotValue(double value, int64_t recordIndex, int32_t columnIndex, bool isFlagged) {
    if (empty_) return;
    const float f = static_cast<float>(value);
    zArray_[static_cast<size_t>(columnIndex)][static_cast<size_t>(recordIndex)] = f;
    float& mn = arrayMin_[static_cast<size_t>(columnIndex)];
    float& mx = arrayMax_[static_cast<size_t>(columnIndex)];
    if (!isFlagged) {
      if (value < mn) mn = f;
      if (value > mx) mx = f;
    } else if (mx < -9.99e33f) {
      mx = f;
    }
  }
  // One record: the values of columns 0..count-1 and their flag classes (non-zero: a flag).
  void PutPlotRecord(int64_t recordIndex, const double* values, const uint8_t* flagClasses, int32_t count) {
    if (empty_) return;
    const int32_t n = count < columnCount_ ? count : columnCount_;
    for (int32_t c = 0; c < n; ++c) PutPlotValue(values[c], recordIndex, c, flagClasses[c] != 0);
  }
  void TrimPlotRecords(int64_t recordsStored);
  void FreePlotData();

  bool IsEmpty() const { return empty_; }
  int32_t ColumnCount() const { return columnCount_; }
  int64_t RecordCount() const { return recordCount_; }
  const std::vector<float>& column(int32_t c) const { return zArray_[static_cast<size_t>(c)]; }
  float ArrayMin(int32_t c) const { return arrayMin_[static_cast<size_t>(c)]; }
  float ArrayMax(int32_t c) const { return arrayMax_[static_cast<size_t>(c)]; }

  // What the window shows of the store: the items of its variable lists, its caption, the corner
  // labels of the charts and the file name proposed for a saved image.
  const std::vector<std::string>& variableNames() const { return names_; }
  const std::string& caption() const { return caption_; }
  const std::string& chartLabel() const { return chartLabel_; }
  const std::string& imageFileName() const { return imageFileName_; }

 private:
  bool empty_ = true;
  int32_t columnCount_ = 0;
  int64_t recordCount_ = 0;
  std::vector<std::vector<float>> zArray_;
  std::vector<float> arrayMin_, arrayMax_;
  std::vector<std::string> names_;
  std::string caption_ = "Fast Plot View . . .";
  std::string chartLabel_;
  std::string imageFileName_;
  MessageSink messages_;
};

}  // namespace tarvik
