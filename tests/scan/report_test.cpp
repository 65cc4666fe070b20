#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "scan/core/report.h"

namespace tarvik {
namespace {

TEST(ReportFormat, ConversionsAsPrintfInTheCLocale) {
  struct Case {
    std::string got, want;
  };
  const Case cases[] = {
      {format("Line%d: %s", 12, std::string("a<b>&\"c\"")), "Line12: a&lt;b&gt;&amp;&quot;c&quot;"},
      {format("%s", "<b>literal</b>"), "<b>literal</b>"},
      {format("%s", Raw{"<i>raw</i>"}), "<i>raw</i>"},
      {format("%04d %02d", 5, 7), "0005 07"},
      {format("0x%x", 10), "0xa"},
      {format("%c", 'B'), "B"},
      {format("%.4f|%.0f|%.1e|%.2f|%lf", 1.5, -999999999.0, 0.001, -9990.0, 2.0),
       "1.5000|-999999999|1.0e-03|-9990.00|2.000000"},
      {format("%.1f", 1e300), format("%.1f", 1e300)},
      {format("%d", int64_t{5000000000}), "5000000000"},
      {format("100%% done"), "100% done"},
      {format("%d %d", 1), "1 <?>"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, c.want);
}

TEST(ReportFormat, NulByteShownAsReplacementCharacter) {
  std::string text("a\0b", 3);
  EXPECT_EQ(format("[%s]", text), "[a&#65533;b]");
}

TEST(ReportFormat, DecimalCommaLocaleDoesNotReachTheReport) {
  const char* old = std::setlocale(LC_ALL, nullptr);
  std::string saved = old ? old : "C";
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
  std::string s = format("%.4f %.1e %.5f", 1.5, 0.001, 0.5);
  std::setlocale(LC_ALL, saved.c_str());
  EXPECT_EQ(s, "1.5000 1.0e-03 0.50000");
}

TEST(ReportEcho, FormsAToF) {
  Report r;
  r.echo(Echo::A, 3, "x<y\n");
  r.echo(Echo::B, 3, "t");
  r.echo(Echo::C, 3, "t");
  r.echo(Echo::D, 3, "t");
  r.echo(Echo::E, 3, "t");
  r.echo(Echo::F, 3, "t");
  EXPECT_EQ(r.contents(),
            "<font color='#0000FF'>Line3:</font> x&lt;y\n<br><br>\n"
            "<font color='#0000FF'>Line3:</font> t<br /><br />\n"
            "<br /><font color='#0000FF'>Line3:</font> t<br /><br />\n"
            "<br><font color='#0000FF'>Line3:</font> t<br><br>\n"
            "<font color='#0000FF'>Line3:</font> t\n<br><br>"
            "<font color='#0000FF'>Line3:</font> t\n<br /><br />");
}

TEST(ReportBlocks, ErrorWarningAndContactLink) {
  Report r;
  r.error("<br>E%d<br>\n", 1);
  r.warning("W");
  r.contactLink("Subject here");
  const std::string& s = r.contents();
  EXPECT_EQ(s.rfind("<font color='#FF0000'><br>E1<br>\n</font><font", 0), 0u);
  EXPECT_NE(s.find("<font color='#FF9933'>W</font>"), std::string::npos);
  EXPECT_NE(s.find("?subject=Subject here\">Ostrel Project Office</a>"), std::string::npos);
  EXPECT_NE(s.find("<a href=\"mailto:"), std::string::npos);
}

TEST(ReportFindings, EveryBlockIsAFindingOfItsPhase) {
  Report r;
  r.write("<p>no block</p>");
  r.error("<br>Error on Line%d: bad &amp; %s<br>\n", 7, std::string("x<y"));
  r.setPhase(Phase::Header);
  r.beginWarning();
  r.printf("Warning: Header Line%d has too many trailing spaces (Line_Length=%d).<br>", 12, 99);
  r.endBlock();
  r.echo(Echo::A, 12, "text");
  r.setPhase(Phase::Data);
  r.warning("<font size=\"-1\">no line here</font><br>\n");
  const std::vector<Finding>& f = r.findings();
  ASSERT_EQ(f.size(), 3u);
  EXPECT_EQ(f[0].severity, Severity::Error);
  EXPECT_EQ(f[0].phase, Phase::FileName);
  EXPECT_EQ(f[0].line, 7);
  EXPECT_EQ(f[0].message, "Error on Line7: bad & x<y");
  EXPECT_EQ(f[1].severity, Severity::Warning);
  EXPECT_EQ(f[1].phase, Phase::Header);
  EXPECT_EQ(f[1].line, 12);
  EXPECT_EQ(f[1].message, "Warning: Header Line12 has too many trailing spaces (Line_Length=99).");
  EXPECT_EQ(f[2].line, Finding::kNoLine);
  EXPECT_EQ(f[2].phase, Phase::Data);
  EXPECT_EQ(f[2].message, "no line here");
  EXPECT_EQ(r.takeFindings().size(), 3u);
  EXPECT_TRUE(r.findings().empty());
}

TEST(ReportFindings, TheBytesAreThoseWithoutFindings) {
  // Recording findings writes nothing: the blocks' bytes are what they always were.
  Report r;
  r.beginError();
  r.write("a");
  r.notice("<br>Too many ...<br>\n");
  r.endBlock();
  r.beginWarning();
  r.beginWarning();  // a block begun inside another
  r.write("b");
  r.endBlock();
  r.endBlock();
  EXPECT_EQ(r.contents(),
            "<font color='#FF0000'>a<br>Too many ...<br>\n</font><font color='#FF9933'><font color='#FF9933'>b</font></font>");
  // The notice is a finding of its own, of its block's severity and naming no line; the block's
  // message leaves it out. The outer of two nested blocks ends where the inner one begins.
  const std::vector<Finding>& f = r.findings();
  ASSERT_EQ(f.size(), 4u);
  EXPECT_EQ(f[0].message, "a");
  EXPECT_EQ(f[1].message, "Too many ...");
  EXPECT_EQ(f[1].severity, Severity::Error);
  EXPECT_EQ(f[1].line, Finding::kNoLine);
  EXPECT_EQ(f[2].message, "");
  EXPECT_EQ(f[3].message, "b");
}

TEST(ReportFindings, ABlockFlushedToTheFileInPiecesIsOneFinding) {
  const std::string path = ::testing::TempDir() + "report_findings_test.htm";
  Report r;
  ASSERT_TRUE(r.create(path));
  r.beginError();
  r.write("start Line3 ");
  const std::string chunk(300000, 'x');
  for (int i = 0; i < 8; ++i) r.write(chunk);  // more than the buffer holds before a flush
  r.write(" end");
  r.endBlock();
  ASSERT_TRUE(r.close());
  ASSERT_EQ(r.findings().size(), 1u);
  const std::string& m = r.findings()[0].message;
  EXPECT_EQ(m.size(), std::string("start Line3 ").size() + 8 * chunk.size() + 4);
  EXPECT_EQ(m.substr(0, 11), "start Line3");
  EXPECT_EQ(m.substr(m.size() - 4), " end");
  EXPECT_EQ(r.findings()[0].line, 3);
  std::remove(path.c_str());
}

TEST(ReportFindings, LineNamedInAMessage) {
  struct Case {
    const char* message;
    int64_t line;
  } cases[] = {
      {"Error - Header Last Line (Line40): Var_3 ...", 40},
      {"Warning_2 Line57: Independent Var1_Value=...", 57},
      {"ERROR (Line Length Truncated): Header Line9: too long", 9},
      {"Error on Line1: Either the delimiter(s) ...", 1},
      {"NumVariables on line10 not being correct", Finding::kNoLine},
      {"Info: revision number (R=3) detected in filename.", Finding::kNoLine},
      {"Line", Finding::kNoLine},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    EXPECT_EQ(lineNamedIn(c.message), c.line);
  }
}

}  // namespace
}  // namespace tarvik
