// Writes a large valid ICARTT file for benchmarks: FFI 1001, 2110 or 2310, of about the size
// asked, from a seed. Every file it writes passes the scan with "Good Job" (Start, Stop and
// Mid-point times; no extra intervals).
//
//   gen_icartt --ffi 1001|2110|2310 --mb SIZE [--vars NV] [--seed S] [--points N] OUTPUT
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Rng {
  uint64_t s;
  uint64_t next() {
    s ^= s << 13;
    s ^= s >> 7;
    s ^= s << 17;
    return s;
  }
  // A value in [lo, hi) with the given number of decimals.
  void value(std::string& out, int lo, int hi, int decimals) {
    uint64_t scale = 1;
    for (int i = 0; i < decimals; ++i) scale *= 10;
    uint64_t span = static_cast<uint64_t>(hi - lo) * scale;
    uint64_t v = static_cast<uint64_t>(lo) * scale + next() % span;
    char buf[32];
    if (decimals == 0)
      std::snprintf(buf, sizeof buf, "%llu", static_cast<unsigned long long>(v));
    else
      std::snprintf(buf, sizeof buf, "%llu.%0*llu", static_cast<unsigned long long>(v / scale), decimals,
                    static_cast<unsigned long long>(v % scale));
    out += buf;
  }
};

// A time in milliseconds, written in seconds with three decimals.
void seconds(std::string& out, int64_t ms) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%lld.%03lld", static_cast<long long>(ms / 1000), static_cast<long long>(ms % 1000));
  out += buf;
}

std::string joined(const std::string& item, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += (i ? ", " : "") + item;
  return s;
}

std::vector<std::string> keywordLines() {
  return {"PI_CONTACT_INFO: Ostrel Benchmark Lab, bench@ostrel.example",
          "PLATFORM: Benchmark aircraft",
          "LOCATION: In the data",
          "ASSOCIATED_DATA: N/A",
          "INSTRUMENT_INFO: Generated values",
          "DATA_INFO: Generated for throughput measurements",
          "UNCERTAINTY: 5 percent",
          "ULOD_FLAG: -7777",
          "ULOD_VALUE: N/A",
          "LLOD_FLAG: -8888",
          "LLOD_VALUE: N/A",
          "DM_CONTACT_INFO: Benchmark data manager",
          "PROJECT_INFO: Tarvik benchmark",
          "STIPULATIONS_ON_USE: None",
          "OTHER_COMMENTS: N/A",
          "REVISION: R0",
          "R0: Generated."};
}

