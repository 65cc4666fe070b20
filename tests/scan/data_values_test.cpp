// The values of data records against the missing-data flag, the limit-of-detection flags and the
// limit-of-detection values: limit errors, too-close errors, suspicious-value warnings, and which
// flag a value carries.
#include "scan/data/data_values.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "scan/core/scan_context.h"
#include "scan/core/tokens.h"
#include "scan/data_test_util.h"

namespace tarvik::test {
namespace {

using namespace data;

// A 1001 file (Stop_UTC, Mid_UTC, V1, V2) whose records hold these values of V1 and V2, with
// times in order.
IcarttBuilder records1001(const std::vector<std::string>& v1v2) {
  IcarttBuilder b = IcarttBuilder::ffi1001();
  b.data.clear();
  for (size_t k = 0; k < v1v2.size(); ++k) {
    const int start = 100 + 10 * static_cast<int>(k);
    b.data.push_back(std::to_string(start) + ", " + std::to_string(start + 10) + ", " + std::to_string(start + 5) + ", " +
                     v1v2[k]);
  }
  return b;
}

const int kNH = IcarttBuilder::ffi1001().computedNH();
int L(int k) { return kNH + k; }

// Definition lines as the header keeps them (each whole line).
const std::string kV1 = "V1, ppbv, Test variable\n";
const std::string kV2 = "V2, ppbv, Test variable\n";
const std::string kO3 = "O3, ppbv, Ozone\n";
const std::string kAerosol = "Aerosol, Mm-1, Backscatter\n";
const std::string kTemp = "Temp, K, Temperature\n";
const std::string kNumAlt = "NumAlt, number, Number of altitudes\n";
const std::string kAlt0 = "Alt0, m, First altitude\n";
const std::string kDAlt = "dAlt, m, Altitude step\n";

// ---- expected texts ----

std::string ulodShort(int line, int i, const std::string& name, double x, double uv) {
  return red(fmt("Line%d: Error - Var_%d (%s): Value = %.4f is GREATER_THAN ULOD_VALUE(%.4f) in header.<br>\n", line, i, name.c_str(), x, uv));
}
std::string ulodLong(int line, int i, const std::string& name, double s, double x, double uv) {
  return red(fmt("Line%d: Error - Var_%d (%s): ScaleFactor(%.4f) * Value(%.4f) = %.4f is GREATER_THAN ULOD_VALUE(%.4f) in header.<br>\n",
                 line, i, name.c_str(), s, x, s * x, uv));
}
std::string llodShort(int line, int i, const std::string& name, double x, double lv) {
  return red(fmt("Line%d: Error - Var_%d (%s): Value = %.4f is LESS_THAN LLOD_VALUE (%.4f) in header.<br>\n", line, i, name.c_str(), x, lv));
}
std::string llodLong(int line, int i, const std::string& name, double s, double x, double lv) {
  return red(fmt("Line%d: Error - Var_%d (%s): ScaleFactor(%.4f) * Value(%.4f) = %.4f is LESS_THAN LLOD_VALUE (%.4f) in header.<br>\n",
                 line, i, name.c_str(), s, x, s * x, lv));
}
std::string auxUlod(int line, int i, const std::string& name, double x, double s, double uv) {
  return red(fmt("Line%d: Error - AuxVar_%d (%s): Value(%.4f) * Multiplier(%.4f) = %.4f is GREATER_THAN ULOD_VALUE(%.4f) in header.<br>\n",
                 line, i, name.c_str(), x, s, x * s, uv));
}
std::string auxLlod(int line, int i, const std::string& name, double x, double s, double lv) {
  return red(fmt("Line%d: Error - AuxVar_%d (%s): Value(%.4f) * Multiplier(%.4f) = %.4f is LESS_THAN LLOD_VALUE (%.4f) in header.<br>\n",
                 line, i, name.c_str(), x, s, x * s, lv));
}
std::string pointUlod(int line, int k, const std::string& name, int j, double x, double s, double uv) {
  return red(fmt("Line%d: Error - PrimaryVar_%d = %s: [ Array_Point_%d = %.4f * Multiplier = %.4f ] is GREATER_THAN ULOD_VALUE (%.4f) in header.<br>\n",
                 line, k, name.c_str(), j, x, s, uv));
}
std::string pointLlod(int line, int k, const std::string& name, int j, double x, double s, double lv) {
  return red(fmt("Line%d: Error - PrimaryVar_%d = %s: [ Array_Point_%d = %.4f * Multiplier = %.4f ] is LESS_THAN LLOD_VALUE (%.4f) in header.<br>\n",
                 line, k, name.c_str(), j, x, s, lv));
}
std::string boundedUlod(int line, int k, const std::string& name, double x, double s, double uv) {
  return red(fmt("Line%d: Error - PrimaryVar_%d = %s: [ Value = %.4f * ScaleFactor = %.4f ] is GREATER_THAN ULOD_VALUE (%.4f) in header.<br>\n",
                 line, k, name.c_str(), x, s, uv));
}
std::string boundedLlod(int line, int k, const std::string& name, double x, double s, double lv) {
  return red(fmt("Line%d: Error - PrimaryVar_%d = %s: [ Value = %.4f * ScaleFactor = %.4f ] is LESS_THAN LLOD_VALUE (%.4f) in header.<br>\n",
                 line, k, name.c_str(), x, s, lv));
}

std::string closeMissing(int line, int i, const std::string& name, double x, double s) {
  return red(fmt("Line%d: Error(-9's) - Var_%d (%s): [ Value = %.4f * ScaleFactor = %.4f ] is 'considered too close' to the defined Missing Data Flag(-9's) in header.<br>\n",
                 line, i, name.c_str(), x, s));
}
std::string closeUlod(int line, int i, const std::string& name, double x, double s) {
  return red(fmt("Line%d: Error(-7's) - Var_%d (%s): [ Value = %.4f * ScaleFactor = %.4f ] is 'considered too close' to the defined U_LOD_FLAG(-7's) in header.<br>\n",
                 line, i, name.c_str(), x, s));
}
std::string closeLlod(int line, int i, const std::string& name, double x, double s) {
  return red(fmt("Line%d: Error(-8's) - Var_%d (%s): [ Value = %.4f * ScaleFactor = %.4f ] is 'considered too close' to the defined L_LOD_FLAG(-8's) in header.<br>\n",
                 line, i, name.c_str(), x, s));
}
std::string closeMissingBounded(int line, int i, const std::string& name, double x, double s) {
  return red(fmt("Line%d: Error - Var_%d (%s): [ Value = %.4f * ScaleFactor = %.4f ] is 'considered too close' to the defined Missing Data Flag(-9's) in header.<br>",
                 line, i, name.c_str(), x, s));
}
std::string closeMissingAux(int line, int i, const std::string& name, double x, double s) {
  return red(fmt("Line%d: Error - AuxVar_%d (%s)<br> [ Value = %.4f * ScaleFactor = %.4f ] is 'considered too close' to the defined Missing Data Flag(-9's) in header.<br>\n",
                 line, i, name.c_str(), x, s));
}
std::string closeUlodAux(int line, int i, const std::string& name, double x, double s) {
  return red(fmt("Line%d: Error - AuxVar_%d (%s)<br> [ Value = %.4f * ScaleFactor = %.4f ] is 'considered too close' to the defined (Aux) U_LOD_FLAG(-7's) in header.<br>\n",
                 line, i, name.c_str(), x, s));
}
std::string closeLlodAux(int line, int i, const std::string& name, double x, double s) {
  return red(fmt("Line%d: Error - AuxVar_%d (%s)<br> [ Value = %.4f * ScaleFactor = %.4f ] is 'considered too close' to the defined (Aux) L_LOD_FLAG(-8's) in header.<br>\n",
                 line, i, name.c_str(), x, s));
}

const std::string kNote =
    "<strong style=\"background-color:#FF9966; color:#000000\">"
    "Note: Missing and LOD Flags MUST be at least one digit higher than data; e.g., if data = -123 (3 digits), then Missing Flag should be set to -9999 (4 digits).</strong><br>\n";

std::string misuse(int line, const char* name, int i, double x, double flag, double lod, bool capNote = false) {
  return orange(fmt("<font size=\"-1\">Line%d: %s is being used and its LOD_VALUE is not defined (or is a function): Var_%d (Value=%.3f, LOD_FLAG=%.3f, LOD_VALUE=%.5f)<br></font>\n",
                    line, name, i, x, flag, lod) +
                (capNote ? "<br><br>Too many suspicious LOD_FLAG misusage found...<br> \n" : ""));
}
std::string lookAlike(int line, int i, double x, const char* name, double flag, bool capNote = false) {
  return orange(fmt("<font size=\"-1\">Line%d: Suspicious Data: Var_%d (Value=%.3f) looks similar to %s in Header. If this point is a FLAG, it MUST be the same as in Header (%.0f...)<br></font>\n",
                    line, i, x, name, flag) +
                (capNote ? "<br><br>Too many suspicious data found...<br> \n" : ""));
}

// ---- FFI 1001, whole scans ----

struct Case {
  const char* what;
  std::function<void(IcarttBuilder&)> change;
  std::vector<std::string> v1v2;  // the records' values of V1 and V2
  std::string expected;
  int32_t status;
};

void runCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    IcarttBuilder b = records1001(c.v1v2);
    if (c.change) c.change(b);
    DataScan s = scanData(b);
    EXPECT_EQ(s.messages, c.expected);
    EXPECT_EQ(s.res.status, c.status);
    EXPECT_TRUE(has(s.res.report, fmt("%s%d<br>\n", kLinesProcessed, L(static_cast<int>(c.v1v2.size())))));
  }
}

