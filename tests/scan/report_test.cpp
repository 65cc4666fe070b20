#include <gtest/gtest.h>

#include <clocale>

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

}  // namespace
}  // namespace tarvik
