// The data-phase drivers of FFI 1001, 2110 and 2310: the closing line, the error budget, blocks and
// their array sizes, the end of the file inside a block, abort, the hand-off to the plot store, and
// the files refused before any data line is read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plot/plot_data_store.h"
#include "scan/data_test_util.h"

namespace tarvik::test {
namespace {

using namespace data;

const std::string kTooClose = "is 'considered too close' to the defined Missing Data Flag(-9's) in header.";

// n records of the default 1001 file (NV 4, NH 36); records first..last (0-based) hold a value
// too close to the missing flag in V1.
IcarttBuilder failing1001(int n, int first, int last) {
  IcarttBuilder b = IcarttBuilder::ffi1001();
  b.data.clear();
  for (int i = 0; i < n; ++i) b.data.push_back(record(i, {i >= first && i <= last ? "-1500" : "10", "11"}));
  return b;
}

// A 2110 unbounded-variable line of block i (times follow each other) with the given array size.
std::string unbounded(int i, const std::string& size, const std::string& more = "") {
  return std::to_string(36000 + 60 * i) + ", " + std::to_string(36060 + 60 * i) + ", " +
         std::to_string(36030 + 60 * i) + ", " + size + more;
}

size_t progressCalls(const ScanResult& r) {
  size_t n = 0;
  for (const auto& p : r.host.progress)
    if (p.mode == 1) ++n;
  return n;
}

TEST(DataDriver1001, CleanFileClosesWithTheLineCountAndFillsThePlotStore) {
  IcarttBuilder b = IcarttBuilder::ffi1001();
  b.data.clear();
  const char* v1[] = {"10", "-9999", "12", "13", "14"};
  for (int i = 0; i < 5; ++i) b.data.push_back(record(i, {v1[i], std::to_string(20 + i) + ".5"}));
  const std::vector<std::string> names = {"Start_UTC, seconds, Start time in UTC seconds",
                                          "Stop_UTC, seconds, Stop time in UTC seconds",
                                          "Mid_UTC, seconds, Mid-point time in UTC seconds", "V1, ppbv, Test variable",
                                          "V2, ppbv, Test variable"};
  for (const char* eol : {"\r\n", "\n"}) {
    SCOPED_TRACE(eol[0] == '\r' ? "CR LF" : "LF");
    PlotDataStore store;
    ScanOptions opt;
    opt.store = &store;
    DataScan s = scanDataText(b.text(eol), opt);
    ASSERT_TRUE(s.reached) << s.res.report;
    EXPECT_EQ(s.res.status, 0);
    EXPECT_EQ(s.data, closing(41));
    EXPECT_EQ(s.res.host.plottingEnabled, 1);
    // One progress call before the phase, then one per record with its line number.
    ASSERT_EQ(s.res.host.progress.size(), 6u);
    EXPECT_EQ(s.res.host.progress[0].mode, 0);
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(s.res.host.progress[i + 1].current, 37 + i);
      EXPECT_EQ(s.res.host.progress[i + 1].total, 41);
      EXPECT_EQ(s.res.host.progress[i + 1].mode, 1);
    }
    ASSERT_FALSE(store.IsEmpty());
    EXPECT_EQ(store.ColumnCount(), 5);
    EXPECT_EQ(store.RecordCount(), 5);
    EXPECT_EQ(store.variableNames(), names);
    EXPECT_EQ(store.caption(), "Fast Plot View : " + kName + " ...");
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(store.column(0)[static_cast<size_t>(i)], static_cast<float>(36000 + 10 * i));
      EXPECT_EQ(store.column(2)[static_cast<size_t>(i)], static_cast<float>(36005 + 10 * i));
      EXPECT_EQ(store.column(4)[static_cast<size_t>(i)], static_cast<float>(20.5 + i));
    }
    EXPECT_EQ(store.column(3)[1], -9999.0f);  // flags are stored like any value
    EXPECT_EQ(store.ArrayMin(0), 36000.0f);
    EXPECT_EQ(store.ArrayMax(0), 36040.0f);
    EXPECT_EQ(store.ArrayMin(3), 10.0f);  // the missing flag is not a minimum
    EXPECT_EQ(store.ArrayMax(3), 14.0f);
  }
}

