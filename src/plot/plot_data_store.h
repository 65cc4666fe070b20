// The plot window's copy of the scanned values: one single-precision array per column, the
// per-column minimum without flags and maximum, and the variable names the window lists.
//
// The column arrays are allocated without being cleared, in one block when it is large (on Linux
// backed by huge pages where the system offers them): a scan writes its records in order, and
// clearing the arrays first, or faulting them in page by page, costs more than the writes. The
// store keeps the number of leading records that hold a value in every column; a record a scan
// never handed over is never shown as it was left in memory: the scan's closing trim drops it, and
// a column read before that trim first gets zero in each such record, as if the array had been
// cleared.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <span>
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
  // One value (a flagged one never lowers the minimum; the first one raises an unset maximum).
  void PutPlotValue(double value, int64_t recordIndex, int32_t columnIndex, bool isFlagged) {
    if (empty_ || !holds(recordIndex) || columnIndex < 0 || columnIndex >= columnCount_) return;
    if (recordIndex >= filled_) fillThrough(recordIndex);
    const size_t c = static_cast<size_t>(columnIndex);
    putValue(value, columns_[c] + recordIndex, arrayMin_[c], arrayMax_[c], isFlagged);
  }
  // One record: the values of columns 0..count-1 and their flag classes (non-zero: a flag).
  // Columns the record does not reach get zero.
  void PutPlotRecord(int64_t recordIndex, const double* values, const uint8_t* flagClasses, int32_t count) {
    if (empty_ || !holds(recordIndex)) return;
    const int32_t n = count < columnCount_ ? (count < 0 ? 0 : count) : columnCount_;
    float* const* columns = columns_.data();
    float* mn = arrayMin_.data();
    float* mx = arrayMax_.data();
    for (int32_t c = 0; c < n; ++c) putValue(values[c], columns[c] + recordIndex, mn[c], mx[c], flagClasses[c] != 0);
    for (int32_t c = n; c < columnCount_; ++c) columns[c][recordIndex] = 0.0f;
    if (recordIndex >= filled_) {
      if (recordIndex > filled_) fillRecords(filled_, recordIndex);
      filled_ = recordIndex + 1;
    }
  }
  void TrimPlotRecords(int64_t recordsStored);
  void FreePlotData();

  bool IsEmpty() const { return empty_; }
  int32_t ColumnCount() const { return columnCount_; }
  int64_t RecordCount() const { return recordCount_; }
  // The RecordCount() values of column c (none for a column the store does not hold).
  std::span<const float> column(int32_t c) const {
    if (c < 0 || c >= columnCount_) return {};
    if (filled_ < recordCount_) {
      fillRecords(filled_, recordCount_);
      filled_ = recordCount_;
    }
    return {columns_[static_cast<size_t>(c)], static_cast<size_t>(recordCount_)};
  }
  float ArrayMin(int32_t c) const { return arrayMin_[static_cast<size_t>(c)]; }
  float ArrayMax(int32_t c) const { return arrayMax_[static_cast<size_t>(c)]; }

  // What the window shows of the store: the items of its variable lists, its caption, the corner
  // labels of the charts and the file name proposed for a saved image.
  const std::vector<std::string>& variableNames() const { return names_; }
  const std::string& caption() const { return caption_; }
  const std::string& chartLabel() const { return chartLabel_; }
  const std::string& imageFileName() const { return imageFileName_; }

 private:
  static void putValue(double value, float* slot, float& mn, float& mx, bool isFlagged) {
    const float f = static_cast<float>(value);
    *slot = f;
    if (!isFlagged) {
      if (value < mn) mn = f;
      if (value > mx) mx = f;
    } else if (mx < -9.99e33f) {
      mx = f;
    }
  }
  bool holds(int64_t recordIndex) const { return recordIndex >= 0 && recordIndex < capacity_; }
  // The arrays of columnCount columns of records values each into columns and storage; false
  // (with the message of the array that failed shown) when memory runs out.
  struct FreeMemory {
    void operator()(void* p) const { std::free(p); }
  };
  using Memory = std::unique_ptr<void, FreeMemory>;
  bool allocateColumns(size_t records, size_t columnCount, std::vector<float*>& columns, std::vector<Memory>& storage);
  // Zero in every column of records [from, to), which no call has written.
  void fillRecords(int64_t from, int64_t to) const;
  // Records up to and including recordIndex hold a value in every column from here on.
  void fillThrough(int64_t recordIndex) {
    fillRecords(filled_, recordIndex + 1);
    filled_ = recordIndex + 1;
  }

  bool empty_ = true;
  int32_t columnCount_ = 0;
  int64_t recordCount_ = 0;
  int64_t capacity_ = 0;
  // Records [0, filled_) hold a written value, or the zero of fillRecords, in every column.
  mutable int64_t filled_ = 0;
  std::vector<float*> columns_;  // the first value of each column
  std::vector<Memory> storage_;  // the memory of the columns: one block, or one array per column
  std::vector<float> arrayMin_, arrayMax_;
  std::vector<std::string> names_;
  std::string caption_ = "Fast Plot View . . .";
  std::string chartLabel_;
  std::string imageFileName_;
  MessageSink messages_;
};

}  // namespace tarvik
