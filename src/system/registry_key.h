#pragma once

#include "platform/platform.h"

namespace linkvane {

// Owns an open registry key and closes it when it goes out of scope.
class UniqueRegistryKey {
 public:
  UniqueRegistryKey(Platform& platform, RegistryKey key) : platform_(&platform), key_(key) {}
  ~UniqueRegistryKey() {
    if (key_ != 0) platform_->CloseRegistryKey(key_);
  }
  UniqueRegistryKey(UniqueRegistryKey&& other) noexcept
      : platform_(other.platform_), key_(other.key_) {
    other.key_ = 0;
  }
  UniqueRegistryKey& operator=(UniqueRegistryKey&&) = delete;
  UniqueRegistryKey(const UniqueRegistryKey&) = delete;
  UniqueRegistryKey& operator=(const UniqueRegistryKey&) = delete;

  // The key, for the platform's queries.
  RegistryKey get() const { return key_; }

 private:
  Platform* platform_;
  RegistryKey key_;
};

}  // namespace linkvane