auto ulodValue(const std::string& items) {
  return [items](IcarttBuilder& b) { setComment(b, "ULOD_VALUE:", "ULOD_VALUE: " + items); };
}
auto llodValue(const std::string& items) {
  return [items](IcarttBuilder& b) { setComment(b, "LLOD_VALUE:", "LLOD_VALUE: " + items); };
}
auto scalesAnd(const std::string& scales, std::function<void(IcarttBuilder&)> more = nullptr) {
  return [scales, more](IcarttBuilder& b) {
    b.scales = scales;
    if (more) more(b);
  };
}

TEST(DataValuesLodLimits, Records1001) {
  runCases({
      {"above the ULOD value", ulodValue("N/A, N/A, 500"), {"10, 11", "600, 11"}, ulodShort(L(2), 3, kV1, 600, 500), 10},
      {"equal to the ULOD value", ulodValue("N/A, N/A, 500"), {"10, 11", "500, 11"}, "", 0},
      {"scale factor within the tolerance of 1: the short forms",
       scalesAnd("1, 1, 1.0000001, 1.0000001", [](IcarttBuilder& b) {
         ulodValue("N/A, N/A, 500")(b);
         llodValue("N/A, N/A, N/A, 0.5")(b);
       }),
       {"10, 11", "600, 0.2"},
       ulodShort(L(2), 3, kV1, 600, 500) + llodShort(L(2), 4, kV2, 0.2, 0.5),
       10},
      {"scaled below the ULOD value", scalesAnd("1, 1, 0.1, 1", ulodValue("N/A, N/A, 500")), {"10, 11", "600, 11"}, "", 0},
      {"scaled above the ULOD value",
       scalesAnd("1, 1, 2, 1", ulodValue("N/A, N/A, 500")),
       {"10, 11", "300, 11"},
       ulodLong(L(2), 3, kV1, 2, 300, 500),
       10},
      {"second variable above its ULOD value", ulodValue("N/A, N/A, N/A, 20"), {"10, 11", "600, 21"}, ulodShort(L(2), 4, kV2, 21, 20), 10},
      {"the ULOD flag is not compared", ulodValue("N/A, N/A, 500"), {"10, 11", "-7777, 11"}, "", 0},
      {"the missing flag is not compared", ulodValue("N/A, N/A, -99999"), {"-9999, 11", "-9999, 11"}, "", 0},
      {"ULOD value undefined", ulodValue("N/A"), {"10, 11", "600000, 11"}, "", 0},
      {"first record above the ULOD value", ulodValue("N/A, N/A, 500"), {"501.5, 11", "10, 11"}, ulodShort(L(1), 3, kV1, 501.5, 500), 10},
      {"below the LLOD value", llodValue("N/A, N/A, 0.5"), {"10, 11", "0.2, 11"}, llodShort(L(2), 3, kV1, 0.2, 0.5), 10},
      {"equal to the LLOD value", llodValue("N/A, N/A, 0.5"), {"10, 11", "0.5, 11"}, "", 0},
      {"scaled above the LLOD value", scalesAnd("1, 1, 10, 1", llodValue("N/A, N/A, 0.5")), {"10, 11", "0.2, 11"}, "", 0},
      {"scaled below the LLOD value",
       scalesAnd("1, 1, 0.1, 1", llodValue("N/A, N/A, 0.5")),
       {"10, 11", "4, 11"},
       llodLong(L(2), 3, kV1, 0.1, 4, 0.5),
       10},
      {"the LLOD flag is not compared",
       llodValue("N/A, N/A, N/A, 0.5"),
       {"10, 11", "10, -8888"},
       "",
       0},
      {"the missing flag is not compared with the LLOD value", llodValue("N/A, N/A, 0.5"), {"10, 11", "-9999, 11"}, "", 0},
      {"the ULOD flag is not compared with the LLOD value", llodValue("N/A, N/A, 0.5"), {"10, 11", "-7777, 11"},
       misuse(L(2), "ULOD_FLAG", 3, -7777, -7777, -9999), 0},
      {"both limits on one record",
       [](IcarttBuilder& b) {
         ulodValue("N/A, N/A, 500")(b);
         llodValue("N/A, N/A, N/A, 0.5")(b);
       },
       {"10, 11", "700, 0.1"},
       ulodShort(L(2), 3, kV1, 700, 500) + llodShort(L(2), 4, kV2, 0.1, 0.5),
       10},
  });
}