int usage() {
  std::fprintf(stderr, "usage: gen_icartt --ffi 1001|2110|2310 --mb SIZE [--vars NV] [--seed S] [--points N] OUTPUT\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int ffi = 1001, nv = 30, points = 50;
  double mb = 10;
  uint64_t seed = 1;
  const char* out = nullptr;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto val = [&]() { return i + 1 < argc ? argv[++i] : nullptr; };
    const char* v = nullptr;
    if (a == "--ffi" && (v = val())) ffi = std::atoi(v);
    else if (a == "--mb" && (v = val())) mb = std::atof(v);
    else if (a == "--vars" && (v = val())) nv = std::atoi(v);
    else if (a == "--seed" && (v = val())) seed = std::strtoull(v, nullptr, 10);
    else if (a == "--points" && (v = val())) points = std::atoi(v);
    else if (a[0] != '-' && !out) out = argv[i];
    else return usage();
  }
  if (!out || (ffi != 1001 && ffi != 2110 && ffi != 2310) || nv < 3 || nv > 4000 || mb <= 0 || points < 1)
    return usage();
  std::FILE* f = std::fopen(out, "wb");
  if (!f) {
    std::perror(out);
    return 1;
  }
  Rng rng{seed * 2654435761u + 88172645463325252ull};

  // Header
  std::vector<std::string> defs, aux;
  std::string independent = "Start_UTC, seconds, Start time in UTC seconds from midnight";
  if (ffi == 1001) {
    defs = {"Stop_UTC, seconds, Stop time in UTC seconds from midnight",
            "Mid_UTC, seconds, Mid-point time in UTC seconds from midnight"};
    for (int k = 3; k <= nv; ++k) defs.push_back("V" + std::to_string(k) + ", ppbv, Generated variable " + std::to_string(k));
  } else {
    for (int k = 1; k <= nv; ++k) defs.push_back("V" + std::to_string(k) + ", ppbv, Generated variable " + std::to_string(k));
    aux = {"Stop_UTC, seconds, Stop time", "Mid_UTC, seconds, Mid-point time", "NumAlt, number, Number of altitudes"};
    if (ffi == 2310) {
      aux.push_back("Alt0, m, First altitude");
      aux.push_back("dAlt, m, Altitude step");
    }
  }
  std::vector<std::string> kw = keywordLines();
  std::string shortNames = "Start_UTC";
  for (const auto& a : aux) shortNames += ", " + a.substr(0, a.find(','));
  if (ffi == 2110) shortNames += ", Altitude";
  for (const auto& d : defs) shortNames += ", " + d.substr(0, d.find(','));
  const int nncom = static_cast<int>(kw.size()) + 1;
  const int nh = ffi == 1001 ? 14 + static_cast<int>(defs.size()) + nncom
                             : 18 + static_cast<int>(defs.size() + aux.size()) + nncom;
  std::vector<std::string> hdr = {std::to_string(nh) + ", " + std::to_string(ffi), "Ostrel, Corvane",
                                  "Ostrel Benchmark Laboratory", "Generated benchmark data", "TARVIK-BENCH",
                                  "1, 1", "2019, 05, 21, 2019, 06, 01", "0"};
  if (ffi != 1001) hdr.push_back("Altitude, m, Altitude above sea level");
  hdr.push_back(independent);
  hdr.push_back(std::to_string(defs.size()));
  hdr.push_back(joined("1", static_cast<int>(defs.size())));
  hdr.push_back(joined("-9999", static_cast<int>(defs.size())));
  for (const auto& d : defs) hdr.push_back(d);
  if (ffi != 1001) {
    hdr.push_back(std::to_string(aux.size()));
    hdr.push_back(joined("1", static_cast<int>(aux.size())));
    hdr.push_back(joined("-9999", static_cast<int>(aux.size())));
    for (const auto& a : aux) hdr.push_back(a);
  }
  hdr.push_back("0");
  hdr.push_back(std::to_string(nncom));
  for (const auto& k : kw) hdr.push_back(k);
  hdr.push_back(shortNames);
  std::string buf;
  for (const auto& l : hdr) buf += l + "\r\n";

  // Data: times in milliseconds, 10 ms per record or 1 s per block, always below 172800 s.
  const uint64_t target = static_cast<uint64_t>(mb * 1024 * 1024);
  uint64_t written = 0;
  int64_t t = 3600000;
  int64_t record = 0;
  while (written + buf.size() < target) {
    if (ffi == 1001) {
      const int64_t step = 10;
      seconds(buf, t);
      buf += ", ";
      seconds(buf, t + step);
      buf += ", ";
      seconds(buf, t + step / 2);
      for (int k = 3; k <= nv; ++k) {
        buf += ", ";
        if (rng.next() % 97 == 0)
          buf += "-9999";
        else
          rng.value(buf, 0, 1000, 3);
      }
      buf += "\r\n";
      t += step;
    } else {
      const int64_t step = 1000;
      const int n = points;
      seconds(buf, t);
      buf += ", ";
      seconds(buf, t + step);
      buf += ", ";
      seconds(buf, t + step / 2);
      buf += ", " + std::to_string(n);
      if (ffi == 2310) buf += ", 500, 25";
      buf += "\r\n";
      if (ffi == 2110) {
        for (int u = 0; u < n; ++u) {
          buf += std::to_string(500 + 25 * u);
          for (int k = 0; k < nv; ++k) {
            buf += ", ";
            rng.value(buf, 0, 1000, 2);
          }
          buf += "\r\n";
        }
      } else {
        for (int k = 0; k < nv; ++k) {
          for (int u = 0; u < n; ++u) {
            if (u) buf += ", ";
            rng.value(buf, 0, 1000, 2);
          }
          buf += "\r\n";
        }
      }
      t += step;
    }
    ++record;
    if (buf.size() >= (1u << 20)) {
      if (std::fwrite(buf.data(), 1, buf.size(), f) != buf.size()) {
        std::perror(out);
        return 1;
      }
      written += buf.size();
      buf.clear();
    }
  }
  if (!buf.empty() && std::fwrite(buf.data(), 1, buf.size(), f) != buf.size()) {
    std::perror(out);
    return 1;
  }
  if (std::fclose(f) != 0) {
    std::perror(out);
    return 1;
  }
  return 0;
}
