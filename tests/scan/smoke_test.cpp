#include <gtest/gtest.h>

#include "support/icartt_builder.h"
#include "support/test_files.h"

namespace tarvik::test {

TEST(Smoke, BuiltHeadersPassForEveryFfi) {
  for (auto b : {IcarttBuilder::ffi1001(), IcarttBuilder::ffi2110(), IcarttBuilder::ffi2310()}) {
    SCOPED_TRACE(b.ffi);
    TempDir dir;
    ScanResult r = scanBytes(dir, "TEST-DATA_DC8_20190521_R0.ict", b.text());
    EXPECT_EQ(r.status, 0) << r.report;
    EXPECT_NE(r.report.find("Good Job - no major errors encountered during SCAN."), std::string::npos);
    EXPECT_EQ(r.report.substr(r.report.size() - 15), "</BODY></HTML>\n");
  }
}

}  // namespace tarvik::test
