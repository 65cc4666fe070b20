// libFuzzer target: the input becomes the bytes of an ICARTT file with a valid name, and one whole
// scan runs over it. The input's size chooses the options: the interval type, the extra intervals
// and the rule set.
#include <ftw.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "scan/core/scan_context.h"
#include "scan/core/scan_host.h"
#include "scan/run/scan_run.h"

namespace {

class SilentHost : public tarvik::ScanHost {
 public:
  void showMessage(const std::string&, const std::string&) override {}
  void updateProgress(tarvik::ScanContext&, int64_t, int64_t, int) override {}
};

int removeEntry(const char* path, const struct stat*, int, struct FTW*) { return ::remove(path); }

std::string g_dir;

void removeDir() {
  if (!g_dir.empty()) ::nftw(g_dir.c_str(), removeEntry, 8, FTW_DEPTH | FTW_PHYS);
}

// The folder the scanned file and its report live in: under TMPDIR when that is set, otherwise in
// memory on /dev/shm where it exists (a disk file system writes the replaced file back on every
// run), otherwise under /tmp.
std::string workBase() {
  const char* base = std::getenv("TMPDIR");
  if (base && *base) return base;
  struct stat st {};
  if (::stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) && ::access("/dev/shm", W_OK | X_OK) == 0) return "/dev/shm";
  return "/tmp";
}

const std::string& workDir() {
  if (g_dir.empty()) {
    std::string tmpl = workBase() + "/tarvik-fuzz-XXXXXX";
    if (!::mkdtemp(tmpl.data())) std::abort();
    g_dir = tmpl;
    std::atexit(removeDir);
  }
  return g_dir;
}

bool writeAll(const std::string& path, const uint8_t* data, size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = workDir() + "/FUZZ-TEST_DC8_20190521_R0.ict";
  ::remove((path + ".crlf").c_str());
  if (!writeAll(path, data, size)) std::abort();
  SilentHost host;
  tarvik::ScanContext ctx;
  ctx.host = &host;
  // The input's size chooses the options: the interval type, the extra intervals, the rule set.
  ctx.run.allowExtraIntervals = (size / 2) % 2 == 1;
  ctx.settings.icartt = (size / 4) % 2 == 1 ? tarvik::IcarttVersion::V2_0 : tarvik::IcarttVersion::V1_1;
  tarvik::runScan(ctx, path, static_cast<int32_t>(size % 2));
  return 0;
}
