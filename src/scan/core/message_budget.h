// The cap on the messages of one check: up to `limit` messages, then a single "Too many" notice.
#pragma once

#include <cstdint>

#include "scan/core/report.h"

namespace tarvik {

class MessageBudget {
 public:
  // How the notice is written: as its own warning or error block, or as plain text inside the
  // block of the message that reached the cap.
  enum class Notice { Warning, Error, Plain };

  constexpr explicit MessageBudget(int32_t limit) noexcept : limit_(limit) {}

  int32_t limit() const noexcept { return limit_; }
  // Messages (or, for a check that counts its findings, findings) counted so far.
  int32_t used() const noexcept { return used_; }
  // Another message may be written.
  bool allows() const noexcept { return used_ < limit_; }
  // Counts one; true when it took the last place under the cap.
  bool spend() noexcept { return ++used_ == limit_; }
  // Counts one and, when it took the last place, writes the notice.
  bool spend(Report& r, Notice form, const char* notice) {
    if (!spend()) return false;
    writeNotice(r, form, notice);
    return true;
  }
  // Writes the notice as it stands (it is no format), once in the budget's life; false when it
  // was written before. Every form records the notice as a finding of its own.
  bool writeNotice(Report& r, Notice form, const char* notice) {
    if (noticeWritten_) return false;
    noticeWritten_ = true;
    if (form == Notice::Plain) {
      r.notice(notice);
      return true;
    }
    if (form == Notice::Warning) r.beginWarning();
    if (form == Notice::Error) r.beginError();
    r.write(notice);
    r.endBlock();
    return true;
  }
  void reset() noexcept {
    used_ = 0;
    noticeWritten_ = false;
  }

 private:
  int32_t limit_;
  int32_t used_ = 0;
  bool noticeWritten_ = false;
};

}  // namespace tarvik
