// Replays the fuzzer's seed corpus (fuzz/corpus) through whole scans: every input, under the
// name the fuzz target gives it, ends with a finished report or a message box, never a crash.
#include <dirent.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/test_files.h"

namespace tarvik::test {
namespace {

const std::string kCorpusDir = std::string(TARVIK_SOURCE_DIR) + "/fuzz/corpus";

std::vector<std::string> corpusFiles() {
  std::vector<std::string> names;
  if (DIR* d = ::opendir(kCorpusDir.c_str())) {
    while (dirent* e = ::readdir(d)) {
      const std::string path = kCorpusDir + "/" + e->d_name;
      struct stat st {};
      if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) names.push_back(e->d_name);
    }
    ::closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(FuzzCorpus, EveryInputEndsWithAReportOrAMessage) {
  const auto files = corpusFiles();
  ASSERT_FALSE(files.empty()) << "no corpus in " << kCorpusDir;
  for (const auto& name : files) {
    const std::string bytes = readFile(kCorpusDir + "/" + name);
    for (ScanOptions opt : {ScanOptions{StartStopMid, false}, ScanOptions{ConstantEqual, false},
                            ScanOptions{ConstantEqual, true}}) {
      SCOPED_TRACE(name + (opt.interval == ConstantEqual ? " constant" : " start-stop-mid") +
                   (opt.extraIntervals ? " extra" : ""));
      TempDir dir;
      ScanResult r = scanBytes(dir, "FUZZ-TEST_DC8_20190521_R0.ict", bytes, opt);
      if (r.reportPath.empty()) {
        EXPECT_FALSE(r.host.messages.empty()) << "neither a report nor a message box";
      } else {
        EXPECT_TRUE(r.host.messages.empty());
        ASSERT_GE(r.report.size(), 15u);
        EXPECT_EQ(r.report.substr(r.report.size() - 15), "</BODY></HTML>\n");
      }
    }
  }
}

}  // namespace
}  // namespace tarvik::test
