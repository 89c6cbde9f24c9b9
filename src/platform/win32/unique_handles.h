#pragma once

// Owners of the Win32 handles the platform layer opens: each releases its handle when it goes
// out of scope, so no path through the code can leak one.

#include <windows.h>

namespace linkvane::win32 {

// A kernel handle closed with CloseHandle; INVALID_HANDLE_VALUE and null are no handle.
class UniqueHandle {
 public:
  explicit UniqueHandle(HANDLE handle = nullptr) noexcept : handle_(handle) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  HANDLE get() const noexcept { return handle_; }
  bool valid() const noexcept { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  HANDLE release() noexcept {
    HANDLE handle = handle_;
    handle_ = nullptr;
    return handle;
  }
  void reset(HANDLE handle = nullptr) noexcept {
    if (valid()) ::CloseHandle(handle_);
    handle_ = handle;
  }

 private:
  HANDLE handle_;
};

// The two handles CreateProcessW returns, both closed; the process itself runs on.
class UniqueProcessInformation {
 public:
  UniqueProcessInformation() noexcept : info_{} {}
  ~UniqueProcessInformation() {
    UniqueHandle thread(info_.hThread);
    UniqueHandle process(info_.hProcess);
  }
  UniqueProcessInformation(const UniqueProcessInformation&) = delete;
  UniqueProcessInformation& operator=(const UniqueProcessInformation&) = delete;

  PROCESS_INFORMATION* addressof() noexcept { return &info_; }
  const PROCESS_INFORMATION& get() const noexcept { return info_; }

 private:
  PROCESS_INFORMATION info_;
};

}  // namespace linkvane::win32