TEST(DataValuesLodLimits, DefinitionIsEscaped) {
  IcarttBuilder b = records1001({"10, 11", "600, 11"});
  b.vars[2] = "V1, <ppbv>, A & \"B\"";
  setComment(b, "ULOD_VALUE:", "ULOD_VALUE: N/A, N/A, 500");
  DataScan s = scanData(b);
  EXPECT_EQ(s.messages, ulodShort(L(2), 3, "V1, &lt;ppbv&gt;, A &amp; &quot;B&quot;\n", 600, 500));
  EXPECT_EQ(s.res.status, 10);
}

TEST(DataValuesLodLimits, MessageTextsAsWritten) {
  IcarttBuilder b = records1001({"10, 11", "600, 11"});
  setComment(b, "ULOD_VALUE:", "ULOD_VALUE: N/A, N/A, 500");
  DataScan s = scanData(b);
  EXPECT_EQ(s.messages, "<font color='#FF0000'>Line" + std::to_string(L(2)) +
                            ": Error - Var_3 (V1, ppbv, Test variable\n): Value = 600.0000 is GREATER_THAN ULOD_VALUE(500.0000) in header.<br>\n</font>");
}

TEST(DataValuesFlagCloseness, Records1001) {
  runCases({
      {"too close to the missing flag", nullptr, {"10, 11", "-1500, 11"}, closeMissing(L(2), 3, kV1, -1500, 1) + kNote, 10},
      {"two values too close: the note once",
       nullptr,
       {"10, 11", "-1500, -2000"},
       closeMissing(L(2), 3, kV1, -1500, 1) + closeMissing(L(2), 4, kV2, -2000, 1) + kNote,
       10},
      {"a note for each record", nullptr, {"-1500, 11", "-2000, 11"},
       closeMissing(L(1), 3, kV1, -1500, 1) + kNote + closeMissing(L(2), 3, kV1, -2000, 1) + kNote, 10},
      {"above the bound: a look-alike only", nullptr, {"10, 11", "-999.5, 11"}, lookAlike(L(2), 3, -999.5, "MissingDataFlag", -9999), 0},
      {"look-alike of the missing flag", nullptr, {"10, 11", "-999, 11"}, lookAlike(L(2), 3, -999, "MissingDataFlag", -9999), 0},
      {"the missing flag itself", nullptr, {"10, 11", "-9999, 11"}, "", 0},
      {"within the tolerance of the missing flag", nullptr, {"10, 11", "-9999.0000005, 11"}, "", 0},
      {"a larger missing flag: too close and a look-alike",
       [](IcarttBuilder& b) { b.missing = "-9999, -9999, -99999, -9999"; },
       {"10, 11", "-99999.4, 11"},
       closeMissing(L(2), 3, kV1, -99999.4, 1) + lookAlike(L(2), 3, -99999.4, "MissingDataFlag", -99999) + kNote,
       10},
      {"eleven nines: too close and a look-alike by its digits",
       nullptr,
       {"10, 11", "-99999999999, 11"},
       closeMissing(L(2), 3, kV1, -99999999999.0, 1) + lookAlike(L(2), 3, -99999999999.0, "MissingDataFlag", -9999) + kNote,
       10},
      {"look-alike of the ULOD flag", nullptr, {"10, 11", "-777, 11"}, lookAlike(L(2), 3, -777, "ULOD_FLAG", -7777), 0},
      {"look-alike of the LLOD flag, too close to the missing flag",
       nullptr,
       {"10, 11", "10, -88888"},
       closeMissing(L(2), 4, kV2, -88888, 1) + lookAlike(L(2), 4, -88888, "LLOD_FLAG", -8888) + kNote,
       10},
      {"scaled too close", [](IcarttBuilder& b) { b.scales = "1, 1, 10, 1"; }, {"10, 11", "-150, 11"},
       closeMissing(L(2), 3, kV1, -150, 10) + kNote, 10},
      {"scaled away from the flag", [](IcarttBuilder& b) { b.scales = "1, 1, 0.1, 1"; }, {"10, 11", "-1500, 11"}, "", 0},
      {"too close to the ULOD flag", ulodValue("N/A, N/A, 500"), {"10, 11", "-800, 11"}, closeUlod(L(2), 3, kV1, -800, 1) + kNote, 10},
      {"too close to the missing and the ULOD flag",
       ulodValue("N/A, N/A, 500"),
       {"10, 11", "-1000, 11"},
       closeMissing(L(2), 3, kV1, -1000, 1) + closeUlod(L(2), 3, kV1, -1000, 1) + kNote,
       10},
      {"ULOD value undefined: no ULOD closeness", nullptr, {"10, 11", "-800, 11"}, "", 0},
      {"too close to the LLOD flag, then below the LLOD value",
       llodValue("N/A, N/A, 0.5"),
       {"10, 11", "-900, 11"},
       closeLlod(L(2), 3, kV1, -900, 1) + kNote + llodShort(L(2), 3, kV1, -900, 0.5),
       10},
      {"first record: the limit first, then the closeness",
       llodValue("N/A, N/A, 0.5"),
       {"-900, 11", "10, 11"},
       llodShort(L(1), 3, kV1, -900, 0.5) + closeLlod(L(1), 3, kV1, -900, 1) + kNote,
       10},
      {"the ULOD flag is not compared with the closeness bounds", ulodValue("N/A, N/A, 500"), {"10, 11", "-7777, 11"}, "", 0},
      {"the LLOD flag is not compared with the closeness bounds", llodValue("N/A, N/A, 0.5"), {"10, 11", "-8888, 11"}, "", 0},
      {"flags of each variable",
       [](IcarttBuilder& b) { setComment(b, "ULOD_FLAG:", "ULOD_FLAG: -7777, -7777, -7777, -77777"); },
       {"10, 11", "-77777, -7777"},
       // Each value is the other variable's ULOD flag: too close, and a look-alike of its own flag.
       closeMissing(L(2), 3, kV1, -77777, 1) + lookAlike(L(2), 3, -77777, "ULOD_FLAG", -7777) +
           closeMissing(L(2), 4, kV2, -7777, 1) + lookAlike(L(2), 4, -7777, "ULOD_FLAG", -77777) + kNote,
       10},
  });
}

