#include "plot/plot_data_store.h"

#include <new>

namespace tarvik {

void PlotDataStore::InitPlotData(int64_t recordCapacity, int32_t columnCount, const std::string& fileName) {
  if (!empty_) return;
  const size_t records = recordCapacity > 0 ? static_cast<size_t>(recordCapacity) : 0;
  const size_t columns = columnCount > 0 ? static_cast<size_t>(columnCount) : 0;
  auto show = [this](const std::string& text) {
    if (messages_) messages_("Memory Error ...", text);
  };
  bool failed = false;
  std::vector<std::vector<float>> z;
  try {
    z.resize(columns);
  } catch (const std::bad_alloc&) {
    show("System Error:\n\nCouldn't allocate memory ZArray[var_0] for Fast Plotting.");
    failed = true;
  }
  for (size_t c = 0; c < z.size() && !failed; ++c) {
    try {
      z[c].assign(records, 0.0f);
    } catch (const std::bad_alloc&) {
      show("System Error:\n\nCouldn't allocate memory ZArray[var_" + std::to_string(c) + "] for Fast Plotting.");
      failed = true;
    }
  }
  std::vector<float> mn, mx;
  try {
    mn.assign(columns, kEmptyMin);
  } catch (const std::bad_alloc&) {
    show("System Error:\n\nCouldn't allocate memory \"Array:MIN\" for Fast Plotting.");
    failed = true;
  }
  try {
    mx.assign(columns, kEmptyMax);
  } catch (const std::bad_alloc&) {
    show("System Error:\n\nCouldn't allocate memory \"Array:MAX\" for Fast Plotting.");
    failed = true;
  }
  if (failed) return;
  zArray_ = std::move(z);
  arrayMin_ = std::move(mn);
  arrayMax_ = std::move(mx);
  empty_ = false;
  recordCount_ = static_cast<int64_t>(records);
  columnCount_ = static_cast<int32_t>(columns);
  caption_ = "Fast Plot View : " + fileName + " ...";
  chartLabel_ = "Ostrel Project Office --" + fileName;
  imageFileName_ = fileName + ".jpeg";
}

void PlotDataStore::AddPlotVariable(std::string_view definitionLine) {
  if (!definitionLine.empty()) definitionLine.remove_suffix(1);
  names_.emplace_back(definitionLine);
}

void PlotDataStore::TrimPlotRecords(int64_t recordsStored) {
  if (empty_) return;
  if (recordsStored < recordCount_) recordCount_ = recordsStored < 0 ? 0 : recordsStored;
}

void PlotDataStore::FreePlotData() {
  names_.clear();  // the lists may hold names even when an allocation failed
  if (empty_) return;
  empty_ = true;
  std::vector<std::vector<float>>().swap(zArray_);
  std::vector<float>().swap(arrayMin_);
  std::vector<float>().swap(arrayMax_);
  columnCount_ = 0;
  recordCount_ = 0;
}

}  // namespace tarvik
