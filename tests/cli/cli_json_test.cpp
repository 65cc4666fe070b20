// --json: one JSON object per file per line, with exactly the documented keys and types, every
// string valid UTF-8.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "cli/utf8_text.h"
#include "support/test_files.h"

namespace tarvik::test {
namespace {

using nlohmann::ordered_json;

const std::vector<std::string> kKeys = {"file",   "report", "status",   "passed",   "verdict", "repaired",
                                        "icartt", "errors", "warnings", "findings", "error"};
const std::vector<std::string> kFindingKeys = {"severity", "line", "phase", "message"};

std::vector<std::string> keysOf(const ordered_json& j) {
  std::vector<std::string> keys;
  for (auto it = j.begin(); it != j.end(); ++it) keys.push_back(it.key());
  return keys;
}

// Every line of out parsed as one object.
std::vector<ordered_json> parseLines(const std::string& out) {
  std::vector<ordered_json> objects;
  std::istringstream in(out);
  std::string line;
  while (std::getline(in, line)) objects.push_back(ordered_json::parse(line));  // throws on invalid UTF-8 too
  return objects;
}

// The keys in their order and the type of every value; a report goes with a status and no error.
void expectShape(const ordered_json& j) {
  ASSERT_TRUE(j.is_object());
  EXPECT_EQ(keysOf(j), kKeys);
  EXPECT_TRUE(j["file"].is_string());
  EXPECT_TRUE(j["passed"].is_boolean());
  EXPECT_TRUE(j["verdict"].is_string());
  EXPECT_TRUE(j["repaired"].is_boolean());
  EXPECT_TRUE(j["icartt"] == "1.1" || j["icartt"] == "2.0");
  EXPECT_TRUE(j["errors"].is_number_integer());
  EXPECT_TRUE(j["warnings"].is_number_integer());
  const bool hasReport = !j["report"].is_null();
  EXPECT_EQ(j["report"].is_string(), hasReport);
  EXPECT_EQ(j["status"].is_number_integer(), hasReport);
  EXPECT_EQ(j["status"].is_null(), !hasReport);
  if (hasReport) {
    EXPECT_TRUE(j["error"].is_null());
  } else {
    ASSERT_TRUE(j["error"].is_object());
    EXPECT_EQ(keysOf(j["error"]), (std::vector<std::string>{"caption", "text"}));
    EXPECT_TRUE(j["error"]["caption"].is_string());
    EXPECT_TRUE(j["error"]["text"].is_string());
  }
  ASSERT_TRUE(j["findings"].is_array());
  int64_t errors = 0, warnings = 0;
  for (const ordered_json& f : j["findings"]) {
    EXPECT_EQ(keysOf(f), kFindingKeys);
    EXPECT_TRUE(f["severity"] == "error" || f["severity"] == "warning") << f;
    EXPECT_TRUE(f["line"].is_null() || f["line"].is_number_integer()) << f;
    EXPECT_TRUE(f["phase"] == "filename" || f["phase"] == "line-endings" || f["phase"] == "header" ||
                f["phase"] == "data")
        << f;
    EXPECT_TRUE(f["message"].is_string());
    (f["severity"] == "error" ? errors : warnings) += 1;
  }
  EXPECT_EQ(j["errors"], errors);
  EXPECT_EQ(j["warnings"], warnings);
}

std::string lodWarning(int line) {
  return "{\"severity\":\"warning\",\"line\":" + std::to_string(line) +
         ",\"phase\":\"data\",\"message\":\"Line" + std::to_string(line) +
         ": LLOD_FLAG is being used and its LOD_VALUE is not defined (or is a function): Var_4 (Value=-8888.000, "
         "LOD_FLAG=-8888.000, LOD_VALUE=-9999.00000)\"}";
}

TEST(CliJson, OneObjectPerFileWithTheDocumentedKeysAndTypes) {
  TempDir dir;
  const std::string good = dir.file(kExampleName);
  const std::string bad = dir.file("TARVIK-EXAMPLE-BAD_DC8_20190521_R0.ict");
  const std::string missing = dir.file("MISSING-DATA_DC8_20190521_R0.ict");
  const std::string crOnly = dir.file("TARVIK-EXAMPLE-CR_DC8_20190521_R0.ict");
  writeFile(good, exampleText());
  writeFile(bad, failingText());
  std::string cr = exampleText();
  cr.erase(std::remove(cr.begin(), cr.end(), '\n'), cr.end());  // carriage returns only
  writeFile(crOnly, cr);

  RunResult r = runScanner({"--json", good, bad, missing, crOnly});
  EXPECT_EQ(r.exitCode, 2);  // as without --json: a file without report
  EXPECT_EQ(r.err, "tarvik-scan: File Open Error...: " + missing + "\n");
  const std::vector<ordered_json> lines = parseLines(r.out);
  ASSERT_EQ(lines.size(), 4u) << r.out;
  for (const ordered_json& j : lines) {
    SCOPED_TRACE(j.dump());
    expectShape(j);
  }

  // The passing file and the file without report, whole.
  std::istringstream out(r.out);
  std::string goodLine, badLine, missingLine;
  std::getline(out, goodLine);
  std::getline(out, badLine);
  std::getline(out, missingLine);
  EXPECT_EQ(
      goodLine,
      "{\"file\":\"" + good + "\",\"report\":\"" + good +
          "__diagnostic.htm\",\"status\":0,\"passed\":true,\"verdict\":\"Good Job - no major errors "
          "encountered during SCAN.\",\"repaired\":false,\"icartt\":\"1.1\",\"errors\":0,\"warnings\":3,\"findings\":[" +
          lodWarning(45) + "," + lodWarning(158) + "," + lodWarning(271) + "],\"error\":null}");
  EXPECT_EQ(
      missingLine,
      "{\"file\":\"" + missing +
          "\",\"report\":null,\"status\":null,\"passed\":false,\"verdict\":\"File Open Error...: " + missing +
          "\",\"repaired\":false,\"icartt\":\"1.1\",\"errors\":0,\"warnings\":0,\"findings\":[],\"error\":{"
          "\"caption\":"
          "\"File Open Error...\",\"text\":\"" +
          missing + "\"}}");

  // The failing file: its status, and the errors on line 7 in the header phase.
  const ordered_json& failed = lines[1];
  EXPECT_EQ(failed["file"], bad);
  EXPECT_EQ(failed["status"], 10);
  EXPECT_EQ(failed["passed"], false);
  EXPECT_EQ(failed["repaired"], false);
  EXPECT_EQ(failed["errors"], 3);
  ASSERT_FALSE(failed["findings"].empty());
  EXPECT_EQ(
      failed["findings"][0].dump(),
      "{\"severity\":\"error\",\"line\":7,\"phase\":\"header\",\"message\":\"Error: Header Line7: Data "
      "Collection Date: Flt_mm value exceeded (or outside boundaries). The expected value here is between 1 "
      "and 12.\"}");
  EXPECT_EQ(
      failed["verdict"],
      "Scanning failed due to the error(s) displayed here in RED. Processing incomplete: problem(s) found while "
      "processing this file (see above).");

  // The file repaired in place: repaired, and findings without a line.
  const ordered_json& repaired = lines[3];
  EXPECT_EQ(repaired["file"], crOnly);
  EXPECT_EQ(repaired["passed"], true);
  EXPECT_EQ(repaired["repaired"], true);
  EXPECT_EQ(
      repaired["findings"][2].dump(),
      "{\"severity\":\"warning\",\"line\":null,\"phase\":\"line-endings\",\"message\":\"Done. Tarvik Fixed the "
      "CR-LF symbols.\"}");
}

TEST(CliJson, TheRuleSetApplied) {
  // A V2.0 file: by the V1.1 rules it fails line 1, with the hint; by the V2.0 rules it passes.
  TempDir dir;
  const std::string v2 = dir.file("TARVIK-EXAMPLE-V2_DC8_20190521_R0.ict");
  writeFile(v2, readFile(std::string(TARVIK_SOURCE_DIR) + "/examples/TARVIK-EXAMPLE-V2_DC8_20190521_R0.ict"));
  struct Case {
    std::vector<std::string> args;
    std::string icartt;
    int status;
  } cases[] = {
      {{"--json", v2}, "1.1", 10},
      {{"--json", "--icartt", "1.1", v2}, "1.1", 10},
      {{"--json", "--icartt", "2.0", v2}, "2.0", 0},
      {{"--json", "--icartt=2.0", v2}, "2.0", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[c.args.size() - 2]);
    const RunResult r = runScanner(c.args);
    const std::vector<ordered_json> lines = parseLines(r.out);
    ASSERT_EQ(lines.size(), 1u) << r.out << r.err;
    expectShape(lines[0]);
    EXPECT_EQ(lines[0]["icartt"], c.icartt);
    EXPECT_EQ(lines[0]["status"], c.status);
    if (c.status == 10) {
      EXPECT_EQ(
          lines[0]["findings"][2]["message"],
          "Header Line1 declares an ICARTT V2.0 header (version item \"V02_2016\"). To check the file by the "
          "V2.0 rules, scan it with \"tarvik-scan --icartt 2.0\", or choose \"ICARTT V2.0\" in the main "
          "window.");
    }
  }
  const RunResult bad = runScanner({"--icartt", "3.0", v2});
  EXPECT_EQ(bad.exitCode, 2);
  EXPECT_EQ(bad.err.substr(0, bad.err.find('\n')), "tarvik-scan: unknown ICARTT version '3.0' (1.1 or 2.0)");
}

TEST(CliJson, QuietLeavesOutPassingFiles) {
  TempDir dir;
  const std::string good = dir.file(kExampleName);
  const std::string bad = dir.file("TARVIK-EXAMPLE-BAD_DC8_20190521_R0.ict");
  writeFile(good, exampleText());
  writeFile(bad, failingText());
  RunResult r = runScanner({"--json", "-q", good, bad});
  const std::vector<ordered_json> lines = parseLines(r.out);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0]["file"], bad);
  EXPECT_EQ(r.exitCode, 1);
}