TEST(DataDriver1001, WithoutAStoreTheScanIsTheSame) {
  IcarttBuilder b = failing1001(3, 9, 9);
  DataScan s = scanData(b);
  EXPECT_EQ(s.res.status, 0);
  EXPECT_EQ(s.data, closing(39));
  EXPECT_EQ(s.res.host.plottingEnabled, 1);
}

TEST(DataDriver1001, ErrorBudget) {
  struct Case {
    const char* why;
    int records, first, last;
    size_t errors;       // too-close errors written
    bool tooMany;        // "Too many errors..." in place of the line count
    long long lastLine;  // the closing line's count when not tooMany
  };
  const Case cases[] = {
      {"31 failing records, then the end of the file", 32, 1, 31, 31, false, 68},
      {"32 failing records: the end-of-file read takes the 33rd unit", 33, 1, 32, 32, true, 0},
      {"the first record's flag check is not charged", 32, 0, 31, 32, false, 68},
      {"the 33rd failure ends the phase", 40, 1, 39, 33, true, 0},
      {"one failing record", 5, 2, 2, 1, false, 41},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    DataScan s = scanData(failing1001(c.records, c.first, c.last));
    ASSERT_TRUE(s.reached) << s.res.report;
    EXPECT_EQ(s.res.status, 10);
    EXPECT_EQ(s.res.host.plottingEnabled, 0);
    EXPECT_EQ(countOf(s.data, kTooClose), c.errors);
    EXPECT_EQ(errorBlocks(s.data), c.errors + (c.tooMany ? 1 : 0));
    if (c.tooMany) {
      EXPECT_TRUE(endsWith(s.data, kTooMany))
          << s.data;
      EXPECT_FALSE(has(s.data, "Total number of lines processed"));
    } else {
      EXPECT_TRUE(endsWith(s.data, closing(c.lastLine)))
          << s.data;
    }
  }
  // The phase that ended at its 33rd failure (record 34, line 70) read nothing after it.
  DataScan s = scanData(failing1001(40, 1, 39));
  EXPECT_TRUE(has(s.data, "Line70: Error(-9's)"));
  EXPECT_FALSE(has(s.data, "Line71"));
}

