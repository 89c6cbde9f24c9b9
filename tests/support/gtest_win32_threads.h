// Force-included into GoogleTest and the tests of the Windows build. MinGW's "win32" thread
// model, which keeps linkvane.exe free of the pthreads emulation, has no std::mutex, and
// GoogleTest's Notification (used only by GoogleTest's own thread tests) needs one. This
// stand-in waits on an atomic flag instead.
#pragma once

#include <atomic>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
 public:
  Notification() : notified_(false) {}
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { notified_.store(true); }
  void WaitForNotification() {
    while (!notified_.load()) {
    }
  }

 private:
  std::atomic<bool> notified_;
};

}  // namespace testing::internal
