// The C-locale formatter of the report and the plot core: it writes exactly what glibc's printf
// writes in the C locale, whatever locale the process runs under, keeps its fixed rules where an
// argument does not fit its conversion, and passes the texts it is told to through a filter.
#include "text/c_format.h"

#include <gtest/gtest.h>
#include <locale.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "scan/core/report.h"

namespace tarvik {
namespace {

// printf's own text in the locale in force; the tables below feed it formats from variables.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
template <class... A>
std::string viaPrintf(const char* fmt, A... args) {
  char text[4096];
  const int n = std::snprintf(text, sizeof text, fmt, args...);
  if (n < 0 || static_cast<size_t>(n) >= sizeof text) return "<snprintf failed>";
  return std::string(text, static_cast<size_t>(n));
}
#pragma GCC diagnostic pop

// One case of a table: what the formatter wrote and what it should have written.
struct Case {
  std::string format, got, want;
};

// Both sides of a case with a literal format, so that the compiler checks the arguments against
// printf's conversions.
#define PRINTF_CASE(fmt, ...)                                     \
  [&] {                                                           \
    char expected_[4096];                                         \
    std::snprintf(expected_, sizeof expected_, fmt, __VA_ARGS__); \
    return Case{fmt, cformat(fmt, __VA_ARGS__), expected_};       \
  }()

void expectAll(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE("format \"" + c.format + "\"");
    EXPECT_EQ(c.got, c.want);
  }
}

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

const double kReals[] = {0.0,
                         -0.0,
                         1.0,
                         -1.0,
                         0.5,
                         0.125,
                         0.1,
                         1.0 / 3.0,
                         2.5,
                         2.25,
                         7.5,
                         9.5,
                         1.23456,
                         0.005,
                         0.05,
                         1.005,
                         -9999.0,
                         -9990.0,
                         30.25,
                         43200.0,
                         100000.0,
                         1000000.0,
                         1234567.0,
                         -999999999.0,
                         123456792.0,
                         1e-5,
                         0.0001,
                         0.001,
                         9.9999995,
                         0.00009999995,
                         99999.95,
                         999999.5,
                         99.5,
                         999.5,
                         -999.5,
                         999.96,
                         9.9995e-5,
                         1e15,
                         1e21,
                         1e22,
                         9223372036854775808.0,
                         -1.5e-300,
                         1e300,
                         1e308,
                         static_cast<double>(0.1f),
                         static_cast<double>(123456789.0f),
                         std::numeric_limits<double>::max(),
                         -std::numeric_limits<double>::max(),
                         std::numeric_limits<double>::min(),
                         std::numeric_limits<double>::denorm_min(),
                         kInf,
                         -kInf,
                         kNaN,
                         -kNaN};

const char* const kRealFormats[] = {
    "%f",      "%lf",       "%F",        "%.0f",     "%.1f",   "%.2f",     "%.3f",      "%.4f",
    "%.5f",    "%.6f",      "%e",        "%E",       "%.1e",   "%.2e",     "%.2E",      "%g",
    "%G",      "%.0g",      "%.1g",      "%.10G",    "%.17g",  "%15g",     "%-12.3f|",  "%+.2f",
    "% .1e",   "%010.2f",   "%-010.2f|", "%+010.1e", "%#.0f",  "%#.0e",    "%#g",       "%#.3G",
    "%#.1g",   "%#.2g",     "%#.3g",     "%#.5g",    "%#.30g", "%+#10.0e", "%-+15.3g|", "% 020.6f",
    "%500.3f", "%-500.3e|", "%.400f",    "%.400e",   "%.400g", "%.1100f",  "%.800e",    "%.800g"};

TEST(CFormatLikePrintf, FloatingConversions) {
  ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
  std::vector<Case> cases;
  for (const char* f : kRealFormats)
    for (double v : kReals)
      cases.push_back({std::string(f) + " of " + viaPrintf("%.17g", v), cformat(f, v), viaPrintf(f, v)});
  // A float is widened as printf's variadic call widens it.
  for (float v : {0.1f, 30.25f, 123456789.0f, -1.5f})
    cases.push_back({"%g of a float", cformat("%g", v), viaPrintf("%g", static_cast<double>(v))});
  expectAll(cases);
}

TEST(CFormatLikePrintf, IntegerConversions) {
  ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
  std::vector<Case> cases;
  // The argument carries its type, so "%d" of a 64-bit value is printf's "%lld" of it.
  const long long wide[] = {0,
                            1,
                            5,
                            -5,
                            12,
                            -50,
                            99,
                            100,
                            5000000000LL,
                            2147483647LL,
                            -2147483648LL,
                            std::numeric_limits<long long>::max(),
                            std::numeric_limits<long long>::min()};
  const char* const wideFormats[] = {"%lld",    "%lli",    "%02lld",     "%04lld",  "%3lld",   "%5lld",
                                     "%-5lld|", "%+lld",   "% lld",      "%.3lld",  "%08lld",  "%.0lld",
                                     "%+.0lld", "% .0lld", "%-+8.3lld|", "%020lld", "%+05lli", "%030.25lld"};
  for (const char* f : wideFormats)
    for (long long v : wide) {
      cases.push_back({f, cformat(f, v), viaPrintf(f, v)});
      cases.push_back({f, cformat(f, static_cast<int64_t>(v)), viaPrintf(f, v)});
    }
  for (const char* f : {"%d", "%i", "%02d", "%04d", "%3d", "%-3d|", "%+d", "%.0d"})
    for (int v : {0, 7, -7, 59, -59, 2147483647, -2147483647 - 1})
      cases.push_back({f, cformat(f, v), viaPrintf(f, v)});
  // u x X o read an unsigned int.
  const unsigned narrow[] = {0u, 1u, 7u, 8u, 10u, 13u, 0x1Au, 255u, 2147483648u, 4294967295u};
  const char* const unsignedFormats[] = {"%u",   "%x",     "%X",   "%o",       "%#x",   "%#X",  "%#o",
                                         "%08x", "%#010x", "%.0x", "%#.0x",    "%#.0o", "%.5o", "%-#8x|",
                                         "%+u",  "% x",    "%#5o", "%-#010o|", "%#.3x", "0x%x"};
  for (const char* f : unsignedFormats)
    for (unsigned v : narrow) cases.push_back({f, cformat(f, v), viaPrintf(f, v)});
  expectAll(cases);
}

TEST(CFormatLikePrintf, CharacterAndTextConversions) {
  ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
  std::vector<Case> cases;
  for (const char* f : {"%c", "%3c|", "%-3c|", "%03c|", "Q5%c="})
    for (char c : {'x', '%', 'A', '<', '\x7f'}) cases.push_back({f, cformat(f, c), viaPrintf(f, c)});
  const char* const texts[] = {"",
                               "ab",
                               "O3",
                               "abcdef",
                               "Start_UTC",
                               "exactly_fifteen",
                               "longer_than_fifteen",
                               "A_name_longer_than_fifteen"};
  for (const char* f :
       {"%s", "%15s ", "%-6s|", "%.3s", "%10.2s|", "%-10.0s|", "%3s", "%.20s", "%05s", "100%% of %s"})
    for (const char* t : texts) {
      cases.push_back({f, cformat(f, t), viaPrintf(f, t)});
      cases.push_back({f, cformat(f, std::string(t)), viaPrintf(f, t)});
      cases.push_back({f, cformat(f, std::string_view(t)), viaPrintf(f, t)});
    }
  expectAll(cases);
}

// The formats the report and the plot core write, with arguments of the types they pass.
TEST(CFormatLikePrintf, TheFormatsOfTheReportAndThePlotCore) {
  ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
  const double q[] = {-9999.0, 0.004, 1.005, 30.25, 43200.0, 1e-7, 123456792.0};
  const long long hours = 25, minutes = 7, most = std::numeric_limits<long long>::min();
  expectAll({
      PRINTF_CASE("<font color='#0000FF'>Line%d:</font> %s<br><br>\n", 12, "1, 2, 3"),
      PRINTF_CASE("<font color='#0000FF'>Line%d:</font> %s [%lf]<br /><br />\n", 7, "-9999", -9999.0),
      PRINTF_CASE("The invalid character is a '%c' (Hex = %x).<br>\n", 'Z', static_cast<unsigned>('Z')),
      PRINTF_CASE("<br>Error(-101): Tarvik could not fix the CR-LF (0x%x) sybmols in file = %s<br>\n",
                  '\n' + 0, "F.ict"),
      PRINTF_CASE("<br>Error: value %.4f is below %.4f on Line%d.<br>\n", 0.00005, -9999.5, 1234567),
      PRINTF_CASE("%04d%02d%02d", 2019, 5, 21),
      PRINTF_CASE("a%cb%.1fc%sd", '%', 2.25, "x"),
      PRINTF_CASE(" %.1e| %.2E| %.0f| %.5f| %.6f| %.3f", 0.001, 1234567.0, 2.5, 1.0 / 3.0, -0.0, 999.9995),
      PRINTF_CASE(
          "Real_Min=%.2f; Min=%.2f; Q5%c=%.2f; Q25%c=%.2f; Median=%.2f; Q75%c=%.2f; Q95%c=%.2f; Max=%.2f;  "
          "{Q = Percentile} ",
          q[0], q[1], '%', q[2], '%', q[3], q[4], '%', q[5], '%', q[6], 1e308),
      PRINTF_CASE(
          "Real_Min=%.2E; Min=%.2E; Q5%c=%.2E; Q25%c=%.2E; Median=%.2E; Q75%c=%.2E; Q95%c=%.2E; Max=%.2E;  "
          "{Q = Percentile} ",
          q[0], q[1], '%', q[2], '%', q[3], q[4], '%', q[5], '%', q[6], -kInf),
      PRINTF_CASE("  | Min = %.2f | Max = %.2f |", kNaN, kInf),
      PRINTF_CASE("Correlation Coeff = %.4f", -0.99995),
      PRINTF_CASE("xyCorrelate Lib::Linear Curve Fitting:\n\nAt least two (X, Y) pairs are needed; N = %lld.",
                  most),
      PRINTF_CASE("%02lld:%02lld", hours, minutes),
      PRINTF_CASE("%02lld:%02lld", -hours, -minutes),
      PRINTF_CASE("%02lld:%02lld", most, 0LL),
      PRINTF_CASE("The picture is too large for a JPEG file (%d x %d pixels; at most %d in each direction).",
                  70000, 10, 65500),
      PRINTF_CASE("%15g %15g %15s \r\n", 30.25, static_cast<double>(123456789.0f), "Start_UTC"),
  });
}

// Where an argument does not fit its conversion, or none is left, the formatter follows its own
// fixed rules (the header lists them); no caller relies on them.
TEST(CFormatRules, MismatchedMissingAndUnknown) {
  ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
  const std::string nul(1, '\0');
  expectAll({
      // d i: a real truncated toward zero; NaN and reals out of range give INT64_MIN.
      {"%d of 2.5", cformat("[%d]", 2.5), "[2]"},
      {"%d of -2.5", cformat("[%d]", -2.5), "[-2]"},
      {"%05d of -2.5", cformat("[%05d]", -2.5), "[-0002]"},
      {"%d of NaN", cformat("[%d]", kNaN), "[-9223372036854775808]"},
      {"%d of 1e300", cformat("[%d]", 1e300), "[-9223372036854775808]"},
      {"%d of -1e300", cformat("[%d]", -1e300), "[-9223372036854775808]"},
      {"%d of 2^63", cformat("[%d]", 9223372036854775808.0), "[-9223372036854775808]"},
      {"%d of a char", cformat("[%d]", 'A'), "[65]"},
      {"%d of a char above 127", cformat("[%d]", '\xe9'), "[233]"},
      {"%d of a text", cformat("[%d]", "12"), "[0]"},
      {"%d of a std::string", cformat("[%d]", std::string("12")), "[0]"},
      {"%d of bool", cformat("[%d|%d]", true, false), "[1|0]"},
      {"%d of the largest uint64", cformat("[%d]", std::numeric_limits<uint64_t>::max()), "[-1]"},
      // u x X o: the low 32 bits.
      {"%x of int64 -1", cformat("[%x]", int64_t{-1}), "[ffffffff]"},
      {"%x of int -1", cformat("[%x]", -1), "[ffffffff]"},
      {"%u of 5000000000", cformat("[%u]", int64_t{5000000000}), "[705032704]"},
      {"%llu of the largest uint64", cformat("[%llu]", std::numeric_limits<uint64_t>::max()), "[4294967295]"},
      {"%o of -1", cformat("[%o]", -1), "[37777777777]"},
      {"%x of 2.5", cformat("[%x]", 2.5), "[2]"},
      // f e g: an integer's value, a character's code, a text 0.
      {"%.1f of 3", cformat("%.1f", 3), "3.0"},
      {"%.1f of a char", cformat("%.1f", 'A'), "65.0"},
      {"%.1f of a text", cformat("%.1f", "x"), "0.0"},
      {"%e of INT64_MAX", cformat("%e", std::numeric_limits<int64_t>::max()), "9.223372e+18"},
      // c: an integer's low byte; a real or a text gives the NUL byte.
      {"%c of 65", cformat("[%c]", 65), "[A]"},
      {"%c of 321", cformat("[%c]", 321), "[A]"},
      {"%c of 2.5", cformat("[%c]", 2.5), "[" + nul + "]"},
      {"%c of a text", cformat("[%c]", "x"), "[" + nul + "]"},
      // s: a number gives "<?>", cut and padded as a text; a character gives the empty text.
      {"%s of 7", cformat("[%s]", 7), "[<?>]"},
      {"%s of 2.5", cformat("[%s]", 2.5), "[<?>]"},
      {"%5s of 7", cformat("[%5s]", 7), "[  <?>]"},
      {"%.1s of 7", cformat("[%.1s]", 7), "[<]"},
      {"%s of a char", cformat("[%s]", 'x'), "[]"},
      {"%3s of a char", cformat("[%3s]", 'x'), "[   ]"},
      {"%s of a null pointer", cformat("[%s]", static_cast<const char*>(nullptr)), "[]"},
      // Missing arguments write "<?>", unpadded.
      {"two conversions, one argument", cformat("[%d][%d]", 1), "[1][<?>]"},
      {"no argument", cformat("[%5d]"), "[<?>]"},
      {"no conversion", cformat("no conversions"), "no conversions"},
      {"%% needs no argument", cformat("100%%"), "100%"},
      // Unknown conversions use up an argument and are written as they stand.
      {"%k", cformat("[%k]", 1), "[%k]"},
      {"%-5.2lk", cformat("[%-5.2lk]", 1), "[%-5.2lk]"},
      {"%k without argument", cformat("[%k]"), "[<?>]"},
      {"%k uses up its argument", cformat("[%k|%d]", 1, 2), "[%k|2]"},
      {"q is a length", cformat("[%qd|%q]", 1, 2), "[1|%q]"},
      {"%5%", cformat("[%5%]", 1), "[%5%]"},
      {"%*d", cformat("[%*d]", 5, 1), "[%*d]"},
      // A conversion cut off by the end of the format is written as it stands.
      {"tail %", cformat("tail %"), "tail %"},
      {"tail %-08.3l", cformat("tail %-08.3l", 1), "tail %-08.3l"},
  });
  // Widths and precisions beyond the largest honoured one count as it.
  EXPECT_EQ(cformat("%99999999999999999999d", 1).size(), kMaxFieldSize);
  EXPECT_EQ(cformat("%.99999999999999999999d", 1).size(), kMaxFieldSize);
  EXPECT_EQ(cformat("%.99999999999999999999f", 0.5).size(), kMaxFieldSize + 2);
}

// A filter that shows what it was given.
void bracket(std::string& out, std::string_view text) {
  out += '{';
  out.append(text);
  out += '}';
}

std::string filtered(const char* fmt, const FmtArg& arg, TextFilter filter) {
  std::string out;
  appendFormat(out, fmt, &arg, 1, filter);
  return out;
}

// The filter sees the std::string and std::string_view arguments of %s (after the precision has
// cut them, before the width pads them) and the character of every %c; never a const char*, a
// Raw, a number written by %s or the mark of a missing argument.
TEST(CFormatFilter, TextArgumentsAndCharactersOnly) {
  const std::string markup = "<b>&\"x\"";
  expectAll({
      {"string", filtered("[%s]", markup, appendEscaped), "[&lt;b&gt;&amp;&quot;x&quot;]"},
      {"string_view", filtered("[%s]", std::string_view(markup), appendEscaped),
       "[&lt;b&gt;&amp;&quot;x&quot;]"},
      {"NUL byte", filtered("[%s]", std::string("a\0b", 3), appendEscaped), "[a&#65533;b]"},
      {"const char*", filtered("[%s]", "<i>literal</i>", appendEscaped), "[<i>literal</i>]"},
      {"Raw", filtered("[%s]", Raw{"<i>raw</i>"}, appendEscaped), "[<i>raw</i>]"},
      {"precision first", filtered("[%.2s]", std::string("<b>"), appendEscaped), "[&lt;b]"},
      {"then width", filtered("[%6s]", std::string("<"), appendEscaped), "[  &lt;]"},
      {"left", filtered("[%-6s]", std::string("<"), appendEscaped), "[&lt;  ]"},
      {"wider than the width", filtered("[%2s]", std::string("<"), appendEscaped), "[&lt;]"},
      {"%c of a char", filtered("[%c]", '<', appendEscaped), "[&lt;]"},
      {"%c of an int", filtered("[%c]", 62, appendEscaped), "[&gt;]"},
      {"%c of a text", filtered("[%c]", "x", appendEscaped), "[&#65533;]"},
      {"%5c", filtered("[%5c]", '"', appendEscaped), "[&quot;]"},
      {"%7c", filtered("[%7c]", '&', appendEscaped), "[  &amp;]"},
      {"%s of a number", filtered("[%s]", 7, appendEscaped), "[<?>]"},
      {"empty string", filtered("[%s]", std::string(), bracket), "[{}]"},
      {"width counts the filtered text", filtered("[%5s]", std::string("ab"), bracket), "[ {ab}]"},
      {"numbers are not filtered", filtered("[%d %.1f]", 5, bracket), "[5 <?>]"},
      {"no filter", filtered("[%s]", markup, nullptr), "[<b>&\"x\"]"},
  });
  std::string out = "kept ";
  const std::string lt = "<";
  const FmtArg one[] = {lt};
  appendFormat(out, "%s|%s", one, 1, bracket);
  EXPECT_EQ(out, "kept {<}|<?>");
  // cformat passes no filter; the report's format passes the escaper.
  EXPECT_EQ(cformat("%s%c", markup, '<'), markup + "<");
  EXPECT_EQ(format("%s%c%s", markup, '<', "<br>"), "&lt;b&gt;&amp;&quot;x&quot;&lt;<br>");
}

// Under a decimal-comma locale, set for the process or for the thread, nothing changes.
class DecimalComma : public testing::Test {
 protected:
  void SetUp() override {
    const char* old = std::setlocale(LC_ALL, nullptr);
    saved_ = old ? old : "C";
    ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
    for (const char* f : kRealFormats)
      for (double v : kReals) inC_.push_back(viaPrintf(f, v));
  }
  void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }

