// The hourglass pointer for the length of a scope; the normal pointer returns on every exit.
#pragma once

#include <QGuiApplication>

namespace tarvik::desktop {

class WaitCursor {
 public:
  WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace tarvik::desktop
