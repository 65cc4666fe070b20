// A whole scan gives the same report under the C locale and under a decimal-comma locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>

#include "plot/plot_data_store.h"
#include "support/test_files.h"

namespace tarvik::test {
namespace {

const char* const kExamples[] = {"TARVIK-EXAMPLE_DC8_20190521_R0.ict", "TARVIK-EXAMPLE-PROFILES_DC8_20190521_R0.ict",
                                 "TARVIK-EXAMPLE-LIDAR_DC8_20190521_R0.ict"};

std::string exampleBytes(const std::string& name) {
  return readFile(std::string(TARVIK_SOURCE_DIR) + "/examples/" + name);
}

// Copies the example to a fresh folder under its own name and scans it, keeping plot data as
// the desktop does.
std::string scanCopy(const std::string& name, TimeIntervalType interval = StartStopMid) {
  TempDir dir;
  PlotDataStore store;
  ScanOptions opt;
  opt.interval = interval;
  opt.store = &store;
  ScanResult r = scanBytes(dir, name, exampleBytes(name), opt);
  EXPECT_FALSE(r.reportPath.empty()) << name;
  return r.report;
}

// The index of the first byte where a and b differ, with the lines around it.
std::string firstDifference(const std::string& a, const std::string& b) {
  size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  if (i == a.size() && i == b.size()) return "identical";
  size_t from = a.rfind('\n', i);
  from = from == std::string::npos ? 0 : from + 1;
  return "first difference at byte " + std::to_string(i) + ":\n  C:     " + a.substr(from, a.find('\n', i) - from) +
         "\n  other: " + b.substr(from, b.find('\n', i) - from);
}

class LocaleReports : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* old = std::setlocale(LC_ALL, nullptr);
    saved_ = old ? old : "C";
  }
  void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }
  // Switches to the decimal-comma locale; false when it is not installed.
  static bool decimalComma() {
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) return false;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.1f", 1.5);
    return std::string(buf) == "1,5";
  }
  std::string saved_;
};

TEST_F(LocaleReports, ExampleReportIsTheSameUnderDecimalComma) {
  ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
  const std::string name = kExamples[0];
  const std::string inC = scanCopy(name);
  ASSERT_NE(inC.find("Good Job"), std::string::npos) << "the example passes";
  if (!decimalComma()) GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
  const std::string inDe = scanCopy(name);
  EXPECT_TRUE(inC == inDe) << firstDifference(inC, inDe);
}

// Every example, under both interval types, so the values, times and summaries of all three
// formats are written in both locales.
TEST_F(LocaleReports, EveryExampleAndIntervalTypeIsTheSame) {
  for (const char* name : kExamples) {
    for (TimeIntervalType interval : {StartStopMid, ConstantEqual}) {
      SCOPED_TRACE(std::string(name) + (interval == StartStopMid ? " start-stop-mid" : " constant"));
      ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
      const std::string inC = scanCopy(name, interval);
      if (!decimalComma()) GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
      const std::string inDe = scanCopy(name, interval);
      EXPECT_TRUE(inC == inDe) << firstDifference(inC, inDe);
    }
  }
}

// The locale the environment names (LC_ALL, LANG), adopted as the desktop's toolkit adopts it:
// `make test` runs the suite a second time with LC_ALL=de_DE.UTF-8.
TEST_F(LocaleReports, EnvironmentLocaleChangesNothing) {
  ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
  const std::string name = kExamples[0];
  const std::string inC = scanCopy(name);
  if (!std::setlocale(LC_ALL, "")) GTEST_SKIP() << "the environment names a locale that is not installed";
  const std::string inEnv = scanCopy(name);
  EXPECT_TRUE(inC == inEnv) << firstDifference(inC, inEnv);
}

}  // namespace
}  // namespace tarvik::test