  // Formats the table again and compares it with the C locale's texts.
  void expectTheCLocaleTexts() {
    size_t k = 0;
    for (const char* f : kRealFormats)
      for (double v : kReals) {
        SCOPED_TRACE(std::string(f) + " of " + inC_[k]);
        EXPECT_EQ(cformat(f, v), inC_[k]);
        ++k;
      }
    EXPECT_EQ(cformat("%.2f|%.2E|%g|%.4f|%d", 1.5, 1234567.0, 0.25, -2.5, 1234567),
              "1.50|1.23E+06|0.25|-2.5000|1234567");
    EXPECT_EQ(format("%.4f %.1e %.5f %d", 1.5, 0.001, 0.5, 1234567), "1.5000 1.0e-03 0.50000 1234567");
  }

  static bool writesAComma() {
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    return std::string(probe) == "1,5";
  }

  std::vector<std::string> inC_;

 private:
  std::string saved_;
};

TEST_F(DecimalComma, ProcessLocale) {
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
  ASSERT_TRUE(writesAComma());
  expectTheCLocaleTexts();
}

TEST_F(DecimalComma, ThreadLocale) {
  const locale_t de = newlocale(LC_ALL_MASK, "de_DE.UTF-8", static_cast<locale_t>(0));
  if (!de) GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
  const locale_t old = uselocale(de);
  EXPECT_TRUE(writesAComma());
  expectTheCLocaleTexts();
  uselocale(old);
  freelocale(de);
}

}  // namespace
}  // namespace tarvik
