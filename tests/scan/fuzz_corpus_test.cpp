// Replays the fuzzers' seed corpora: fuzz/corpus through whole scans (every input, under the name
// the fuzz target gives it, ends with a finished report or a message box, never a crash), and
// fuzz/corpus-tokens through the token and line checks of fuzz_tokens (the library
// tarvik_fuzz_checks, which the fuzz target links): every invariant between the tests holds on
// every input.
#include <dirent.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/test_files.h"
#include "token_checks.h"

namespace tarvik::test {
namespace {

const std::string kCorpusDir = std::string(TARVIK_SOURCE_DIR) + "/fuzz/corpus";
const std::string kTokensCorpusDir = std::string(TARVIK_SOURCE_DIR) + "/fuzz/corpus-tokens";

std::vector<std::string> corpusFiles(const std::string& dir) {
  std::vector<std::string> names;
  if (DIR* d = ::opendir(dir.c_str())) {
    while (dirent* e = ::readdir(d)) {
      const std::string path = dir + "/" + e->d_name;
      struct stat st {};
      if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) names.push_back(e->d_name);
    }
    ::closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(FuzzCorpus, EveryInputEndsWithAReportOrAMessage) {
  const auto files = corpusFiles(kCorpusDir);
  ASSERT_FALSE(files.empty()) << "no corpus in " << kCorpusDir;
  for (const auto& name : files) {
    const std::string bytes = readFile(kCorpusDir + "/" + name);
    for (ScanOptions opt : {ScanOptions{StartStopMid, false}, ScanOptions{ConstantEqual, false},
                            ScanOptions{ConstantEqual, true}})
      for (IcarttVersion rules : {IcarttVersion::V1_1, IcarttVersion::V2_0}) {
        SCOPED_TRACE(name + (opt.interval == ConstantEqual ? " constant" : " start-stop-mid") +
                     (opt.extraIntervals ? " extra" : "") + " ICARTT " + icarttVersionName(rules));
        TempDir dir;
        ScanSettings settings;
        settings.icartt = rules;
        ScanResult r = scanBytes(dir, "FUZZ-TEST_DC8_20190521_R0.ict", bytes, opt, settings);
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

TEST(FuzzCorpus, EveryTokenInputKeepsTheInvariantsOfTheTokenAndLineTests) {
  const auto files = corpusFiles(kTokensCorpusDir);
  ASSERT_FALSE(files.empty()) << "no corpus in " << kTokensCorpusDir;
  for (const auto& name : files) {
    const std::string bytes = readFile(kTokensCorpusDir + "/" + name);
    EXPECT_EQ(fuzz::runTokenChecks(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), "") << name;
  }
}

// Inputs shorter than the four parameter bytes, an empty text and a single clean record: the
// fuzzer produces such inputs first, and every check must take them.
TEST(FuzzCorpus, TheTokenChecksRunOnShortAndEmptyInputs) {
  using namespace std::string_literals;
  for (const std::string& input : {""s, "\x05"s, "\x03\x00\x10\x00"s, "\x03\x00\x10\x00"s + "1, 2, 3\r\n"}) {
    EXPECT_EQ(fuzz::runTokenChecks(reinterpret_cast<const uint8_t*>(input.data()), input.size()), "")
        << input.size() << " bytes";
  }
}

}  // namespace
}  // namespace tarvik::test