// Bytes that are no UTF-8, in a file name and in a finding's message (the character test quotes the
// byte it found), come out as the Latin-1 characters of the same numbers.
TEST(CliJson, StrayBytesBecomeLatin1Characters) {
  TempDir dir;
  const std::string rawName = "TARVIK-EXAMPLE-\xE9T\xC9_DC8_20190521_R0.ict";
  const std::string utf8Name = "TARVIK-EXAMPLE-\xC3\xA9T\xC3\x89_DC8_20190521_R0.ict";
  const std::string named = dir.file(rawName);
  const std::string quoted = dir.file(kExampleName);
  writeFile(named, exampleText());
  writeFile(quoted, withLine(exampleText(), 39, "36010, 36020, 36015, 4\xE9.62, 103.5, 253.59\r"));
  RunResult r = runScanner({"--json", named, quoted});
  const std::vector<ordered_json> lines = parseLines(r.out);
  ASSERT_EQ(lines.size(), 2u) << r.out;
  expectShape(lines[0]);
  expectShape(lines[1]);
  EXPECT_EQ(lines[0]["file"], dir.file(utf8Name));
  EXPECT_EQ(lines[0]["report"], dir.file(utf8Name) + "__diagnostic.htm");
  EXPECT_TRUE(fileExists(named + "__diagnostic.htm"));  // the report itself has the file's own bytes
  EXPECT_EQ(
      lines[1]["findings"][0].dump(),
      "{\"severity\":\"error\",\"line\":39,\"phase\":\"data\",\"message\":\"Data Error on Line39: Found "
      "an invalid character on this line at location 23. The invalid character is a '\xC3\xA9' (Hex = e9).\"}");
}

