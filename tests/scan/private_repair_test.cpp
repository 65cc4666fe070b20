// Scans that must not change the submitted file: a file whose line ends need repairing is repaired
// in a private copy, which is scanned in its place and removed; the report says so in one added
// line after the repair's messages.
#include <dirent.h>
#include <stdlib.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/icartt_builder.h"
#include "support/test_files.h"

namespace tarvik::test {
namespace {

const std::string kName = "TEST-DATA_DC8_20190521_R0.ict";
const std::string kDone =
    "<font color='#FF9933'><br><br>Done. Tarvik Fixed the CR-LF symbols.<br><br>\n</font>";
const std::string kLeftUnchanged =
    "<font color='#FF9933'>The submitted file was left unchanged: the repair was made in a private copy, and that copy was scanned.<br><br>\n</font>";

std::vector<std::string> entries(const std::string& dir) {
  std::vector<std::string> names;
  if (DIR* d = ::opendir(dir.c_str())) {
    while (dirent* e = ::readdir(d)) {
      const std::string n = e->d_name;
      if (n != "." && n != "..") names.push_back(n);
    }
    ::closedir(d);
  }
  return names;
}

// TMPDIR for the length of a test: the private copies go there.
class TemporaryFolderIs {
 public:
  explicit TemporaryFolderIs(const std::string& path) {
    const char* old = std::getenv("TMPDIR");
    had_ = old != nullptr;
    if (had_) old_ = old;
    ::setenv("TMPDIR", path.c_str(), 1);
  }
  ~TemporaryFolderIs() {
    if (had_)
      ::setenv("TMPDIR", old_.c_str(), 1);
    else
      ::unsetenv("TMPDIR");
  }

 private:
  bool had_ = false;
  std::string old_;
};

// A 2110 file whose header lines end in CR LF and whose data lines end in lone CRs (the last in CR
// LF): the scan reads its data as one over-long line and repairs it at the carriage returns.
std::string loneCrData() {
  IcarttBuilder b = IcarttBuilder::ffi2110();
  std::vector<std::string> lines;
  size_t stream = 1;
  for (int i = 0; stream < 1100000 || (stream % 1022) == 0 || (stream % 1022) > 900; ++i) {
    const std::string t = std::to_string(1000 + i);
    for (const std::string& l : {t + ", " + std::to_string(1001 + i) + ", " + t + ".5, 2", std::string("500, 40.1, 280.5"),
                                 std::string("1000, 41.2, 277.1")}) {
      lines.push_back(l);
      stream += l.size();
    }
  }
  b.data.clear();
  std::string bytes = b.text("\r\n");
  for (size_t i = 0; i < lines.size(); ++i) bytes += lines[i] + (i + 1 == lines.size() ? "\r\n" : "\r");
  return bytes;
}

TEST(PrivateRepair, TheSubmittedFileStaysAsItIsAndTheCopyIsScanned) {
  struct Case {
    const char* why;
    std::string bytes;
  } cases[] = {
      {"line feeds missing (1001)", IcarttBuilder::ffi1001().text("\r")},
      {"line feeds missing (2110)", IcarttBuilder::ffi2110().text("\r")},
      {"lone carriage returns in the data", loneCrData()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    TempDir dir, privateRoot;
    TemporaryFolderIs tmp(privateRoot.path());
    ScanSettings keep;
    keep.repairInPlace = false;
    const ScanResult r = scanBytes(dir, kName, c.bytes, {}, keep);
    EXPECT_EQ(r.status, 0) << r.report;
    EXPECT_TRUE(readFile(dir.file(kName)) == c.bytes) << "the submitted bytes changed";
    EXPECT_EQ(entries(dir.path()).size(), 2u) << "only the file and its report";
    EXPECT_TRUE(entries(privateRoot.path()).empty()) << "the private copy was not removed";
    EXPECT_FALSE(r.outcome.repairedInPlace);
    // The note follows the repair's messages, once.
    EXPECT_NE(r.report.find(kDone + kLeftUnchanged), std::string::npos);
    EXPECT_EQ(countOf(r.report, kLeftUnchanged), 1u);
  }
}

TEST(PrivateRepair, SameReportAsARepairInPlaceButForTheNote) {
  const std::string bytes = IcarttBuilder::ffi1001().text("\r");
  TempDir inPlace, kept, privateRoot;
  TemporaryFolderIs tmp(privateRoot.path());
  const ScanResult a = scanBytes(inPlace, kName, bytes);
  ScanSettings keep;
  keep.repairInPlace = false;
  const ScanResult b = scanBytes(kept, kName, bytes, {}, keep);
  std::string withoutNote = b.report;
  withoutNote.erase(withoutNote.find(kLeftUnchanged), kLeftUnchanged.size());
  EXPECT_EQ(withoutNote, a.report);
  EXPECT_TRUE(a.outcome.repairedInPlace);
  EXPECT_EQ(a.outcome.status, b.outcome.status);
}

TEST(PrivateRepair, ACopyThatCannotBeMadeFailsTheScanAndChangesNothing) {
  const std::string bytes = IcarttBuilder::ffi1001().text("\r");
  TempDir dir;
  TemporaryFolderIs tmp(dir.path() + "/no-such-folder");
  ScanSettings keep;
  keep.repairInPlace = false;
  const ScanResult r = scanBytes(dir, kName, bytes, {}, keep);
  EXPECT_EQ(r.status, 21);
  EXPECT_TRUE(readFile(dir.file(kName)) == bytes);
  EXPECT_EQ(entries(dir.path()).size(), 2u);
  EXPECT_NE(r.report.find("<br>The submitted file is left unchanged, but no copy of it could be made to repair: no private folder could be made: No such file or directory<br>\n"),
            std::string::npos)
      << r.report;
  EXPECT_NE(r.report.find("Error(-101): Tarvik could not fix the CR-LF (0xa) sybmols in file = " + kName), std::string::npos);
  EXPECT_EQ(r.report.find(kDone), std::string::npos);
}

TEST(ReportPath, AChosenReportPathIsUsedInsteadOfTheOneBesideTheFile) {
  TempDir dir, reports;
  ScanSettings elsewhere;
  elsewhere.reportPath = reports.file("elsewhere.htm");
  const ScanResult r = scanBytes(dir, kName, IcarttBuilder::ffi1001().text(), {}, elsewhere);
  EXPECT_EQ(r.outcome.reportPath, reports.file("elsewhere.htm"));
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(fileExists(reports.file("elsewhere.htm")));
  EXPECT_FALSE(fileExists(dir.file(kName + "__diagnostic.htm")));
  // A report path that cannot be created is the usual message box.
  elsewhere.reportPath = reports.path() + "/missing/r.htm";
  const ScanResult bad = scanBytes(dir, kName, IcarttBuilder::ffi1001().text(), {}, elsewhere);
  EXPECT_FALSE(bad.outcome.reportWritten());
  ASSERT_EQ(bad.host.messages.size(), 1u);
  EXPECT_EQ(bad.host.messages[0].caption, "File Create Error...");
  EXPECT_EQ(bad.host.messages[0].text, reports.path() + "/missing/r.htm");
}

}  // namespace
}  // namespace tarvik::test
