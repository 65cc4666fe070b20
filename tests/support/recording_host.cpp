#include "support/recording_host.h"

#include "scan/core/scan_context.h"

namespace tarvik::test {

void RecordingHost::showMessage(const std::string& caption, const std::string& text) {
  messages.push_back({caption, text});
}

void RecordingHost::updateProgress(ScanContext& ctx, int64_t current, int64_t total, int mode) {
  progress.push_back({static_cast<long long>(current), static_cast<long long>(total), mode});
  if (mode == 1 && abortAfter >= 0) {
    long calls = 0;
    for (const auto& p : progress)
      if (p.mode == 1) ++calls;
    if (calls >= abortAfter) ctx.run.abortRequested = true;
  }
}

}  // namespace tarvik::test
