#include "plot/plot_data_store.h"

#include <algorithm>
#include <limits>
#include <new>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace tarvik {

namespace {

// A block of at least this many bytes is aligned to, and asked to be backed by, huge pages: a
// large file's columns then fault in a few hundred times instead of once per 4 KiB page.
constexpr size_t kHugePage = size_t{2} << 20;
constexpr size_t kHugeBlockMinimum = 4 * kHugePage;

void* allocateBlock(size_t bytes) {
  if (bytes < kHugeBlockMinimum) return std::malloc(bytes);
  const size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  void* p = std::aligned_alloc(kHugePage, rounded);
#ifdef MADV_HUGEPAGE
  if (p != nullptr) madvise(p, rounded, MADV_HUGEPAGE);  // only a hint: without huge pages nothing changes
#endif
  return p;
}

}  // namespace

bool PlotDataStore::allocateColumns(size_t records, size_t columnCount, std::vector<float*>& columns,
                                    std::vector<Memory>& storage) {
  auto show = [this](const std::string& text) {
    if (messages_) messages_("Memory Error ...", text);
  };
  try {
    columns.resize(columnCount);
    storage.reserve(columnCount);
  } catch (const std::bad_alloc&) {
    show("System Error:\n\nCouldn't allocate memory ZArray[var_0] for Fast Plotting.");
    return false;
  }
  const size_t most = std::numeric_limits<size_t>::max() / sizeof(float);
  const size_t columnBytes = records * sizeof(float);
  if (records > most) {
    if (columnCount > 0) {
      show("System Error:\n\nCouldn't allocate memory ZArray[var_0] for Fast Plotting.");
      return false;
    }
    return true;
  }
  // All columns in one block; when that cannot be had, each column on its own, so that the
  // message names the first column that found no memory.
  if (columnCount > 0 && records <= most / columnCount) {
    if (void* block = allocateBlock(columnBytes * columnCount)) {
      storage.emplace_back(block);
      for (size_t c = 0; c < columnCount; ++c) columns[c] = static_cast<float*>(block) + c * records;
      return true;
    }
  }
  for (size_t c = 0; c < columnCount; ++c) {
    void* p = std::malloc(columnBytes > 0 ? columnBytes : 1);
    if (p == nullptr) {
      show("System Error:\n\nCouldn't allocate memory ZArray[var_" + std::to_string(c) + "] for Fast Plotting.");
      return false;
    }
    storage.emplace_back(p);
    columns[c] = static_cast<float*>(p);
  }
  return true;
}

void PlotDataStore::InitPlotData(int64_t recordCapacity, int32_t columnCount, const std::string& fileName) {
  if (!empty_) return;
  const size_t records = recordCapacity > 0 ? static_cast<size_t>(recordCapacity) : 0;
  const size_t columns = columnCount > 0 ? static_cast<size_t>(columnCount) : 0;
  auto show = [this](const std::string& text) {
    if (messages_) messages_("Memory Error ...", text);
  };
  // The arrays are left as allocated: the scan writes them (see the note in the header).
  std::vector<float*> z;
  std::vector<Memory> memory;
  bool failed = !allocateColumns(records, columns, z, memory);
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
  columns_ = std::move(z);
  storage_ = std::move(memory);
  arrayMin_ = std::move(mn);
  arrayMax_ = std::move(mx);
  empty_ = false;
  recordCount_ = static_cast<int64_t>(records);
  capacity_ = recordCount_;
  filled_ = 0;
  columnCount_ = static_cast<int32_t>(columns);
  caption_ = "Fast Plot View : " + fileName + " ...";
  chartLabel_ = "Ostrel Project Office --" + fileName;
  imageFileName_ = fileName + ".jpeg";
}

void PlotDataStore::AddPlotVariable(std::string_view definitionLine) {
  if (!definitionLine.empty()) definitionLine.remove_suffix(1);
  names_.emplace_back(definitionLine);
}

void PlotDataStore::fillRecords(int64_t from, int64_t to) const {
  for (float* c : columns_) std::fill(c + from, c + to, 0.0f);
}

void PlotDataStore::TrimPlotRecords(int64_t recordsStored) {
  if (empty_) return;
  if (recordsStored < recordCount_) recordCount_ = recordsStored < 0 ? 0 : recordsStored;
}

void PlotDataStore::FreePlotData() {
  names_.clear();  // the lists may hold names even when an allocation failed
  if (empty_) return;
  empty_ = true;
  std::vector<float*>().swap(columns_);
  std::vector<Memory>().swap(storage_);
  std::vector<float>().swap(arrayMin_);
  std::vector<float>().swap(arrayMax_);
  columnCount_ = 0;
  recordCount_ = 0;
  capacity_ = 0;
  filled_ = 0;
}

}  // namespace tarvik