TEST(DataValuesSuspicious, FlagUsedWithoutItsValue) {
  runCases({
      {"ULOD flag, ULOD value undefined", nullptr, {"10, 11", "-7777, 11"}, misuse(L(2), "ULOD_FLAG", 3, -7777, -7777, -9999), 0},
      {"LLOD flag, LLOD value undefined", nullptr, {"10, -8888", "10, 11"}, misuse(L(1), "LLOD_FLAG", 4, -8888, -8888, -9999), 0},
      {"a short ULOD flag",
       [](IcarttBuilder& b) { setComment(b, "ULOD_FLAG:", "ULOD_FLAG: -77"); },
       {"10, 11", "-77, 11"},
       misuse(L(2), "ULOD_FLAG", 3, -77, -77, -9999),
       0},
      {"a short LLOD flag",
       [](IcarttBuilder& b) { setComment(b, "LLOD_FLAG:", "LLOD_FLAG: -88"); },
       {"10, 11", "10, -88"},
       misuse(L(2), "LLOD_FLAG", 4, -88, -88, -9999),
       0},
      {"ULOD flag with its value defined", ulodValue("N/A, N/A, 500"), {"10, 11", "-7777, 11"}, "", 0},
      {"the other variable's value is defined",
       ulodValue("N/A, N/A, N/A, 500"),
       {"10, 11", "-7777, 11"},
       misuse(L(2), "ULOD_FLAG", 3, -7777, -7777, -9999),
       0},
  });
}

TEST(DataValuesSuspicious, SharedCapOfFifty) {
  struct Cap {
    const char* what;
    const char* v1;  // value of V1 in every record
    const char* v2;
  } caps[] = {{"the 51st is a flag used without its value", "-7777", "-999"}, {"the 51st is a look-alike", "-999", "-7777"}};
  for (const Cap& c : caps) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> rows;
    for (int r = 1; r <= 30; ++r) rows.push_back(std::string(c.v1) + ", " + c.v2);
    rows[27] = std::string(c.v1) + ", -1500";  // record 28: errors go on after the cap
    DataScan s = scanData(records1001(rows));
    auto one = [&](int line, int var, const char* v, bool note) {
      return std::string(v) == "-7777" ? misuse(line, "ULOD_FLAG", var, -7777, -7777, -9999, note)
                                       : lookAlike(line, var, -999, "MissingDataFlag", -9999, note);
    };
    std::string expected;
    for (int r = 1; r <= 25; ++r) expected += one(L(r), 3, c.v1, false) + one(L(r), 4, c.v2, false);
    expected += one(L(26), 3, c.v1, true);
    expected += closeMissing(L(28), 4, kV2, -1500, 1) + kNote;
    EXPECT_EQ(s.messages, expected);
    EXPECT_EQ(warningBlocks(s.messages), 51u);
    EXPECT_EQ(s.res.status, 10);
  }
}

// Values are read and written the same way under a decimal-comma locale.
class DataValuesLocale : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* old = std::setlocale(LC_ALL, nullptr);
    saved_ = old ? old : "C";
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
  }
  void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }
  std::string saved_;
};

TEST_F(DataValuesLocale, DecimalCommaLocaleChangesNothing) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%.1f", 1.5);
  ASSERT_EQ(std::string(buf), "1,5");  // the locale is really in force
  IcarttBuilder b = records1001({"10, 11", "4.5, -999.25"});
  b.scales = "1, 1, 0.1, 1";
  setComment(b, "LLOD_VALUE:", "LLOD_VALUE: N/A, N/A, 0.5");
  DataScan s = scanData(b);
  const std::string line = std::to_string(L(2));
  EXPECT_EQ(s.messages,
            "<font color='#FF9933'><font size=\"-1\">Line" + line +
                ": Suspicious Data: Var_4 (Value=-999.250) looks similar to MissingDataFlag in Header. If this point is a FLAG, it MUST be the same as in Header (-9999...)<br></font>\n</font>"
                "<font color='#FF0000'>Line" + line +
                ": Error - Var_3 (V1, ppbv, Test variable\n): ScaleFactor(0.1000) * Value(4.5000) = 0.4500 is LESS_THAN LLOD_VALUE (0.5000) in header.<br>\n</font>");
  EXPECT_EQ(s.res.status, 10);
}

