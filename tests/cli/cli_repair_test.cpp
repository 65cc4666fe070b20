// Line ends repaired in place (the default), and --no-repair, which never changes a file: a repair is
// made in a private copy, which is scanned.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "support/test_files.h"

namespace tarvik::test {
namespace {

// The text with carriage returns only, as some spreadsheet programs write it.
std::string crOnly(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
  return text;
}

const char* const kRepairedSuffix = "  (line ends repaired in place)";
const char* const kCopyNote =
    "The submitted file was left unchanged: the repair was made in a private copy, and that copy was scanned.";

TEST(CliRepair, InPlaceByDefaultAndNeverWithNoRepair) {
  struct Case {
    const char* why;
    std::string text;
    bool noRepair;
    int code;  // -1: PASS
    int exitCode;
  };
  const std::vector<Case> cases = {
      {"a passing file repaired in place", crOnly(exampleText()), false, -1, 0},
      {"a failing file repaired in place", crOnly(failingText()), false, 10, 1},
      {"a passing file left as it is", crOnly(exampleText()), true, -1, 0},
      {"a failing file left as it is", crOnly(failingText()), true, 10, 1},
      {"a file that needs no repair", exampleText(), false, -1, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    TempDir dir;
    const std::string path = dir.file(kExampleName);
    writeFile(path, c.text);
    std::vector<std::string> args = {path};
    if (c.noRepair) args.insert(args.begin(), "--no-repair");
    RunResult r = runScanner(args);
    const bool repairedInPlace = !c.noRepair && c.text != exampleText();
    std::string line = c.code < 0 ? passLine(path) : failLine(path, c.code);
    if (repairedInPlace) line.insert(line.size() - 1, kRepairedSuffix);
    EXPECT_EQ(r.out, line);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.exitCode, c.exitCode);
    const std::string after = readFile(path);
    if (repairedInPlace)
      EXPECT_EQ(std::count(after.begin(), after.end(), '\n'), std::count(after.begin(), after.end(), '\r'));
    else
      EXPECT_EQ(after, c.text);  // byte for byte
    EXPECT_FALSE(fileExists(path + ".crlf"));
    const std::string report = readFile(path + "__diagnostic.htm");
    EXPECT_EQ(report.find(kCopyNote) != std::string::npos, c.noRepair);
  }
}

TEST(CliRepair, NoRepairIsReportedAsNotRepairedInJson) {
  TempDir dir;
  const std::string path = dir.file(kExampleName);
  const std::string text = crOnly(exampleText());
  writeFile(path, text);
  RunResult r = runScanner({"--no-repair", "--json", path});
  const nlohmann::json j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["passed"], true);
  EXPECT_EQ(j["repaired"], false);
  EXPECT_EQ(readFile(path), text);
}

}  // namespace
}  // namespace tarvik::test
