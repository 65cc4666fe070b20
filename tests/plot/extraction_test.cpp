// The text file of the "Data Extraction..." page: short names, fixed-width fields, the
// resampling counter, and the file written, replaced or removed on a write error.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

#include "plot/extraction.h"
#include "support/test_files.h"

namespace tarvik {
namespace {

using test::fileExists;
using test::readFile;
using test::TempDir;

// A store of the given rows (one vector per record) with one list item per column.
struct Sample {
  PlotDataStore store;
  std::vector<std::string> items;
};

void Fill(Sample& s, const std::vector<std::string>& definitionLines, const std::vector<std::vector<double>>& rows) {
  s.store.InitPlotData(static_cast<int64_t>(rows.size()), static_cast<int32_t>(definitionLines.size()), "F.ict");
  for (const std::string& line : definitionLines) s.store.AddPlotVariable(line + "\n");
  for (size_t r = 0; r < rows.size(); ++r)
    for (size_t c = 0; c < rows[r].size(); ++c)
      s.store.PutPlotValue(rows[r][c], static_cast<int64_t>(r), static_cast<int32_t>(c), false);
  s.items = s.store.variableNames();
}

TEST(ExtractionNames, ShortNameEndsAtTheFirstSpaceOrComma) {
  struct Case {
    const char* item;
    const char* name;
  };
  const Case cases[] = {
      {"Start_UTC, seconds, Start time", "Start_UTC"},
      {"O3,ppbv", "O3"},
      {"NO2 ppbv, nitrogen dioxide", "NO2"},
      {"Lonely", "Lonely"},
      {"", ""},
      {" leading space", ""},
      {",x", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    EXPECT_EQ(ExtractionShortName(c.item), c.name);
  }
}

TEST(ExtractionLines, FieldsOfFifteenEachFollowedByOneSpace) {
  EXPECT_EQ(ExtractionHeaderLine({"Start_UTC", "O3"}), "      Start_UTC              O3 \r\n");
  // A name longer than 15 characters is written whole and shifts the rest of the line.
  EXPECT_EQ(ExtractionHeaderLine({"A_very_long_variable_name", "O3"}), "A_very_long_variable_name              O3 \r\n");
  EXPECT_EQ(ExtractionHeaderLine({"exactly15chars_"}), "exactly15chars_ \r\n");
  EXPECT_EQ(ExtractionHeaderLine({}), "\r\n");

  struct Case {
    float value;
    const char* field;
  };
  const Case cases[] = {
      {43200, "43200"},
      {30.25f, "30.25"},
      {-9999, "-9999"},
      {1.5f, "1.5"},
      {0.5f, "0.5"},
      {0, "0"},
      {123456789.0f, "1.23457e+08"},  // stored as 123456792
      {1e-5f, "1e-05"},              // widened from single precision: 9.99999974738e-06
      {0.1f, "0.1"},
      {100000, "100000"},
      {1000000, "1e+06"},
      {-1.5e-7f, "-1.5e-07"},
      {3.4e38f, "3.4e+38"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    const std::string field = c.field;
    EXPECT_EQ(ExtractionDataLine({c.value}), std::string(15 - field.size(), ' ') + field + " \r\n");
  }
  EXPECT_EQ(ExtractionDataLine({43200, 30.25f}), "          43200           30.25 \r\n");
}

TEST(ExtractionResampling, TheCounterKeepsEveryNthRecord) {
  struct Case {
    int64_t rate;
    int64_t records;
    std::vector<int64_t> kept;
  };
  const Case cases[] = {
      {1, 5, {0, 1, 2, 3, 4}},
      {2, 7, {1, 3, 5}},
      {3, 10, {2, 5, 8}},
      {10, 30, {9, 19, 29}},
      {10, 10, {9}},
      {11, 10, {}},  // a rate above the record count writes no record
      {0, 10, {}},
      {-1, 10, {}},
      {-3, 10, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "rate " << c.rate);
    std::vector<int64_t> kept;
    for (int64_t k = 0; k < c.records; ++k)
      if (ExtractionKeepsRecord(k, c.rate)) kept.push_back(k);
    EXPECT_EQ(kept, c.kept);
  }
  EXPECT_FALSE(ExtractionKeepsRecord(-1, 1));
  // No overflow at the end of the range: record INT64_MAX is the 2^63-th, an even count.
  EXPECT_TRUE(ExtractionKeepsRecord(INT64_MAX, 2));
  EXPECT_FALSE(ExtractionKeepsRecord(INT64_MAX - 1, 2));
}

TEST(ExtractionFile, WritesTheChosenColumnsByteForByte) {
  Sample s;
  Fill(s, {"Start_UTC, seconds, start time", "X, m, distance", "O3, ppbv, ozone"}, {{43200, 1.5, 30.25}, {43201, 2, -9999}});
  TempDir dir;
  const std::string path = dir.file("selected_data.txt");
  ASSERT_EQ(WriteSelectedData(path, s.store, {0, 2}, s.items, 1), ExtractionResult::Written);
  EXPECT_EQ(readFile(path),
            "      Start_UTC              O3 \r\n"
            "          43200           30.25 \r\n"
            "          43201           -9999 \r\n");

  // Writing again replaces the file; a column alone, every second record.
  ASSERT_EQ(WriteSelectedData(path, s.store, {1}, s.items, 2), ExtractionResult::Written);
  EXPECT_EQ(readFile(path),
            "              X \r\n"
            "              2 \r\n");
}

TEST(ExtractionFile, ResamplingLargeValuesAndLongNames) {
  Sample s;
  std::vector<std::vector<double>> rows;
  for (int k = 0; k < 10; ++k) rows.push_back({static_cast<double>(k), k == 5 ? 123456789.0 : k * 0.5});
  Fill(s, {"Time_Start_Seconds_UTC, s", "Value, m"}, rows);
  TempDir dir;
  const std::string path = dir.file("out.txt");
  ASSERT_EQ(WriteSelectedData(path, s.store, {0, 1}, s.items, 3), ExtractionResult::Written);
  EXPECT_EQ(readFile(path),
            "Time_Start_Seconds_UTC           Value \r\n"
            "              2               1 \r\n"
            "              5     1.23457e+08 \r\n"
            "              8               4 \r\n");

  struct Case {
    int64_t rate;
    const char* why;
  };
  for (const Case& c : {Case{11, "rate above the record count"}, Case{0, "rate 0"}, Case{-2, "negative rate"}}) {
    SCOPED_TRACE(c.why);
    ASSERT_EQ(WriteSelectedData(path, s.store, {0, 1}, s.items, c.rate), ExtractionResult::Written);
    EXPECT_EQ(readFile(path), "Time_Start_Seconds_UTC           Value \r\n");
  }
}

TEST(ExtractionFile, OnlyStoredRecordsAndHeldColumnsAreWritten) {
  Sample s;
  Fill(s, {"T, s", "A, m"}, {{1, 10}, {2, 20}, {3, 30}});
  s.store.TrimPlotRecords(2);  // a scan that stopped early keeps two records
  TempDir dir;
  const std::string path = dir.file("out.txt");
  ASSERT_EQ(WriteSelectedData(path, s.store, {0, 1}, s.items, 1), ExtractionResult::Written);
  EXPECT_EQ(readFile(path),
            "              T               A \r\n"
            "              1              10 \r\n"
            "              2              20 \r\n");
  // Flag values are written as stored.
  Sample flagged;
  Fill(flagged, {"T, s", "A, m"}, {{1, -9999}, {2, -8888}});
  ASSERT_EQ(WriteSelectedData(path, flagged.store, {1}, flagged.items, 1), ExtractionResult::Written);
  EXPECT_EQ(readFile(path), "              A \r\n          -9999 \r\n          -8888 \r\n");

  // Indices the store does not hold or the list does not name are skipped.
  ASSERT_EQ(WriteSelectedData(path, s.store, {-1, 1, 2, 7}, s.items, 1), ExtractionResult::Written);
  EXPECT_EQ(readFile(path), "              A \r\n             10 \r\n             20 \r\n");
  ASSERT_EQ(WriteSelectedData(path, s.store, {0, 1}, {"T, s"}, 1), ExtractionResult::Written);
  EXPECT_EQ(readFile(path), "              T \r\n              1 \r\n              2 \r\n");

  // An empty store (its allocation failed, or it was freed) holds nothing to read.
  PlotDataStore empty;
  ASSERT_EQ(WriteSelectedData(path, empty, {0, 1}, s.items, 1), ExtractionResult::Written);
  EXPECT_EQ(readFile(path), "\r\n");
}

TEST(ExtractionFile, ManyRecordsGoThroughTheBuffer) {
  Sample s;
  std::vector<std::vector<double>> rows;
  for (int k = 0; k < 100000; ++k) rows.push_back({static_cast<double>(k), -k * 0.25});
  Fill(s, {"T, s", "V, m"}, rows);
  TempDir dir;
  const std::string path = dir.file("big.txt");
  ASSERT_EQ(WriteSelectedData(path, s.store, {0, 1}, s.items, 1), ExtractionResult::Written);
  const std::string text = readFile(path);
  EXPECT_EQ(text.size(), 34u * 100001);  // every line holds two fields of 16 and CR LF
  EXPECT_EQ(text.substr(34 * 100000), "          99999        -24999.8 \r\n");
}

TEST(ExtractionFile, AnUnopenablePathWritesNothing) {
  Sample s;
  Fill(s, {"T, s"}, {{1}});
  TempDir dir;
  const std::string path = dir.file("missing_folder/out.txt");
  EXPECT_EQ(WriteSelectedData(path, s.store, {0}, s.items, 1), ExtractionResult::OpenFailed);
  EXPECT_FALSE(fileExists(path));
  EXPECT_FALSE(fileExists(dir.file("missing_folder")));
  // A folder cannot be opened as a file either, and is left as it was.
  EXPECT_EQ(WriteSelectedData(dir.path(), s.store, {0}, s.items, 1), ExtractionResult::OpenFailed);
  EXPECT_TRUE(fileExists(dir.path()));
}

TEST(ExtractionFile, AFullDeviceIsAWriteFailureAndTheDeviceStays) {
  struct stat before;
  if (stat("/dev/full", &before) != 0 || !S_ISCHR(before.st_mode)) GTEST_SKIP() << "no /dev/full here";
  Sample s;
  Fill(s, {"T, s"}, {{1}, {2}});
  EXPECT_EQ(WriteSelectedData("/dev/full", s.store, {0}, s.items, 1), ExtractionResult::WriteFailed);
  struct stat after;
  ASSERT_EQ(stat("/dev/full", &after), 0);
  EXPECT_TRUE(S_ISCHR(after.st_mode));
  EXPECT_EQ(after.st_rdev, before.st_rdev);
}

}  // namespace
}  // namespace tarvik
