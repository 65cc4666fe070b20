// The plot data store: intake, the minimum and maximum rules with flags, trimming, records never
// handed over, calls on an empty store or out of its range, allocation failures, and the texts the
// window shows.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "plot/plot_data_store.h"

namespace tarvik {
namespace {

struct Put {
  double value;
  bool flagged;
};

TEST(PlotStoreMinMax, FlagsNeverLowerTheMinimumAndRaiseTheMaximumOnlyFirst) {
  struct Case {
    const char* why;
    std::vector<Put> values;
    float min, max;
  };
  const Case cases[] = {
      {"5, flag -9999, 3", {{5, false}, {-9999, true}, {3, false}}, 3.0f, 5.0f},
      {"flag -9999 first, then 5, 3", {{-9999, true}, {5, false}, {3, false}}, 3.0f, 5.0f},
      {"flag 99999 first, then 1, 2, 3", {{99999, true}, {1, false}, {2, false}, {3, false}}, 1.0f, 99999.0f},
      {"a later flag changes nothing", {{1, false}, {99999, true}, {2, false}}, 1.0f, 2.0f},
      {"only flags", {{-8888, true}, {-9999, true}, {-7777, true}}, PlotDataStore::kEmptyMin, -8888.0f},
      {"unflagged values only", {{-2.5, false}, {7.25, false}, {0, false}}, -2.5f, 7.25f},
      {"nothing stored", {}, PlotDataStore::kEmptyMin, PlotDataStore::kEmptyMax},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    PlotDataStore s;
    s.InitPlotData(10, 2, "F.ict");
    for (size_t r = 0; r < c.values.size(); ++r) s.PutPlotValue(c.values[r].value, static_cast<int64_t>(r), 1, c.values[r].flagged);
    EXPECT_EQ(s.ArrayMin(1), c.min);
    EXPECT_EQ(s.ArrayMax(1), c.max);
    for (size_t r = 0; r < c.values.size(); ++r)
      EXPECT_EQ(s.column(1)[r], static_cast<float>(c.values[r].value));  // flags are stored as values
    // The other column is untouched.
    EXPECT_EQ(s.ArrayMin(0), PlotDataStore::kEmptyMin);
    EXPECT_EQ(s.ArrayMax(0), PlotDataStore::kEmptyMax);
  }
}

TEST(PlotStoreMinMax, EmptyLimitsAreSinglePrecision) {
  EXPECT_EQ(PlotDataStore::kEmptyMin, 9.99e34f);
  EXPECT_EQ(PlotDataStore::kEmptyMax, -9.99e34f);
}

TEST(PlotStoreMinMax, ValuesAreHeldInSinglePrecision) {
  PlotDataStore s;
  s.InitPlotData(1, 1, "F.ict");
  s.PutPlotValue(123456789.0, 0, 0, false);
  EXPECT_EQ(s.column(0)[0], 123456792.0f);
  EXPECT_EQ(s.ArrayMin(0), 123456792.0f);
  EXPECT_EQ(s.ArrayMax(0), 123456792.0f);
}

TEST(PlotStoreTrim, OnlyLowersTheRecordCount) {
  struct Case {
    int64_t trim, count;
  };
  const Case cases[] = {{10, 10}, {11, 10}, {1000, 10}, {9, 9}, {3, 3}, {0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.trim);
    PlotDataStore s;
    s.InitPlotData(10, 3, "F.ict");
    EXPECT_EQ(s.RecordCount(), 10);
    s.TrimPlotRecords(c.trim);
    EXPECT_EQ(s.RecordCount(), c.count);
    EXPECT_EQ(s.ColumnCount(), 3);
  }
  PlotDataStore s;
  s.InitPlotData(10, 3, "F.ict");
  s.TrimPlotRecords(4);
  s.TrimPlotRecords(8);  // a second, larger count does not raise it again
  EXPECT_EQ(s.RecordCount(), 4);
}

// Leaves freed heap memory of a store of this size full of a value no test writes, so that a store
// allocated next in its place would show it where nothing was written.
void dirtyTheHeap(int64_t records, int32_t columns) {
  PlotDataStore s;
  s.InitPlotData(records, columns, "DIRTY.ict");
  for (int64_t r = 0; r < records; ++r)
    for (int32_t c = 0; c < columns; ++c) s.PutPlotValue(77.0, r, c, false);
}

std::vector<float> valuesOf(const PlotDataStore& s, int32_t c) {
  const std::span<const float> v = s.column(c);
  return {v.begin(), v.end()};
}

TEST(PlotStoreRecords, AStoreTrimmedAfterAShortScanShowsOnlyWrittenValues) {
  // As a scan fills it: capacity for every line of the file, fewer records, then the trim.
  dirtyTheHeap(40, 3);
  PlotDataStore s;
  s.InitPlotData(40, 3, "F.ict");
  const double records[4][3] = {{100, 1.5, -9999}, {101, 2.5, 7}, {102, -9999, 8}, {103, 4.5, 9}};
  const uint8_t flags[4][3] = {{0, 0, 1}, {0, 0, 0}, {0, 1, 0}, {0, 0, 0}};
  for (int64_t r = 0; r < 4; ++r) s.PutPlotRecord(r, records[r], flags[r], 3);
  s.TrimPlotRecords(4);
  EXPECT_EQ(s.RecordCount(), 4);
  EXPECT_EQ(valuesOf(s, 0), (std::vector<float>{100, 101, 102, 103}));
  EXPECT_EQ(valuesOf(s, 1), (std::vector<float>{1.5f, 2.5f, -9999, 4.5f}));
  EXPECT_EQ(valuesOf(s, 2), (std::vector<float>{-9999, 7, 8, 9}));
  EXPECT_EQ(s.ArrayMin(1), 1.5f);
  EXPECT_EQ(s.ArrayMax(1), 4.5f);
  EXPECT_EQ(s.ArrayMin(2), 7.0f);
  EXPECT_EQ(s.ArrayMax(2), 9.0f);
  EXPECT_TRUE(s.column(3).empty());  // no such column
  EXPECT_TRUE(s.column(-1).empty());
}

TEST(PlotStoreRecords, RecordsNeverHandedOverReadAsZero) {
  // Read before any trim (as the window may while a scan still runs), the store shows zero where
  // no call wrote, never what its memory held before; the limits count only written values.
  struct Case {
    const char* why;
    void (*fill)(PlotDataStore&);
    std::vector<float> column0, column1;
    float max1;
  };
  const Case cases[] = {
      {"two records of six",
       [](PlotDataStore& s) {
         const double a[] = {1, 10}, b[] = {2, 20};
         const uint8_t f[] = {0, 0};
         s.PutPlotRecord(0, a, f, 2);
         s.PutPlotRecord(1, b, f, 2);
       },
       {1, 2, 0, 0, 0, 0},
       {10, 20, 0, 0, 0, 0},
       20},
      {"a record index skipped",
       [](PlotDataStore& s) {
         const double a[] = {1, 10}, b[] = {4, 40};
         const uint8_t f[] = {0, 0};
         s.PutPlotRecord(0, a, f, 2);
         s.PutPlotRecord(3, b, f, 2);
       },
       {1, 0, 0, 4, 0, 0},
       {10, 0, 0, 40, 0, 0},
       40},
      {"a record that does not reach the last column",
       [](PlotDataStore& s) {
         const double a[] = {1, 10}, b[] = {2};
         const uint8_t f[] = {0, 0};
         s.PutPlotRecord(0, a, f, 2);
         s.PutPlotRecord(1, b, f, 1);
       },
       {1, 2, 0, 0, 0, 0},
       {10, 0, 0, 0, 0, 0},
       10},
      {"single values, one column only",
       [](PlotDataStore& s) {
         s.PutPlotValue(5, 0, 1, false);
         s.PutPlotValue(6, 2, 1, false);
       },
       {0, 0, 0, 0, 0, 0},
       {5, 0, 6, 0, 0, 0},
       6},
      {"nothing written", [](PlotDataStore&) {}, {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, PlotDataStore::kEmptyMax},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    dirtyTheHeap(6, 2);
    PlotDataStore s;
    s.InitPlotData(6, 2, "F.ict");
    c.fill(s);
    EXPECT_EQ(valuesOf(s, 0), c.column0);
    EXPECT_EQ(valuesOf(s, 1), c.column1);
    EXPECT_EQ(s.ArrayMax(1), c.max1);
    // Values written after such a read take their places as usual.
    s.PutPlotValue(9, 5, 1, false);
    EXPECT_EQ(s.column(1)[5], 9.0f);
    EXPECT_EQ(s.ArrayMax(1), c.max1 > 9 ? c.max1 : 9.0f);
  }
}

TEST(PlotStoreRecords, CallsOutsideTheStoreAreIgnored) {
  PlotDataStore s;
  s.InitPlotData(3, 2, "F.ict");
  const double v[] = {1, 2, 3};
  const uint8_t f[] = {0, 0, 0};
  s.PutPlotRecord(-1, v, f, 2);
  s.PutPlotRecord(3, v, f, 2);
  s.PutPlotRecord(1, v, f, -4);  // no values: the record's columns read zero
  s.PutPlotValue(8, 3, 0, false);
  s.PutPlotValue(8, -1, 0, false);
  s.PutPlotValue(8, 0, 2, false);
  s.PutPlotValue(8, 0, -1, false);
  s.PutPlotRecord(0, v, f, 3);  // more values than columns: the extra one is not read
  EXPECT_EQ(valuesOf(s, 0), (std::vector<float>{1, 0, 0}));
  EXPECT_EQ(valuesOf(s, 1), (std::vector<float>{2, 0, 0}));
  EXPECT_EQ(s.ArrayMax(0), 1.0f);
  EXPECT_EQ(s.ArrayMax(1), 2.0f);
}

TEST(PlotStoreRecords, ALargeStoreHoldsEveryRecord) {
  // Large enough to be allocated as one block of huge pages where the system offers them.
  const int64_t n = int64_t{1} << 20;
  PlotDataStore s;
  s.InitPlotData(n + 100, 3, "F.ict");
  ASSERT_FALSE(s.IsEmpty());
  for (int64_t r = 0; r < n; ++r) {
    const double v[] = {static_cast<double>(r), static_cast<double>(r % 1000), -static_cast<double>(r % 7)};
    const uint8_t f[] = {0, 0, 0};
    s.PutPlotRecord(r, v, f, 3);
  }
  s.TrimPlotRecords(n);
  ASSERT_EQ(s.column(2).size(), static_cast<size_t>(n));
  EXPECT_EQ(s.column(0)[static_cast<size_t>(n - 1)], static_cast<float>(n - 1));
  EXPECT_EQ(s.column(1)[999], 999.0f);
  EXPECT_EQ(s.column(2)[6], -6.0f);
  EXPECT_EQ(s.ArrayMax(0), static_cast<float>(n - 1));
  EXPECT_EQ(s.ArrayMin(2), -6.0f);
}

TEST(PlotStoreInit, AnAllocationThatCannotBeMadeShowsTheMemoryError) {
  std::vector<std::pair<std::string, std::string>> shown;
  PlotDataStore s;
  s.setMessageSink([&](const std::string& caption, const std::string& text) { shown.emplace_back(caption, text); });
  s.InitPlotData(std::numeric_limits<int64_t>::max(), 3, "F.ict");
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].first, "Memory Error ...");
  EXPECT_EQ(shown[0].second, "System Error:\n\nCouldn't allocate memory ZArray[var_0] for Fast Plotting.");
  EXPECT_TRUE(s.IsEmpty());
  EXPECT_EQ(s.RecordCount(), 0);
  EXPECT_EQ(s.caption(), "Fast Plot View . . .");
  // The store takes the next scan's data as usual.
  s.InitPlotData(2, 1, "F.ict");
  EXPECT_FALSE(s.IsEmpty());
  EXPECT_EQ(shown.size(), 1u);
}

TEST(PlotStoreEmpty, CallsOnAnEmptyStoreAreIgnored) {
  PlotDataStore s;
  EXPECT_TRUE(s.IsEmpty());
  s.PutPlotValue(5, 0, 0, false);
  s.TrimPlotRecords(3);
  s.FreePlotData();
  EXPECT_TRUE(s.IsEmpty());
  EXPECT_EQ(s.RecordCount(), 0);
  EXPECT_EQ(s.ColumnCount(), 0);
  EXPECT_EQ(s.caption(), "Fast Plot View . . .");

  // After FreePlotData the store is empty again and ignores the same calls.
  s.InitPlotData(4, 2, "F.ict");
  s.PutPlotValue(1, 0, 1, false);
  s.FreePlotData();
  EXPECT_TRUE(s.IsEmpty());
  s.PutPlotValue(5, 0, 1, false);
  s.TrimPlotRecords(1);
  EXPECT_EQ(s.RecordCount(), 0);
  EXPECT_TRUE(s.variableNames().empty());
}

TEST(PlotStoreInit, IgnoredWhileHoldingData) {
  PlotDataStore s;
  s.InitPlotData(4, 2, "FIRST.ict");
  s.PutPlotValue(7, 1, 1, false);
  s.InitPlotData(9, 5, "SECOND.ict");
  EXPECT_EQ(s.RecordCount(), 4);
  EXPECT_EQ(s.ColumnCount(), 2);
  EXPECT_EQ(s.column(1)[1], 7.0f);
  EXPECT_EQ(s.ArrayMax(1), 7.0f);
  EXPECT_EQ(s.caption(), "Fast Plot View : FIRST.ict ...");
}

TEST(PlotStoreInit, CaptionsAndImageName) {
  const std::string name = "X_Y_20190101_R0.ict";
  PlotDataStore s;
  s.InitPlotData(3, 2, name);
  EXPECT_FALSE(s.IsEmpty());
  EXPECT_EQ(s.RecordCount(), 3);
  EXPECT_EQ(s.ColumnCount(), 2);
  EXPECT_EQ(s.column(0).size(), 3u);
  EXPECT_EQ(s.caption(), "Fast Plot View : X_Y_20190101_R0.ict ...");
  EXPECT_EQ(s.chartLabel(), "Ostrel Project Office --X_Y_20190101_R0.ict");
  EXPECT_EQ(s.imageFileName(), "X_Y_20190101_R0.ict.jpeg");
}

TEST(PlotStoreNames, TheLineTerminatorIsRemoved) {
  PlotDataStore s;
  s.InitPlotData(1, 3, "F.ict");
  s.AddPlotVariable("Start_UTC, seconds, Start time\n");
  s.AddPlotVariable("O3, ppbv, Ozone\n");
  s.AddPlotVariable("Last, m, without terminator");  // the last character goes, whatever it is
  EXPECT_EQ(s.variableNames(),
            (std::vector<std::string>{"Start_UTC, seconds, Start time", "O3, ppbv, Ozone", "Last, m, without terminato"}));
}

}  // namespace
}  // namespace tarvik