// ---- FFI 2110 and 2310, whole scans ----

struct BlockCase {
  const char* what;
  int ffi;
  std::function<void(IcarttBuilder&)> change;
  std::vector<std::string> data;
  std::function<std::string(int nh)> expected;
  int32_t status;
};

TEST(DataValuesBlocks, AuxiliaryAndBoundedValues) {
  BlockCase cases[] = {
      {"2310: bounded point 4 of variable 2 above its ULOD value", 2310,
       ulodValue("N/A, N/A, N/A, N/A, N/A, N/A, 50"),
       {"36000, 36060, 36030, 5, 500, 250", "40.1, 41.2, 42.3, 43.4, 44.5", "1.1, 1.2, 1.3, 60, 1.5"},
       [](int nh) { return pointUlod(nh + 3, 2, kAerosol, 4, 60, 1, 50); }, 10},
      {"2310: scaled bounded point", 2310,
       scalesAnd("1, 0.5", ulodValue("N/A, N/A, N/A, N/A, N/A, N/A, 50")),
       {"36000, 36060, 36030, 3, 500, 250", "40.1, 41.2, 42.3", "60, 120, 1.5"},
       [](int nh) { return pointUlod(nh + 3, 2, kAerosol, 2, 120, 0.5, 50); }, 10},
      {"2310: bounded point below its LLOD value", 2310,
       llodValue("N/A, N/A, N/A, N/A, N/A, 1, N/A"),
       {"36000, 36060, 36030, 3, 500, 250", "40.1, 0.5, 42.3", "1.1, 1.2, 1.3"},
       [](int nh) { return pointLlod(nh + 2, 1, kO3, 2, 0.5, 1, 1); }, 10},
      {"2310: bounded point too close to the missing flag", 2310, nullptr,
       {"36000, 36060, 36030, 3, 500, 250", "40.1, -1500, 42.3", "1.1, 1.2, 1.3"},
       [](int nh) { return closeMissingBounded(nh + 2, 1, kO3, -1500, 1) + kNote; }, 10},
      {"2310: bounded point too close to the ULOD flag", 2310,
       ulodValue("N/A, N/A, N/A, N/A, N/A, 50, N/A"),
       {"36000, 36060, 36030, 3, 500, 250", "40.1, 41.2, -800", "1.1, 1.2, 1.3"},
       [](int nh) { return closeUlod(nh + 2, 1, kO3, -800, 1) + kNote; }, 10},
      {"2310: bounded look-alike numbers the point's variable", 2310, nullptr,
       {"36000, 36060, 36030, 3, 500, 250", "40.1, 41.2, 42.3", "1.1, -999, 1.3"},
       [](int nh) { return lookAlike(nh + 3, 2, -999, "MissingDataFlag", -9999); }, 0},
      {"2110: bounded value above its ULOD value", 2110,
       ulodValue("N/A, N/A, N/A, N/A, 300"),
       {"36000, 36060, 36030, 2", "500, 40.1, 280.5", "1000, 41.2, 310"},
       [](int nh) { return boundedUlod(nh + 3, 2, kTemp, 310, 1, 300); }, 10},
      {"2110: scaled bounded value below its LLOD value", 2110,
       [](IcarttBuilder& b) {
         b.scales = "0.5, 1";
         llodValue("N/A, N/A, N/A, 10, N/A")(b);
       },
       {"36000, 36060, 36030, 2", "500, 19, 280.5", "1000, 41.2, 277.1"},
       [](int nh) { return boundedLlod(nh + 2, 1, kO3, 19, 0.5, 10); }, 10},
      {"2110: bounded value too close to the LLOD flag", 2110,
       llodValue("N/A, N/A, N/A, N/A, 200"),
       {"36000, 36060, 36030, 2", "500, 40.1, 280.5", "1000, 41.2, -900"},
       [](int nh) {
         return boundedLlod(nh + 3, 2, kTemp, -900, 1, 200) + closeLlod(nh + 3, 2, kTemp, -900, 1) + kNote;
       }, 10},
      {"2110: auxiliary value above its ULOD value", 2110,
       ulodValue("N/A, N/A, 1, N/A, N/A"),
       {"36000, 36060, 36030, 2", "500, 40.1, 280.5", "1000, 41.2, 277.1"},
       [](int nh) { return auxUlod(nh + 1, 3, kNumAlt, 2, 1, 1); }, 10},
      {"2110: scaled auxiliary value above its ULOD value", 2110,
       [](IcarttBuilder& b) {
         b.auxScales = "1, 1, 0.5";
         ulodValue("N/A, N/A, 1, N/A, N/A")(b);
       },
       {"36000, 36060, 36030, 2", "500, 40.1, 280.5", "1000, 41.2, 277.1", "36060, 36120, 36090, 4", "1, 1, 1", "2, 2, 2",
        "3, 3, 3", "4, 4, 4"},
       [](int nh) { return auxUlod(nh + 4, 3, kNumAlt, 4, 0.5, 1); }, 10},
      {"2310: auxiliary value below its LLOD value", 2310,
       llodValue("N/A, N/A, N/A, 600, N/A, N/A, N/A"),
       {"36000, 36060, 36030, 3, 500, 250", "40.1, 41.2, 42.3", "1.1, 1.2, 1.3"},
       [](int nh) { return auxLlod(nh + 1, 4, kAlt0, 500, 1, 600); }, 10},
      {"2310: auxiliary value too close to the missing flag", 2310, nullptr,
       {"36000, 36060, 36030, 3, 500, 250", "40.1, 41.2, 42.3", "1.1, 1.2, 1.3", "36060, 36120, 36090, 0, -1500, 250"},
       [](int nh) { return closeMissingAux(nh + 4, 4, kAlt0, -1500, 1) + kNote; }, 10},
      {"2310: auxiliary value too close to the ULOD flag", 2310,
       ulodValue("N/A, N/A, N/A, 400, N/A, N/A, N/A"),
       {"36000, 36060, 36030, 3, -800, 250", "40.1, 41.2, 42.3", "1.1, 1.2, 1.3"},
       [](int nh) { return closeUlodAux(nh + 1, 4, kAlt0, -800, 1) + kNote; }, 10},
      {"2310: later auxiliary line: limit first, then closeness", 2310,
       llodValue("N/A, N/A, N/A, N/A, 1, N/A, N/A"),
       {"36000, 36060, 36030, 0, 500, 250", "36060, 36120, 36090, 0, 500, -900"},
       [](int nh) { return auxLlod(nh + 2, 5, kDAlt, -900, 1, 1) + closeLlodAux(nh + 2, 5, kDAlt, -900, 1) + kNote; }, 10},
      {"2310: auxiliary look-alike", 2310, nullptr,
       {"36000, 36060, 36030, 0, -999, 250"},
       [](int) { return lookAlike(IcarttBuilder::ffi2310().computedNH() + 1, 4, -999, "MissingDataFlag", -9999); }, 0},
      {"2310: auxiliary ULOD flag without its value", 2310, nullptr,
       {"36000, 36060, 36030, 0, -7777, 250"},
       [](int nh) { return misuse(nh + 1, "ULOD_FLAG", 4, -7777, -7777, -9999); }, 0},
  };
  for (const BlockCase& c : cases) {
    SCOPED_TRACE(c.what);
    IcarttBuilder b = c.ffi == 2110 ? IcarttBuilder::ffi2110() : IcarttBuilder::ffi2310();
    if (c.change) c.change(b);
    b.data = c.data;
    DataScan s = scanData(b);
    EXPECT_EQ(s.messages, c.expected(b.computedNH()));
    EXPECT_EQ(s.res.status, c.status);
  }
}

