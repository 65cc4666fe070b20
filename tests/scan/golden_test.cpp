// Whole scans compared with their expected reports. Each folder under tests/golden holds one
// input under a real ICARTT name, case.txt ("interval=... extra=... -- why the case exists") and
// expected.htm. TARVIK_REGENERATE_GOLDEN=1 rewrites expected.htm from the program's output;
// read every regenerated file line by line before keeping it.
#include <dirent.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "scan/core/outcome.h"
#include "support/test_files.h"

namespace tarvik::test {
namespace {

const std::string kGoldenDir = std::string(TARVIK_SOURCE_DIR) + "/tests/golden";

bool isDirectory(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<std::string> entriesOf(const std::string& dir) {
  std::vector<std::string> names;
  if (DIR* d = ::opendir(dir.c_str())) {
    while (dirent* e = ::readdir(d)) {
      std::string n = e->d_name;
      if (n != "." && n != "..") names.push_back(n);
    }
    ::closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> caseNames() {
  std::vector<std::string> cases;
  for (const auto& n : entriesOf(kGoldenDir))
    if (isDirectory(kGoldenDir + "/" + n)) cases.push_back(n);
  return cases;
}

struct GoldenCase {
  std::string folder;
  std::string input;  // the input's file name
  std::string description;
  ScanOptions options;
  ScanSettings settings;  // the rule set (icartt=1.1 or icartt=2.0)
  std::string problem;    // why the case folder is not usable; empty when it is
};

GoldenCase loadCase(const std::string& name) {
  GoldenCase c;
  c.folder = kGoldenDir + "/" + name;
  std::vector<std::string> inputs;
  for (const auto& n : entriesOf(c.folder))
    if (n != "case.txt" && n != "expected.htm" && n != "actual.htm") inputs.push_back(n);
  if (inputs.size() != 1) {
    c.problem = "the folder must hold exactly one input besides case.txt and expected.htm";
    return c;
  }
  c.input = inputs[0];
  c.description = readFile(c.folder + "/case.txt");
  const size_t dashes = c.description.find(" -- ");
  if (dashes == std::string::npos || c.description.find('\n') != c.description.size() - 1) {
    c.problem = "case.txt must be one line: options, \" -- \", and why the case exists";
    return c;
  }
  std::istringstream opts(c.description.substr(0, dashes));
  for (std::string word; opts >> word;) {
    if (word == "interval=start-stop-mid")
      c.options.interval = StartStopMid;
    else if (word == "interval=constant")
      c.options.interval = ConstantEqual;
    else if (word == "extra=0")
      c.options.extraIntervals = false;
    else if (word == "extra=1")
      c.options.extraIntervals = true;
    else if (word == "icartt=1.1")
      c.settings.icartt = IcarttVersion::V1_1;
    else if (word == "icartt=2.0")
      c.settings.icartt = IcarttVersion::V2_0;
    else
      c.problem = "unknown option in case.txt: " + word;
  }
  return c;
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// "line N" and both texts of the first line where the two differ.
std::string firstDifference(const std::string& expected, const std::string& actual) {
  const auto e = splitLines(expected), a = splitLines(actual);
  for (size_t i = 0; i < std::max(e.size(), a.size()); ++i) {
    const std::string ei = i < e.size() ? e[i] : "<end of file>";
    const std::string ai = i < a.size() ? a[i] : "<end of file>";
    if (ei != ai) return "first difference at line " + std::to_string(i + 1) + "\n  expected: " + ei + "\n  actual:   " + ai;
  }
  return "the texts differ only in their final line feed";
}

class GoldenReport : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenReport, MatchesExpected) {
  const GoldenCase c = loadCase(GetParam());
  ASSERT_EQ(c.problem, "") << c.folder;
  SCOPED_TRACE(c.description);

  TempDir dir;
  const std::string path = dir.file(c.input);
  writeFile(path, readFile(c.folder + "/" + c.input));
  ScanResult r = scanPath(path, c.options, c.settings);
  ASSERT_EQ(r.reportPath, path + "__diagnostic.htm") << "no finished report";
  EXPECT_TRUE(r.host.messages.empty());
  // The report names the file, never the folder it was scanned in.
  EXPECT_EQ(r.report.find(dir.path()), std::string::npos) << "the temporary folder's path appears in the report";

  const std::string expectedPath = c.folder + "/expected.htm";
  const char* regenerate = std::getenv("TARVIK_REGENERATE_GOLDEN");
  if (regenerate && std::string(regenerate) == "1") {
    writeFile(expectedPath, r.report);
    return;
  }
  ASSERT_TRUE(fileExists(expectedPath)) << "no expected.htm; run with TARVIK_REGENERATE_GOLDEN=1 and review it";
  const std::string expected = readFile(expectedPath);
  if (r.report != expected) {
    // Keep the scanned copy with the report beside it as actual.htm, for a diff.
    std::string keep = dir.path() + "-actual";
    ::mkdir(keep.c_str(), 0755);
    writeFile(keep + "/" + c.input, readFile(path));
    writeFile(keep + "/actual.htm", r.report);
    ADD_FAILURE() << "report differs from " << expectedPath << "\n"
                  << firstDifference(expected, r.report) << "\n  actual report: " << keep << "/actual.htm";
  }
}

// An error or warning block of a report: where its opening tag stands, its severity, its inner
// markup (to the </font> that closes it), and the number of the echo that follows it, if one does.
struct Block {
  size_t at;
  Severity severity;
  std::string inner;
  int64_t echoLine;
};

// The blocks of the checks: those between the submission lines and the verdict (the legend before
// and the verdict after are no findings).
std::vector<Block> reportBlocks(const std::string& report) {
  static const std::string kRed = "<font color='#FF0000'>", kOrange = "<font color='#FF9933'>";
  static const std::string kEcho = "<font color='#0000FF'>Line";
  const size_t from = report.find("Filename Submitted: ");
  size_t to = report.rfind("<br>Max char's per line found");
  if (to == std::string::npos || to < from) to = report.rfind("<font color='#FF0000'><font color='#FF9933'><H4>File Type:");
  if (to == std::string::npos || to < from) to = report.rfind("<hr><br><center>");
  std::vector<Block> blocks;
  for (size_t p = from; p < to;) {
    const size_t red = report.find(kRed, p), orange = report.find(kOrange, p);
    const size_t at = std::min(red, orange);
    if (at >= to) break;
    if (at >= 3 && report.compare(at - 3, 3, "<i>") == 0) {  // the keyword list's legend, no block
      p = at + kRed.size();
      continue;
    }
    Block b{at, at == red ? Severity::Error : Severity::Warning, "", Finding::kNoLine};
    // The closing tag of the block: font tags inside it nest.
    size_t q = at + kRed.size(), depth = 1;
    while (depth > 0) {
      const size_t open = report.find("<font", q), close = report.find("</font>", q);
      if (close == std::string::npos) break;
      if (open < close) {
        ++depth;
        q = open + 5;
      } else {
        --depth;
        q = close + 7;
      }
    }
    b.inner = report.substr(at + kRed.size(), q - 7 - at - kRed.size());
    // An echo right after the block (blank lines and line breaks may come between).
    size_t e = q;
    while (e < report.size() && (report[e] == '\n' || report.compare(e, 4, "<br>") == 0 || report.compare(e, 6, "<br />") == 0))
      e += report[e] == '\n' ? 1 : (report.compare(e, 4, "<br>") == 0 ? 4 : 6);
    if (report.compare(e, kEcho.size(), kEcho) == 0) b.echoLine = std::atoll(report.c_str() + e + kEcho.size());
    blocks.push_back(b);
    p = at + kRed.size();
  }
  return blocks;
}

// The findings are the report's own blocks: one for each red or orange block of the checks, in
// their order, with the block's severity and words, and the line an echo after it shows.
TEST_P(GoldenReport, FindingsAgreeWithTheReport) {
  const GoldenCase c = loadCase(GetParam());
  ASSERT_EQ(c.problem, "") << c.folder;
  SCOPED_TRACE(c.description);
  TempDir dir;
  const std::string path = dir.file(c.input);
  writeFile(path, readFile(c.folder + "/" + c.input));
  const ScanResult r = scanPath(path, c.options, c.settings);
  ASSERT_TRUE(r.outcome.reportWritten());
  const std::vector<Finding>& findings = r.outcome.findings;
  const std::vector<Block> blocks = reportBlocks(r.report);
  ASSERT_EQ(findings.size(), blocks.size()) << r.report;
  for (size_t i = 0; i < blocks.size(); ++i) {
    SCOPED_TRACE("block " + std::to_string(i + 1));
    EXPECT_EQ(findings[i].severity, blocks[i].severity);
    EXPECT_EQ(findings[i].message, plainText(blocks[i].inner));
    EXPECT_FALSE(findings[i].message.empty());
    if (blocks[i].echoLine != Finding::kNoLine) {
      EXPECT_EQ(findings[i].line, blocks[i].echoLine);
    }
  }
  EXPECT_EQ(r.outcome.count(Severity::Error) + r.outcome.count(Severity::Warning),
            static_cast<int64_t>(findings.size()));
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenReport, ::testing::ValuesIn(caseNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string n = info.param;
                           for (char& ch : n)
                             if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return n;
                         });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(GoldenReport);

TEST(GoldenCases, EveryFolderIsAUsableCase) {
  const auto names = caseNames();
  ASSERT_FALSE(names.empty()) << "no case folder under " << kGoldenDir;
  for (const auto& n : names) {
    SCOPED_TRACE(n);
    const GoldenCase c = loadCase(n);
    EXPECT_EQ(c.problem, "");
    EXPECT_FALSE(fileExists(c.folder + "/actual.htm")) << "a left-over actual.htm";
  }
}

}  // namespace
}  // namespace tarvik::test
