// The plot data store: intake, the minimum and maximum rules with flags, trimming, calls on an
// empty store, and the texts the window shows.
#include <gtest/gtest.h>

#include <string>
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