// ---- direct calls ----

// A header of one primary variable P1 (flags and values chosen per test), keywords present.
struct Direct {
  ScanContext ctx;
  explicit Direct(double missing, int ffi = 1001) {
    HeaderInfo& h = ctx.hdr;
    h.ffi = ffi;
    h.numHeaderLines = 20;
    h.numVariables = 1;
    Variable& p1 = defineVariable(ctx, VarKind::Primary, 0, "P1, ppb, positive flags", missing);
    p1.ulodFlag = -7777;
    p1.llodFlag = -8888;
    h.keywordCounts[kwUlodFlag] = 1;
    h.keywordCounts[kwLlodFlag] = 1;
  }
  Variable& p(size_t i) {
    ctx.checks.limitsReady = false;  // the test changes the header: take the limits again
    return variable(ctx, VarKind::Primary, i);
  }
  std::string closeness(double x) {
    const double rec[2] = {0, x};
    size_t before = ctx.report.contents().size();
    checkFlagCloseness(ctx, 21, rec, {ValueTarget::PrimaryRecord});
    return ctx.report.contents().substr(before);
  }
};

TEST(DataValuesDirect, PositiveMissingFlag) {
  const std::string def = "P1, ppb, positive flags";
  struct Case {
    double x;
    std::string expected;
  } cases[] = {
      {5000, closeMissing(21, 1, def, 5000, 1) + kNote},
      {9999, closeMissing(21, 1, def, 9999, 1) + kNote},
      {-50, closeMissing(21, 1, def, -50, 1) + kNote},
      {10000, ""},
      {99999, ""},  // the flag
      {250000, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    Direct d(99999);
    const double rec[2] = {0, c.x};
    EXPECT_EQ(checkFlagCloseness(d.ctx, 21, rec, {ValueTarget::PrimaryRecord}), c.expected.empty() ? 0 : 10);
    EXPECT_EQ(d.ctx.report.contents(), c.expected);
  }
}

TEST(DataValuesDirect, KeywordsAbsent) {
  Direct d(-9999);
  d.ctx.hdr.keywordCounts[kwUlodFlag] = 0;
  d.ctx.hdr.keywordCounts[kwLlodFlag] = 0;
  d.p(0).ulodValue = 500;
  d.p(0).llodValue = 0.5;
  const double above[2] = {0, 600}, below[2] = {0, -800}, flag[2] = {0, -7777};
  EXPECT_EQ(checkLodLimits(d.ctx, 21, above, {ValueTarget::PrimaryRecord}), 0);
  EXPECT_EQ(checkLodLimits(d.ctx, 21, below, {ValueTarget::PrimaryRecord}), 0);
  // Only the missing flag is a closeness bound without the keywords.
  EXPECT_EQ(checkFlagCloseness(d.ctx, 21, below, {ValueTarget::PrimaryRecord}), 0);
  d.p(0).ulodValue = -9999;
  EXPECT_EQ(checkFlagCloseness(d.ctx, 21, flag, {ValueTarget::PrimaryRecord}), 0);
  EXPECT_EQ(d.ctx.report.contents(), "");
  // The look-alike warnings need no keyword.
  const double like[2] = {0, -777};
  EXPECT_EQ(checkFlagCloseness(d.ctx, 22, like, {ValueTarget::PrimaryRecord}), 0);
  EXPECT_EQ(d.ctx.report.contents(), lookAlike(22, 1, -777, "ULOD_FLAG", -7777));
}

TEST(DataValuesDirect, EachCallReturnsItsOwnResult) {
  // A clean value after failing ones passes: nothing of an earlier call carries over.
  Direct d(-9999);
  d.p(0).ulodValue = 100;
  const double above[2] = {0, 500}, tooClose[2] = {0, -5000}, clean[2] = {0, 5};
  EXPECT_EQ(checkLodLimits(d.ctx, 21, above, {ValueTarget::PrimaryRecord}), 10);
  EXPECT_EQ(checkFlagCloseness(d.ctx, 21, tooClose, {ValueTarget::PrimaryRecord}), 10);
  const std::string afterFailures = d.ctx.report.contents();
  EXPECT_EQ(checkLodLimits(d.ctx, 22, clean, {ValueTarget::PrimaryRecord}), 0);
  EXPECT_EQ(checkFlagCloseness(d.ctx, 22, clean, {ValueTarget::PrimaryRecord}), 0);
  EXPECT_EQ(d.ctx.report.contents(), afterFailures);
}

TEST(DataValuesDirect, BoundedValuesCoverCountValuesOfOneVariable) {
  Direct d(-9999, 2310);
  d.ctx.hdr.numVariables = 2;
  d.p(0).define("A, x, first");
  Variable& b = defineVariable(d.ctx, VarKind::Primary, 1, "B, y, second", -9999, 2);
  b.ulodFlag = -7777;
  b.llodFlag = -8888;
  b.ulodValue = 100;
  const double points[5] = {10, 20, 30, 60, 40};  // all of variable 2; only point 4 is above 100 scaled
  EXPECT_EQ(checkLodLimits(d.ctx, 30, points, {ValueTarget::BoundedValues, 2, 5}), 10);
  EXPECT_EQ(d.ctx.report.contents(), pointUlod(30, 2, "B, y, second", 4, 60, 2, 100));
  // Counting 3 values leaves point 4 out.
  Direct e(-9999, 2310);
  e.ctx.hdr = d.ctx.hdr;
  e.ctx.checks.limitsReady = false;
  EXPECT_EQ(checkLodLimits(e.ctx, 30, points, {ValueTarget::BoundedValues, 2, 3}), 0);
  // The same point of a 2110 file uses the 2110 text.
  Direct f(-9999, 2110);
  f.ctx.hdr = d.ctx.hdr;
  f.ctx.hdr.ffi = 2110;
  f.ctx.checks.limitsReady = false;
  EXPECT_EQ(checkLodLimits(f.ctx, 31, points + 3, {ValueTarget::BoundedValues, 2, 1}), 10);
  EXPECT_EQ(f.ctx.report.contents(), boundedUlod(31, 2, "B, y, second", 60, 2, 100));
}

TEST(DataValuesDirect, SuspiciousCapCountsBothWarnings) {
  struct Case {
    int32_t countBefore;
    bool flagUse;  // the flag used without its value, else a look-alike
    std::string expected;
    int32_t countAfter;
  } cases[] = {
      {0, true, misuse(40, "ULOD_FLAG", 2, -7777, -7777, -9999), 1},
      {49, true, misuse(40, "ULOD_FLAG", 2, -7777, -7777, -9999), 50},
      {50, true, misuse(40, "ULOD_FLAG", 2, -7777, -7777, -9999, true), 51},
      {51, true, "", 51},
      {49, false, lookAlike(40, 2, -999, "MissingDataFlag", -9999), 50},
      {50, false, lookAlike(40, 2, -999, "MissingDataFlag", -9999, true), 51},
      {51, false, "", 51},
      {500, false, "", 500},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.countBefore) + (c.flagUse ? " flag use" : " look-alike"));
    Direct d(-9999);
    for (int32_t k = 0; k < c.countBefore; ++k) d.ctx.checks.suspiciousValues.spend();
    if (c.flagUse)
      reportSuspiciousValue(d.ctx, 40, 2, -7777, -7777, -9999, -9999, -7);
    else
      reportSuspiciousValue(d.ctx, 40, 2, -999, -9999, -9999, -9999, -9);
    EXPECT_EQ(d.ctx.report.contents(), c.expected);
    EXPECT_EQ(d.ctx.checks.suspiciousValues.used(), c.countAfter);
  }
}

