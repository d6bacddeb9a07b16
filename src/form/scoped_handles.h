// Owners of the handles the form holds: each is given back to the platform
// exactly once, by an explicit Close where the order matters, or by the
// destructor on any other way out.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace vantrel {

template <void (Platform::*Give)(std::uintptr_t)>
class ScopedPlatformHandle {
 public:
  explicit ScopedPlatformHandle(Platform& platform) : platform_(platform) {}
  ~ScopedPlatformHandle() { Close(); }
  ScopedPlatformHandle(const ScopedPlatformHandle&) = delete;
  ScopedPlatformHandle& operator=(const ScopedPlatformHandle&) = delete;

  void Reset(std::uintptr_t handle) {
    Close();
    handle_ = handle;
  }
  std::uintptr_t Get() const { return handle_; }
  void Close() {
    const std::uintptr_t handle = handle_;
    handle_ = 0;
    if (handle != 0) (platform_.*Give)(handle);
  }

 private:
  Platform& platform_;
  std::uintptr_t handle_ = 0;
};

using ScopedProcess = ScopedPlatformHandle<&Platform::CloseProcess>;
using ScopedMutex = ScopedPlatformHandle<&Platform::ReleaseNamedMutex>;

}  // namespace vantrel