TEST(DataDriver1001, LimitChecksAreChargedToo) {
  // V1 (variable 3) has the upper limit 500. A value above it fails the LOD check; V2 at -1500
  // fails the flag check. Each failing check of a record costs one unit, and so does the LOD check
  // of the first record (its flag check costs nothing).
  const std::string above = "Error - Var_3 (V1, ppbv, Test variable\n): Value = 600.0000 is GREATER_THAN ULOD_VALUE(500.0000) in header.<br>\n";
  struct Case {
    const char* why;
    std::vector<std::pair<bool, bool>> records;  // (above the limit, too close) per record
    bool tooMany;
  };
  auto make = [](size_t n, std::pair<bool, bool> first, std::pair<bool, bool> rest, size_t restCount) {
    std::vector<std::pair<bool, bool>> v(n, {false, false});
    v[0] = first;
    for (size_t i = 1; i <= restCount && i < n; ++i) v[i] = rest;
    return v;
  };
  const Case cases[] = {
      {"first record above the limit + 30 + the end = 32", make(32, {true, false}, {false, true}, 30), false},
      {"first record above the limit + 31 + the end = 33", make(32, {true, false}, {false, true}, 31), true},
      {"first record too close costs nothing: 31 + the end = 32", make(32, {false, true}, {false, true}, 31), false},
      {"both checks of 15 records + the end = 31", make(16, {false, false}, {true, true}, 15), false},
      {"both checks of 16 records + the end = 33", make(17, {false, false}, {true, true}, 16), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    IcarttBuilder b = IcarttBuilder::ffi1001();
    setComment(b, "ULOD_VALUE", "ULOD_VALUE: N/A, N/A, 500, N/A");
    b.data.clear();
    size_t limits = 0;
    for (size_t i = 0; i < c.records.size(); ++i) {
      b.data.push_back(record(static_cast<int>(i), {c.records[i].first ? "600" : "10", c.records[i].second ? "-1500" : "11"}));
      if (c.records[i].first) ++limits;
    }
    DataScan s = scanData(b);
    ASSERT_TRUE(s.reached) << s.res.report;
    EXPECT_EQ(s.res.status, 10);
    EXPECT_EQ(countOf(s.data, above), limits);
    if (c.tooMany) {
      EXPECT_TRUE(endsWith(s.data, kTooMany));
    } else {
      EXPECT_TRUE(endsWith(s.data, closing(36 + static_cast<long long>(c.records.size())))) << s.data;
    }
  }
}

TEST(DataDriver1001, ABlankLineEndsThePhaseAtOnce) {
  PlotDataStore store;
  ScanOptions opt;
  opt.store = &store;
  IcarttBuilder b = failing1001(4, 3, 3);
  b.data.insert(b.data.begin() + 2, "");  // line 39; a failing record after it
  DataScan s = scanData(b, opt);
  EXPECT_EQ(s.res.status, 19);
  EXPECT_EQ(s.data, red("Line39 is empty.<br>\n") + closing(38));
  EXPECT_EQ(s.res.host.plottingEnabled, 0);
  EXPECT_EQ(store.RecordCount(), 2);
}

TEST(DataDriver1001, Abort) {
  struct Case {
    long after;  // Abort is pressed at this progress call
    long long lastLine;
    int64_t stored;
  };
  const Case cases[] = {{1, 37, 1}, {3, 39, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.after);
    PlotDataStore store;
    ScanOptions opt;
    opt.store = &store;
    opt.abortAfter = c.after;
    DataScan s = scanData(failing1001(6, 9, 9), opt);
    EXPECT_EQ(s.res.status, 20);
    EXPECT_EQ(s.data, closing(c.lastLine));
    EXPECT_EQ(progressCalls(s.res), static_cast<size_t>(c.after));
    EXPECT_TRUE(has(s.res.report, red("<H3>File Scanning Aborted By User.</H3><br>\n")));
    EXPECT_EQ(s.res.host.plottingEnabled, 0);
    EXPECT_EQ(store.RecordCount(), c.stored);
  }
}

TEST(DataDriverRefusal, StartStopMidNeedsTwoVariables) {
  const std::string refusal =
      "<br>Error: Time-Interval Type \"Start, Stop, and Mid-point\" needs the Stop and Mid-point times as variables 1 and 2, but NV on line10 = 1. The data section was not scanned.<br>\n";
  IcarttBuilder b = IcarttBuilder::ffi1001(0);
  b.vars = {"Stop_UTC, seconds, Stop time in UTC seconds"};
  b.data = {"36000, 36010", "36010, 36020"};
  {
    PlotDataStore store;
    ScanOptions opt;
    opt.store = &store;
    DataScan s = scanData(b, opt);
    ASSERT_TRUE(s.reached) << s.res.report;
    EXPECT_EQ(s.res.status, 10);
    EXPECT_EQ(s.data, red(refusal));
    EXPECT_EQ(progressCalls(s.res), 0u);
    EXPECT_TRUE(store.IsEmpty());
    EXPECT_EQ(s.res.host.plottingEnabled, 0);
  }
  // The constant interval type needs no stop time: the data section is scanned.
  b.line8 = "1";
  b.data = {"36000, 36010", "36001, 36020"};
  DataScan s = scanData(b, constantEqual());
  EXPECT_EQ(s.res.status, 0) << s.res.report;
  EXPECT_EQ(s.data, closing(b.computedNH() + 2));
}

TEST(DataDriverRefusal, TheArraySizeColumnMustExist) {
  struct Case {
    const char* why;
    IcarttBuilder b;
    ScanOptions opt;
    int index, naux;
  };
  IcarttBuilder s2110 = IcarttBuilder::ffi2110();
  s2110.auxVars = {"Stop_UTC, seconds, Stop time", "Mid_UTC, seconds, Mid time"};
  s2110.data = {"36000, 36060, 36030", "500, 40.1, 280.5"};
  IcarttBuilder s2310 = IcarttBuilder::ffi2310();
  s2310.auxVars = {"Stop_UTC, seconds, Stop time", "Mid_UTC, seconds, Mid time"};
  s2310.data = {"36000, 36060, 36030", "40.1"};
  IcarttBuilder one2110 = IcarttBuilder::ffi2110();
  one2110.auxVars = {"NumAlt, number, Number of altitudes"};
  one2110.data = {"36000, 1", "500, 40.1, 280.5"};
  const Case cases[] = {
      {"2110, start-stop-mid, two auxiliary variables", s2110, {}, 3, 2},
      {"2310, start-stop-mid, two auxiliary variables", s2310, {}, 3, 2},
      {"2110, start-stop-mid, one auxiliary variable", one2110, {}, 3, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    PlotDataStore store;
    ScanOptions opt = c.opt;
    opt.store = &store;
    DataScan s = scanData(c.b, opt);
    ASSERT_TRUE(s.reached) << s.res.report;
    EXPECT_EQ(s.res.status, 10);
    EXPECT_EQ(s.data, red("<br>Error: the array size of each block is read from auxiliary variable " +
                          std::to_string(c.index) + ", but NAUXV = " + std::to_string(c.naux) +
                          ". The data section was not scanned.<br>\n"));
    EXPECT_EQ(progressCalls(s.res), 0u);
    EXPECT_TRUE(store.IsEmpty());
    EXPECT_EQ(s.res.host.plottingEnabled, 0);
  }
  // With the constant interval type the array size is auxiliary variable 1, which every header
  // that passes has.
  one2110.line8 = "1";
  DataScan s = scanData(one2110, constantEqual());
  EXPECT_EQ(s.res.status, 0) << s.res.report;
  EXPECT_EQ(s.data, closing(one2110.computedNH() + 2));
}

TEST(DataDriverBlocks, EmptyBlocksReadNoBoundedLines) {
  // Array size 0 and the missing flag: the next line is the next block's unbounded line (read as
  // a bounded line it would fail its item count).
  struct Case {
    const char* why;
    int ffi;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"2110", 2110,
       {unbounded(0, "0"), unbounded(1, "-9999"), unbounded(2, "-9999.0000001"), unbounded(3, "2"), "500, 40.1, 280.5",
        "1000, 41.2, 277.1", unbounded(4, "0")}},
      {"2310", 2310,
       {unbounded(0, "0", ", 500, 250"), unbounded(1, "-9999", ", 500, 250"), unbounded(2, "3", ", 500, 250"),
        "40.1, 41.2, 42.3", "1.1, 1.2, 1.3", unbounded(3, "0", ", 500, 250")}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    IcarttBuilder b = c.ffi == 2110 ? IcarttBuilder::ffi2110() : IcarttBuilder::ffi2310();
    b.data = c.lines;
    const int nh = b.computedNH();
    DataScan s = scanData(b);
    ASSERT_TRUE(s.reached) << s.res.report;
    EXPECT_EQ(s.res.status, 0);
    EXPECT_EQ(s.data, closing(nh + static_cast<long long>(c.lines.size())));
    EXPECT_EQ(s.res.host.plottingEnabled, 1);
  }
}

TEST(DataDriverBlocks, FractionalArraySize) {
  // 2110 reads bounded lines while their count is below the size as read (2.5 gives 3 lines);
  // 2310 reads lines of the size truncated (2 points).
  struct Case {
    const char* why;
    int ffi;
    std::vector<std::string> lines;
    int32_t status;
  };
  const Case cases[] = {
      {"2110, 2.5: three bounded lines", 2110,
       {unbounded(0, "2.5"), "500, 40.1, 280.5", "1000, 41.2, 277.1", "1500, 42.0, 275.0", unbounded(1, "0")}, 0},
      {"2110, 2.5 with two bounded lines: the next unbounded line is the third", 2110,
       {unbounded(0, "2.5"), "500, 40.1, 280.5", "1000, 41.2, 277.1", unbounded(1, "0")}, 10},
      {"2310, 2.5: two points per line", 2310,
       {unbounded(0, "2.5", ", 500, 250"), "40.1, 41.2", "1.1, 1.2", unbounded(1, "0", ", 500, 250")}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    IcarttBuilder b = c.ffi == 2110 ? IcarttBuilder::ffi2110() : IcarttBuilder::ffi2310();
    b.data = c.lines;
    const int nh = b.computedNH();
    DataScan s = scanData(b);
    ASSERT_TRUE(s.reached) << s.res.report;
    EXPECT_EQ(s.res.status, c.status);
    if (c.status == 0) {
      EXPECT_EQ(s.data, closing(nh + static_cast<long long>(c.lines.size())));
    } else {
      EXPECT_TRUE(has(s.data, "Line" + std::to_string(nh + 4) + ": Either the delimiter(s) NOT compliant")) << s.data;
      EXPECT_TRUE(endsWith(s.data, closing(nh + 3)));
    }
  }
}

TEST(DataDriverBlocks, InvalidArraySize) {
  struct Case {
    const char* why;
    int ffi;
    std::vector<std::string> lines;
    int line;  // offset from NH of the unbounded line that holds the size
    std::string read;
  };
  const Case cases[] = {
      {"2110, -5 in the first block", 2110, {unbounded(0, "-5"), "500, 40.1, 280.5"}, 1, "-5"},
      {"2110, -5 in the second block", 2110, {unbounded(0, "1"), "500, 40.1, 280.5", unbounded(1, "-5")}, 3, "-5"},
      {"2110, 0.5", 2110, {unbounded(0, "0.5"), "500, 40.1, 280.5"}, 1, "0"},
      {"2310, -5", 2310, {unbounded(0, "-5", ", 500, 250"), "40.1"}, 1, "-5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    IcarttBuilder b = c.ffi == 2110 ? IcarttBuilder::ffi2110() : IcarttBuilder::ffi2310();
    b.data = c.lines;
    const int nh = b.computedNH();
    DataScan s = scanData(b);
    ASSERT_TRUE(s.reached) << s.res.report;
    EXPECT_EQ(s.res.status, 10);
    EXPECT_EQ(s.data, red("<br>Error Line" + std::to_string(nh + c.line) +
                          " (ArraySize Invalid): AuxVar3(NumAlt, number, Number of altitudes\n) = Array_Size; Array_Size (value read = " +
                          c.read + ") must be a valid positve number, AMISS (-9's) or 0\n") +
                          closing(nh + c.line - 1));
    EXPECT_EQ(s.res.host.plottingEnabled, 0);
  }
}

TEST(DataDriverBlocks, A2310BlockOf5000PointsIsReadWhole) {
  struct Case {
    const char* why;
    std::string last;  // the last point of the second bounded line
    int32_t status;
    size_t errors;
  };
  const Case cases[] = {{"clean", "1.5", 0, 0}, {"last point too close", "-1500", 10, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    IcarttBuilder b = IcarttBuilder::ffi2310();
    std::string points;
    for (int k = 0; k < 4999; ++k) points += "1.5, ";
    b.data = {unbounded(0, "5000", ", 500, 250"), points + "1.5", points + c.last, unbounded(1, "0", ", 500, 250")};
    const int nh = b.computedNH();
    DataScan s = scanData(b);
    ASSERT_TRUE(s.reached) << s.res.report;
    EXPECT_GT(s.res.maxLineLength, 25000);
    EXPECT_EQ(s.res.status, c.status);
    EXPECT_EQ(countOf(s.data, "Value = -1500.0000"), c.errors);
    EXPECT_TRUE(has(s.data, closing(nh + 4))) << s.data;
    EXPECT_EQ(errorBlocks(s.data), c.errors);
  }
}

// The error of a file that ends inside a block: the block's unbounded-variable line, the bounded
// lines it announced and those found.
std::string endedInsideBlock(int line, int announced, int found) {
  return kRed +
         fmt("<br>Error Line%d (Block Incomplete): the file ended inside the block of this unbounded-variable line, which announced %d bounded lines; %d were found. The file may have been cut short.<br>\n",
             line, announced, found) +
         kEnd;
}

TEST(DataDriverBlocks, AFileEndingInsideABlockFails) {
  // A file cut short inside a block must not pass: one error names the block's unbounded-variable
  // line, the bounded lines it announced and those found; the phase ends there with status 10 and
  // the usual closing line (the lines read).
  struct Case {
    const char* why;
    int ffi;
    std::vector<std::string> data;
    int blockLine;  // after NH
    int announced, found;
    int linesRead;  // after NH
  };
  const Case cases[] = {
      {"2110, one of two lines missing", 2110, {"36000, 36060, 36030, 2", "500, 40.1, 280.5"}, 1, 2, 1, 2},
      {"2110, both lines missing", 2110, {"36000, 36060, 36030, 2"}, 1, 2, 0, 1},
      {"2110, second block, fractional size 2.5 announces 3 lines", 2110,
       {"36000, 36060, 36030, 1", "500, 40.1, 280.5", "36060, 36120, 36090, 2.5", "500, 40.1, 280.5",
        "1000, 41.2, 277.1"},
       3, 3, 2, 5},
      {"2310, one of two lines missing", 2310, {"36000, 36060, 36030, 3, 500, 250", "40.1, 41.2, 42.3"}, 1, 2, 1, 2},
      {"2310, both lines missing", 2310, {"36000, 36060, 36030, 3, 500, 250"}, 1, 2, 0, 1},
      {"2310, second block", 2310,
       {"36000, 36060, 36030, 0, 500, 250", "36060, 36120, 36090, 3, 500, 250"}, 2, 2, 0, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    IcarttBuilder b = c.ffi == 2110 ? IcarttBuilder::ffi2110() : IcarttBuilder::ffi2310();
    b.data = c.data;
    const int nh = b.computedNH();
    DataScan s = scanData(b);
    ASSERT_TRUE(s.reached) << s.res.report;
    EXPECT_EQ(s.res.status, 10);
    EXPECT_EQ(s.data, endedInsideBlock(nh + c.blockLine, c.announced, c.found) + closing(nh + c.linesRead));
    EXPECT_EQ(s.res.host.plottingEnabled, 0);
    // The finding names the block's line.
    ASSERT_FALSE(s.res.outcome.findings.empty());
    EXPECT_EQ(s.res.outcome.findings.back().line, nh + c.blockLine);
    EXPECT_EQ(s.res.outcome.findings.back().phase, Phase::Data);
  }
}

TEST(DataDriverBlocks, AFileEndingInsideABlockAfterFailures) {
  // NV 2. Blocks 2..F+1 have array size 0 and a failing auxiliary value (one unit each); the last
  // block's two bounded lines are missing: its error ends the phase without a charge, so the
  // closing line stays the line count even with the budget nearly spent.
  for (int failing : {30, 32}) {
    SCOPED_TRACE(failing);
    IcarttBuilder b = IcarttBuilder::ffi2310();
    b.data = {unbounded(0, "0", ", 500, 250")};
    for (int i = 1; i <= failing; ++i) b.data.push_back(unbounded(i, "0", ", 500, -1500"));
    b.data.push_back(unbounded(failing + 1, "3", ", 500, 250"));
    const int nh = b.computedNH();
    DataScan s = scanData(b);
    ASSERT_TRUE(s.reached) << s.res.report;
    EXPECT_EQ(s.res.status, 10);
    EXPECT_EQ(countOf(s.data, "AuxVar_5 (dAlt, m, Altitude step\n)<br> [ Value = -1500.0000"),
              static_cast<size_t>(failing));
    EXPECT_EQ(progressCalls(s.res), static_cast<size_t>(failing + 1)) << "the cut block is not handed over";
    EXPECT_TRUE(endsWith(s.data, endedInsideBlock(nh + failing + 2, 2, 0) + closing(nh + failing + 2)))
        << s.data.substr(s.data.size() > 400 ? s.data.size() - 400 : 0);
  }
}

TEST(DataDriverBlocks, A2310LineChargesEachFailingCheckCall) {
  // O3 has the upper limit 500. On a bounded line the flag check follows the LOD check without the
  // status being cleared, so a point above the limit costs two units; a point too close to the
  // missing flag costs one (the LOD check before it passed).
  struct Case {
    const char* why;
    int above, tooClose;  // blocks whose first bounded line has a point above the limit / too close
    bool tooMany;
  };
  const Case cases[] = {
      {"15 x 2 + the end = 31", 15, 0, false},
      {"15 x 2 + 1 + the end = 32", 15, 1, false},
      {"15 x 2 + 2 + the end = 33", 15, 2, true},
      {"16 x 2 + the end = 33", 16, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    IcarttBuilder b = IcarttBuilder::ffi2310();
    setComment(b, "ULOD_VALUE", "ULOD_VALUE: N/A, N/A, N/A, N/A, N/A, 500, N/A");
    b.data.clear();
    for (int i = 0; i < c.above + c.tooClose; ++i) {
      b.data.push_back(unbounded(i, "3", ", 500, 250"));
      b.data.push_back(i < c.above ? "40.1, 600, 42.3" : "40.1, -1500, 42.3");
      b.data.push_back("1.1, 1.2, 1.3");
    }
    const int nh = b.computedNH();
    DataScan s = scanData(b);
    ASSERT_TRUE(s.reached) << s.res.report;
    EXPECT_EQ(s.res.status, 10);
    EXPECT_EQ(countOf(s.data, "[ Array_Point_2 = 600.0000 * Multiplier = 1.0000 ] is GREATER_THAN ULOD_VALUE (500.0000) in header.<br>\n"),
              static_cast<size_t>(c.above));
    EXPECT_EQ(countOf(s.data, kTooClose), c.tooMany && c.above == 16 ? 0u : static_cast<size_t>(c.tooClose));
    if (c.tooMany) {
      EXPECT_TRUE(endsWith(s.data, kTooMany));
    } else {
      EXPECT_TRUE(endsWith(s.data, closing(nh + 3 * (c.above + c.tooClose)))) << s.data;
    }
  }
}

TEST(DataDriverBlocks, PlannedRecordsCountEachPieceOfALongLine) {
  // The planned records come from the line count of the line-ending pass, which counts each piece
  // of an over-long line before it raises the limit: the 3000-character first bounded line counts
  // three times, so 8 lines are counted for 6: two blocks are planned, and both fit.
  IcarttBuilder b = IcarttBuilder::ffi2310();
  std::string points;
  for (int k = 0; k < 599; ++k) points += "1.5, ";
  points += "1.5";
  b.data = {unbounded(0, "600", ", 500, 250"), points, points, unbounded(1, "3", ", 600, 250"), "40.1, 41.2, 42.3",
            "1.1, 1.2, 1.3"};
  const int nh = b.computedNH();
  PlotDataStore store;
  ScanOptions opt;
  opt.store = &store;
  DataScan s = scanData(b, opt);
  ASSERT_TRUE(s.reached) << s.res.report;
  EXPECT_EQ(s.res.linesCounted, nh + 8);
  EXPECT_EQ(s.res.status, 0);
  EXPECT_EQ(s.data, closing(nh + 6));
  EXPECT_EQ(store.RecordCount(), 2);
  EXPECT_EQ(store.column(0)[1], 36060.0f);
  EXPECT_EQ(store.column(4)[1], 600.0f);
}

// A 2110 file of 20 primary variables: one block per entry of bad, each with one bounded line
// whose variable bad[i] holds a value too close to the missing flag.
IcarttBuilder twentyVariables(const std::vector<int>& bad) {
  IcarttBuilder b = IcarttBuilder::ffi2110();
  b.vars.clear();
  for (int k = 1; k <= 20; ++k) b.vars.push_back("W" + std::to_string(k) + ", ppbv, Test variable");
  b.data.clear();
  for (size_t i = 0; i < bad.size(); ++i) {
    b.data.push_back(unbounded(static_cast<int>(i), "1"));
    std::string line = "500";
    for (int k = 1; k <= 20; ++k) line += k == bad[i] ? ", -1500" : ", 1";
    b.data.push_back(line);
  }
  return b;
}

TEST(DataDriverBlocks, A2110LineChargesEveryCheckAfterItsFirstFailure) {
  // A failure in variable k of a bounded line charges 1 + 2 x (20 - k) units: the status is not
  // cleared within the line, so both checks of every later variable fail too. (A header that
  // passes always holds the LOD keywords.)
  struct Case {
    const char* why;
    std::vector<int> bad;
    bool tooMany;
  };
  const Case cases[] = {
      {"variable 1: 39 units end the phase after that line", {1, 20, 20}, true},
      {"4 x 7 + 3 x 1 + the end-of-file read = 32", {17, 17, 17, 17, 20, 20, 20}, false},
      {"4 x 7 + 4 x 1 + the end-of-file read = 33", {17, 17, 17, 17, 20, 20, 20, 20}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    IcarttBuilder b = twentyVariables(c.bad);
    const int nh = b.computedNH();
    DataScan s = scanData(b);
    ASSERT_TRUE(s.reached) << s.res.report;
    EXPECT_EQ(s.res.status, 10);
    const size_t written = c.bad[0] == 1 ? 1 : c.bad.size();
    EXPECT_EQ(countOf(s.data, kTooClose), written);  // the later checks of a line write nothing
    EXPECT_EQ(errorBlocks(s.data), written + (c.tooMany ? 1 : 0));
    if (c.tooMany) {
      EXPECT_TRUE(endsWith(s.data, kTooMany));
    } else {
      EXPECT_TRUE(endsWith(s.data, closing(nh + 2 * static_cast<long long>(c.bad.size()))));
    }
    if (c.bad[0] == 1) {
      EXPECT_FALSE(has(s.data, "Line" + std::to_string(nh + 3)));  // nothing after the line
    }
  }
}

TEST(DataDriverBlocks, PlotStoreHoldsTheUnboundedLines) {
  // NV 2: the planned records are (lines - NH) / 3. Blocks of four bounded lines make fewer blocks
  // than planned; the store is trimmed to the blocks stored.
  struct Case {
    const char* why;
    std::vector<std::string> lines;
    int64_t records;
  };
  const std::vector<std::string> four = {"500, 40.1, 280.5", "1000, 41.2, 277.1", "1500, 42.0, 275.0",
                                         "2000, 43.0, 270.0"};
  std::vector<std::string> longBlocks = {unbounded(0, "4")};
  longBlocks.insert(longBlocks.end(), four.begin(), four.end());
  longBlocks.push_back(unbounded(1, "4"));
  longBlocks.insert(longBlocks.end(), four.begin(), four.end());
  const Case cases[] = {
      {"fewer blocks than planned", longBlocks, 2},  // 10 lines: 3 planned
      {"more blocks than planned", {unbounded(0, "0"), unbounded(1, "0"), unbounded(2, "0"), unbounded(3, "0")}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    PlotDataStore store;
    ScanOptions opt;
    opt.store = &store;
    IcarttBuilder b = IcarttBuilder::ffi2110();
    b.data = c.lines;
    DataScan s = scanData(b, opt);
    ASSERT_TRUE(s.reached) << s.res.report;
    EXPECT_EQ(s.res.status, 0);
    ASSERT_FALSE(store.IsEmpty());
    EXPECT_EQ(store.ColumnCount(), 4);
    EXPECT_EQ(store.RecordCount(), c.records);
    EXPECT_EQ(store.variableNames(),
              (std::vector<std::string>{"Start_UTC, seconds, Start time in UTC seconds", "Stop_UTC, seconds, Stop time",
                                        "Mid_UTC, seconds, Mid time", "NumAlt, number, Number of altitudes"}));
    EXPECT_EQ(store.column(0)[0], 36000.0f);
    if (c.records > 1) {
      EXPECT_EQ(store.column(0)[1], 36060.0f);
    }
    EXPECT_EQ(store.column(3)[0], c.records == 2 ? 4.0f : 0.0f);
  }
}

TEST(DataDriverBlocks, Abort) {
  PlotDataStore store;
  ScanOptions opt;
  opt.store = &store;
  opt.abortAfter = 1;
  IcarttBuilder b = IcarttBuilder::ffi2110();
  b.data = {unbounded(0, "1"), "500, 40.1, 280.5", unbounded(1, "1"), "500, 40.1, 280.5", unbounded(2, "1"),
            "500, 40.1, 280.5"};
  const int nh = b.computedNH();
  DataScan s = scanData(b, opt);
  EXPECT_EQ(s.res.status, 20);
  EXPECT_EQ(s.data, closing(nh + 2));  // ended after reading the second block's unbounded line
  EXPECT_TRUE(has(s.res.report, red("<H3>File Scanning Aborted By User.</H3><br>\n")));
  EXPECT_EQ(s.res.host.plottingEnabled, 0);
  EXPECT_EQ(store.RecordCount(), 1);
}

}  // namespace
}  // namespace tarvik::test