TEST(DataValuesDirect, FlagUseNeedsTheKindsKeywordAndAnUndefinedValue) {
  struct Case {
    int code;
    double x, flag, lod;
    bool ulodKeyword, llodKeyword;
    std::string expected;
  } cases[] = {
      {-7, -7777, -7777, -9999, true, true, misuse(40, "ULOD_FLAG", 1, -7777, -7777, -9999)},
      {-7, -7777, -7777, -9999, false, true, ""},
      {-7, -7777, -7777, 500, true, true, ""},
      {-7, -7777.0000005, -7777, -9999.0000005, true, true, misuse(40, "ULOD_FLAG", 1, -7777.0000005, -7777, -9999.0000005)},
      {-8, -8888, -8888, -9999, true, true, misuse(40, "LLOD_FLAG", 1, -8888, -8888, -9999)},
      {-8, -8888, -8888, -9999, true, false, ""},
      {-9, -9999, -9999, -9999, true, true, ""},  // the missing flag is no LOD flag
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.code) + " " + std::to_string(c.lod));
    Direct d(-9999);
    d.ctx.hdr.keywordCounts[kwUlodFlag] = c.ulodKeyword ? 1 : 0;
    d.ctx.hdr.keywordCounts[kwLlodFlag] = c.llodKeyword ? 1 : 0;
    reportSuspiciousValue(d.ctx, 40, 1, c.x, c.flag, c.lod, -9999, c.code);
    EXPECT_EQ(d.ctx.report.contents(), c.expected);
  }
}

// The look-alike test as written out: the integer part against the kind's repeated digits, then
// the value printed with "%.0f" against the kind's digits followed by nines.
bool expectedLookAlike(double x, double flag, int code) {
  if (nearlyEqual(x, flag) || x >= -99.9) return false;
  const double t = std::trunc(x);
  for (double m : {111.0, 1111.0, 11111.0, 111111.0, 1111111.0})
    if (t == code * m) return true;
  char p[512];
  std::snprintf(p, sizeof p, "%.0f", x);
  const size_t n = std::strlen(p);
  if (n >= 16) return false;
  const std::string q = std::to_string(static_cast<long long>(code) * 11111111LL) + std::string(n, '9');
  return std::strncmp(p, q.c_str(), n) == 0;
}

