#include "support/icartt_builder.h"

namespace tarvik::test {

namespace {
std::string repeatList(const std::string& item, size_t n) {
  std::string s;
  for (size_t i = 0; i < n; ++i) s += (i ? ", " : "") + item;
  return s;
}
std::string shortOf(const std::string& def) { return def.substr(0, def.find(',')); }
}  // namespace

std::vector<std::string> IcarttBuilder::defaultKeywords() {
  return {"PI_CONTACT_INFO: Test lab, test-pi@ostrel.example",
          "PLATFORM: Test aircraft",
          "LOCATION: In the data",
          "ASSOCIATED_DATA: N/A",
          "INSTRUMENT_INFO: Test instrument",
          "DATA_INFO: Test data",
          "UNCERTAINTY: 5 percent",
          "ULOD_FLAG: -7777",
          "ULOD_VALUE: N/A",
          "LLOD_FLAG: -8888",
          "LLOD_VALUE: N/A",
          "DM_CONTACT_INFO: Test data manager",
          "PROJECT_INFO: Test project",
          "STIPULATIONS_ON_USE: None",
          "OTHER_COMMENTS: N/A",
          "REVISION: R0",
          "R0: First release."};
}

IcarttBuilder IcarttBuilder::ffi1001(int extraVars) {
  IcarttBuilder b;
  b.ffi = 1001;
  b.vars = {"Stop_UTC, seconds, Stop time in UTC seconds", "Mid_UTC, seconds, Mid-point time in UTC seconds"};
  for (int i = 0; i < extraVars; ++i) b.vars.push_back("V" + std::to_string(i + 1) + ", ppbv, Test variable");
  b.normalComments = defaultKeywords();
  // One record: time checks begin with the second, so the header decides the verdict.
  for (int i = 0; i < 1; ++i) {
    double s = 36000 + 10 * i;
    std::string line = std::to_string(static_cast<int>(s)) + ", " + std::to_string(static_cast<int>(s + 10)) + ", " +
                       std::to_string(static_cast<int>(s + 5));
    for (int k = 0; k < extraVars; ++k) line += ", " + std::to_string(10 + k);
    b.data.push_back(line);
  }
  return b;
}

IcarttBuilder IcarttBuilder::ffi2110() {
  IcarttBuilder b;
  b.ffi = 2110;
  b.vars = {"O3, ppbv, Ozone", "Temp, K, Temperature"};
  b.auxVars = {"Stop_UTC, seconds, Stop time", "Mid_UTC, seconds, Mid time", "NumAlt, number, Number of altitudes"};
  b.normalComments = defaultKeywords();
  b.data = {"36000, 36060, 36030, 2", "500, 40.1, 280.5", "1000, 41.2, 277.1"};
  return b;
}

IcarttBuilder IcarttBuilder::ffi2310() {
  IcarttBuilder b;
  b.ffi = 2310;
  b.vars = {"O3, ppbv, Ozone", "Aerosol, Mm-1, Backscatter"};
  b.auxVars = {"Stop_UTC, seconds, Stop time", "Mid_UTC, seconds, Mid time", "NumAlt, number, Number of altitudes",
               "Alt0, m, First altitude", "dAlt, m, Altitude step"};
  b.normalComments = defaultKeywords();
  b.data = {"36000, 36060, 36030, 3, 500, 250", "40.1, 41.2, 42.3", "1.1, 1.2, 1.3"};
  return b;
}

int IcarttBuilder::computedNH() const {
  int base = static_cast<int>(vars.size() + specialComments.size() + normalComments.size() + 1);
  return ffi == 1001 ? 14 + base : 18 + base + static_cast<int>(auxVars.size());
}

std::vector<std::string> IcarttBuilder::headerLines() const {
  std::vector<std::string> L;
  int n = nh >= 0 ? nh : computedNH();
  L.push_back(!line1.empty() ? line1 : std::to_string(n) + ", " + std::to_string(ffi));
  L.push_back(pi);
  L.push_back(org);
  L.push_back(source);
  L.push_back(mission);
  L.push_back(line6);
  L.push_back(line7);
  L.push_back(line8);
  if (ffi != 1001) L.push_back(bounded);
  L.push_back(independent);
  L.push_back(!nvLine.empty() ? nvLine : std::to_string(vars.size()));
  L.push_back(!scales.empty() ? scales : repeatList("1", vars.size()));
  L.push_back(!missing.empty() ? missing : repeatList("-9999", vars.size()));
  for (const auto& v : vars) L.push_back(v);
  if (ffi != 1001) {
    L.push_back(!nauxLine.empty() ? nauxLine : std::to_string(auxVars.size()));
    L.push_back(!auxScales.empty() ? auxScales : repeatList("1", auxVars.size()));
    L.push_back(!auxMissing.empty() ? auxMissing : repeatList("-9999", auxVars.size()));
    for (const auto& v : auxVars) L.push_back(v);
  }
  L.push_back(!nscomLine.empty() ? nscomLine : std::to_string(specialComments.size()));
  for (const auto& c : specialComments) L.push_back(c);
  L.push_back(!nncomLine.empty() ? nncomLine : std::to_string(normalComments.size() + 1));
  for (const auto& c : normalComments) L.push_back(c);
  if (!shortNames.empty()) {
    L.push_back(shortNames);
  } else {
    std::string s = shortOf(independent);
    for (const auto& v : auxVars) s += ", " + shortOf(v);
    if (ffi == 2110) s += ", " + shortOf(bounded);
    for (const auto& v : vars) s += ", " + shortOf(v);
    L.push_back(s);
  }
  return L;
}

std::string IcarttBuilder::text(const std::string& eol) const {
  std::string out;
  for (const auto& l : headerLines()) out += l + eol;
  for (const auto& d : data) out += d + eol;
  return out;
}

}  // namespace tarvik::test
