// The command line's scan host: message boxes become text, progress is a bar on stderr.
#pragma once

#include <atomic>
#include <chrono>
#include <string>
#include <vector>

#include "cli/message_box.h"
#include "scan/core/scan_host.h"

namespace tarvik::cli {

// Set by the SIGINT handler; every scan in progress ends as if Abort had been pressed.
extern std::atomic<bool> g_abortRequested;

class ConsoleHost : public ScanHost {
 public:
  explicit ConsoleHost(bool showProgress) : showProgress_(showProgress) {}
  void showMessage(const std::string& caption, const std::string& text) override;
  void updateProgress(ScanContext& ctx, int64_t current, int64_t total, int mode) override;

  using Message = MessageBox;
  const std::vector<Message>& messages() const { return messages_; }
  void clear() { messages_.clear(); }
  // Removes the progress bar from the terminal line.
  void finishProgress();

 private:
  bool showProgress_;
  bool barShown_ = false;
  std::vector<Message> messages_;
  std::chrono::steady_clock::time_point lastDraw_{};
  uint32_t calls_ = 0;
};

}  // namespace tarvik::cli
