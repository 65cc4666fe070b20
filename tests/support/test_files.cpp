#include "support/test_files.h"

#include <ftw.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "scan/run/scan_run.h"

namespace tarvik::test {

namespace {
int removeEntry(const char* path, const struct stat*, int, struct FTW*) { return ::remove(path); }
}  // namespace

TempDir::TempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string tmpl = std::string(base && *base ? base : "/tmp") + "/tarvik-test-XXXXXX";
  if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl;
}

TempDir::~TempDir() { ::nftw(path_.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS); }

void writeFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

bool fileExists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

ScanResult scanPath(const std::string& path, ScanOptions opt, const ScanSettings& settings) {
  ScanResult res;
  ScanContext ctx;
  ctx.host = &res.host;
  res.host.store = opt.store;
  res.host.abortAfter = opt.abortAfter;
  ctx.run.allowExtraIntervals = opt.extraIntervals;
  ctx.settings = settings;
  res.outcome = runScan(ctx, path, static_cast<int32_t>(opt.interval));
  res.reportPath = res.outcome.reportPath;
  res.status = res.outcome.status;
  res.maxLineLength = ctx.run.maxLineLength;
  res.linesCounted = ctx.run.linesCounted;
  res.report = readFile(settings.reportPath.empty() ? path + "__diagnostic.htm" : settings.reportPath);
  return res;
}

ScanResult scanBytes(const TempDir& dir, const std::string& name, std::string_view bytes, ScanOptions opt,
                     const ScanSettings& settings) {
  std::string path = dir.file(name);
  writeFile(path, bytes);
  return scanPath(path, opt, settings);
}

size_t countOf(std::string_view hay, std::string_view needle) {
  if (needle.empty()) return 0;
  size_t n = 0;
  for (size_t p = hay.find(needle); p != std::string_view::npos; p = hay.find(needle, p + needle.size())) ++n;
  return n;
}

std::string section(const std::string& report, std::string_view from, std::string_view to) {
  size_t a = report.find(from);
  if (a == std::string::npos) return "";
  size_t b = report.find(to, a);
  return report.substr(a, b == std::string::npos ? std::string::npos : b - a);
}

}  // namespace tarvik::test