TEST(DataValuesDirect, LookAlikeDigitsAgreeWithPrintedText) {
  std::vector<double> values;
  auto around = [&](double v) {
    for (double off : {0.0, 0.25, 0.4, 0.49999, 0.5, 0.50001, 0.6, 0.75, 1.0, 1.5, 2.5})
      values.insert(values.end(), {v - off, v + off});
    values.push_back(std::nextafter(v, -1e300));
    values.push_back(std::nextafter(v, 1e300));
    values.push_back(std::nextafter(v - 0.5, -1e300));
    values.push_back(std::nextafter(v - 0.5, 1e300));
  };
  for (char lead : {'7', '8', '9'})
    for (int digits = 2; digits <= 16; ++digits) {
      std::string text = "-";
      for (int k = 0; k < digits; ++k) text += k < 8 ? lead : '9';
      around(std::stod(text));
      text.back() = '8';
      around(std::stod(text));  // one digit off
      text = "-";
      for (int k = 0; k < digits; ++k) text += lead;  // sevens or eights past eight digits
      around(std::stod(text));
    }
  for (double v : {-99.9, -99.95, -100.0, -1e14, -99999999999999.0, -99999999999998.0, -1e15, -1e16, -1e20, -1e300})
    around(v);
  // Pseudo-random values of every size.
  uint64_t state = 0x2545F4914F6CDD1DULL;
  auto next = [&]() {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return state >> 11;
  };
  for (int k = 0; k < 20000; ++k) {
    const double unit = static_cast<double>(next()) / 9007199254740992.0;  // [0, 1)
    const int exponent = 2 + static_cast<int>(next() % 15);
    values.push_back(-(1 + 9 * unit) * std::pow(10.0, exponent));
    // Ties and near-ties of nines, sevens and eights with a random digit count.
    const int digits = 3 + static_cast<int>(next() % 13);
    const double nines = -(std::pow(10.0, digits) - 1);
    values.push_back(nines - 0.5 + (static_cast<double>(next() % 3) - 1) * 0.25);
  }
  size_t seen = 0;
  for (int code : {-7, -8, -9}) {
    for (double x : values) {
      Direct d(-9999);
      reportSuspiciousValue(d.ctx, 40, 1, x, 12345, 0, -9999, code);
      const bool written = has(d.ctx.report.contents(), "Suspicious Data");
      if (written) ++seen;
      ASSERT_EQ(written, expectedLookAlike(x, 12345, code)) << fmt("x = %.17g (%.0f), code %d", x, x, code);
    }
  }
  EXPECT_GT(seen, 100u);
}

TEST(DataValuesDirect, LookAlikeExamples) {
  struct Case {
    double x;
    int code;
    bool written;
  } cases[] = {
      {-999, -9, true},           {-9999.9, -9, true},         {-999999999, -9, true},   {-99999999999999, -9, true},
      {-99999999999999.4, -9, true}, {-99999999999999.5, -9, false}, {-999999999999999, -9, false},
      {-99999999999, -9, true},   {-999.5, -9, true},          {-99.95, -9, false},      {-1000, -9, false},
      {-777, -7, true},           {-7777777, -7, true},        {-77777777, -7, true},    {-777777779999, -7, true},
      {-777777777, -7, false},    {-7779, -7, false},          {-888, -8, true},         {-88888888999, -8, true},
      {-888.6, -8, true},         {-887.5, -8, true} /* prints -888 (ties to even) */, {-886.5, -8, false},         {-888.5, -8, true},       {-889.5, -8, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(fmt("%.17g code %d", c.x, c.code));
    Direct d(-9999);
    reportSuspiciousValue(d.ctx, 40, 1, c.x, 12345, 0, -9999, c.code);
    EXPECT_EQ(has(d.ctx.report.contents(), "Suspicious Data"), c.written);
    EXPECT_EQ(expectedLookAlike(c.x, 12345, c.code), c.written);
  }
}

TEST(DataValuesDirect, FlagClassOfEachValue) {
  // The flag-closeness check finds each value's flag class once, for the plot store: the missing
  // flag first, then the LLOD flag, then the ULOD flag of the value's variable.
  struct Case {
    int ffi;
    double value;
    int32_t n;  // the variable (auxiliary for 2110 and 2310)
    int expected;
  } cases[] = {
      {1001, -9999, 1, 1}, {1001, -8888, 1, 2},         {1001, -7777, 1, 3},
      {1001, 5, 1, 0},     {1001, -9999.0000005, 1, 1}, {1001, -9999.001, 1, 0},
      {1001, -9999, 2, 0}, {1001, -5555, 2, 1},  // variable 2: missing and LLOD flag both -5555, missing
                                                 // first
      {1001, -6666, 2, 3}, {2110, -999, 1, 1},          {2110, -888, 1, 2},
      {2110, -777, 1, 3},  {2110, -9999, 1, 0},         {2310, -999, 1, 1},
      {2310, -777, 2, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(fmt("ffi %d value %.7f variable %d", c.ffi, c.value, c.n));
    ScanContext ctx;
    HeaderInfo& h = ctx.hdr;
    h.ffi = c.ffi;
    h.numVariables = 2;
    h.numAuxVariables = c.ffi == 1001 ? 0 : 2;
    const struct {
      VarKind kind;
      double missing, llod, ulod;
    } rows[] = {{VarKind::Primary, -9999, -8888, -7777},
                {VarKind::Primary, -5555, -5555, -6666},
                {VarKind::Auxiliary, -999, -888, -777},
                {VarKind::Auxiliary, -99, -88, -777}};
    size_t index[2] = {0, 0};
    for (const auto& row : rows) {
      if (row.kind == VarKind::Auxiliary && c.ffi == 1001) continue;
      const size_t i = index[row.kind == VarKind::Primary ? 0 : 1]++;
      Variable& v = defineVariable(ctx, row.kind, i, "V, x, y", row.missing);
      v.llodFlag = row.llod;
      v.ulodFlag = row.ulod;
    }
    const bool aux = c.ffi != 1001;
    std::vector<double> values(3, 1.0);
    values[static_cast<size_t>(c.n)] = c.value;
    std::vector<uint8_t> classes(3, 9);
    checkFlagCloseness(ctx, 21, values.data(),
                       {aux ? ValueTarget::AuxiliaryLine : ValueTarget::PrimaryRecord}, classes.data());
    EXPECT_EQ(classes[0], 0) << "the independent variable is never classified";
    EXPECT_EQ(classes[static_cast<size_t>(c.n)], c.expected);
    EXPECT_EQ(classes[static_cast<size_t>(3 - c.n)], 0);
    const auto& limits = aux ? ctx.checks.auxLimits : ctx.checks.primaryLimits;
    EXPECT_EQ(flagClassOf(c.value, limits[static_cast<size_t>(c.n) - 1]), c.expected);
  }
}

}  // namespace
}  // namespace tarvik::test
