// The install lock on Windows: a named mutex in the Global namespace, waited
// for with the thread's message queue serviced.
#pragma once

#include "platform/platform.h"
#include "run/install_lock.h"

namespace vantrel {

class Win32InstallLock : public InstallLock {
 public:
  explicit Win32InstallLock(Platform& platform) : platform_(platform) {}

  MutexHandle AcquireNamedMutex(const std::wstring& name) override;
  void ReleaseNamedMutex(MutexHandle mutex) override;

 private:
  Platform& platform_;
};

}  // namespace vantrel
