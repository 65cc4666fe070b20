#include "cli/console_host.h"

#include <cstdio>

#include "scan/core/scan_context.h"

namespace tarvik::cli {

std::atomic<bool> g_abortRequested{false};

void ConsoleHost::showMessage(const std::string& caption, const std::string& text) {
  messages_.push_back({caption, text});
}

void ConsoleHost::updateProgress(ScanContext& ctx, int64_t current, int64_t total, int mode) {
  if (g_abortRequested.load(std::memory_order_relaxed)) ctx.run.abortRequested = true;
  if (!showProgress_) return;
  if (mode == 0) {
    calls_ = 0;
    lastDraw_ = std::chrono::steady_clock::now();
    return;
  }
  if (mode != 1 || (++calls_ & 1023) != 0) return;
  auto now = std::chrono::steady_clock::now();
  if (now - lastDraw_ < std::chrono::milliseconds(250)) return;
  lastDraw_ = now;
  int percent = total > 0 ? static_cast<int>(current * 100 / total) : 0;
  if (percent > 100) percent = 100;
  char bar[41];
  int filled = percent * 40 / 100;
  for (int i = 0; i < 40; ++i) bar[i] = i < filled ? '#' : '.';
  bar[40] = '\0';
  std::fprintf(stderr, "\r[%s] %3d%% (%lld of %lld lines)", bar, percent, static_cast<long long>(current),
               static_cast<long long>(total));
  std::fflush(stderr);
  barShown_ = true;
}

void ConsoleHost::finishProgress() {
  if (!barShown_) return;
  std::fprintf(stderr, "\r%*s\r", 78, "");
  std::fflush(stderr);
  barShown_ = false;
}

}  // namespace tarvik::cli