TEST(CliUtf8Text, KeepsUtf8AndReadsEveryOtherByteAsLatin1) {
  struct Case {
    const char* why;
    std::string in, out;
  };
  const std::vector<Case> cases = {
      {"plain ASCII", "ABC, 1.5", "ABC, 1.5"},
      {"a Latin-1 e acute", "caf\xE9", "caf\xC3\xA9"},
      {"UTF-8 e acute kept", "caf\xC3\xA9", "caf\xC3\xA9"},
      {"a byte 0x80 alone", "\x80", "\xC2\x80"},
      {"0xFF", "\xFF", "\xC3\xBF"},
      {"an overlong slash", "\xC0\xAF", "\xC3\x80\xC2\xAF"},
      {"a surrogate", "\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xC2\x80"},
      {"a sequence cut short at the end", "\xE2\x82", "\xC3\xA2\xC2\x82"},
      {"a sequence cut short by ASCII", "\xE2\x82x", "\xC3\xA2\xC2\x82x"},
      {"four bytes kept", "\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
      {"above U+10FFFF", "\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xC2\x80\xC2\x80"},
      {"a NUL byte stays a character", std::string("a\0b", 3), std::string("a\0b", 3)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(cli::utf8Text(c.in), c.out);
    EXPECT_NO_THROW((void)ordered_json(cli::utf8Text(c.in)).dump());  // nlohmann's strict writer accepts it
  }
}

}  // namespace
}  // namespace tarvik::test
