// The install lock on Windows: a named mutex in the Global namespace with an
// access list of its own, waited for with the thread's message queue
// serviced.
#pragma once

#include "platform/platform.h"
#include "run/install_lock.h"

namespace vantrel {

class Win32InstallLock : public InstallLock {
 public:
  explicit Win32InstallLock(Platform& platform) : platform_(platform) {}

  OpenedLock OpenNamedMutex(const std::wstring& name, const std::wstring& access) override;
  bool WaitForNamedMutex(MutexHandle mutex, std::uint32_t milliseconds) override;
  void ReleaseNamedMutex(MutexHandle mutex) override;

 private:
  Platform& platform_;
};

}  // namespace vantrel
