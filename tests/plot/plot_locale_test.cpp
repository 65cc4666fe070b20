// Under a decimal-comma locale the plot window's texts and files still use '.' (the desktop runs
// with the user's locale applied to the C library).
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "plot/axis_format.h"
#include "plot/extraction.h"
#include "plot/statistics.h"
#include "plot/xy_fit.h"
#include "support/test_files.h"

namespace tarvik {
namespace {

class DecimalCommaLocale : public testing::Test {
 protected:
  void SetUp() override {
    const char* old = std::setlocale(LC_ALL, nullptr);
    saved_ = old ? old : "C";
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
    // The locale really writes a comma, so the texts below prove something.
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    ASSERT_STREQ(probe, "1,5");
  }
  void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }

 private:
  std::string saved_;
};

TEST_F(DecimalCommaLocale, NumbersAreWrittenWithAPoint) {
  const float v[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10.5f};
  EXPECT_EQ(StatsLine("O3, ppbv", v, 10, 1, 10.5f),
            "O3 >> Real_Min=1.00; Min=1.00; Q5%=1.00; Q25%=3.00; Median=6.00; Q75%=8.00; Q95%=10.50; Max=10.50;  {Q = Percentile} ");
  EXPECT_EQ(StatsPart(v, 0, 0.25f, 0.5f), "  | Min = 2.50E-01 | Max = 5.00E-01 |");
  EXPECT_EQ(FitMemoLines({0.5, 1.25, -3.125, 0.0625})[6], "Correlation Coeff = 0.5000");
  EXPECT_EQ(FitMemoLines({0.5, 1.25, -3.125, 0.0625})[8], "Y-intercept = -3.1250");
  EXPECT_EQ(FormatPicture(1234567.891, "#,##0.###"), "1,234,567.891");
  EXPECT_EQ(FormatPicture(0.005, "0.00E-00"), "5.00E-03");
  EXPECT_EQ(FormatPicture(0.5, "#.##"), ".5");
  EXPECT_EQ(FormatPicture(2.5, "unknown"), "2.5");
  EXPECT_EQ(ExtractionDataLine({30.25f, 123456789.0f}), "          30.25     1.23457e+08 \r\n");
}

TEST_F(DecimalCommaLocale, TheExtractionFileUsesAPoint) {
  PlotDataStore store;
  store.InitPlotData(1, 2, "F.ict");
  store.AddPlotVariable("Start_UTC, seconds\n");
  store.AddPlotVariable("O3, ppbv\n");
  store.PutPlotValue(43200.5, 0, 0, false);
  store.PutPlotValue(0.125, 0, 1, false);
  test::TempDir dir;
  const std::string path = dir.file("selected_data.txt");
  ASSERT_EQ(WriteSelectedData(path, store, {0, 1}, store.variableNames(), 1), ExtractionResult::Written);
  EXPECT_EQ(test::readFile(path), "      Start_UTC              O3 \r\n        43200.5           0.125 \r\n");
}

}  // namespace
}  // namespace tarvik
