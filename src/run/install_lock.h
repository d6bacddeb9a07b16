// The system-wide lock that every program of the bundle holds while it
// changes the machine: an install and a removal never overlap, and two
// installs never share the fixed work folder.
#pragma once

#include <cstdint>
#include <string>

#include "base/unique_handle.h"

namespace vantrel {

constexpr wchar_t kInstallLockName[] = L"Global\\Vantrel.Install";

// An opaque handle of an owned named mutex; 0 means "none".
using MutexHandle = std::uintptr_t;

class InstallLock {
 public:
  virtual ~InstallLock() = default;

  // Waits until this process owns the system-wide mutex of that name, and
  // returns its handle. Throws PlatformFailure when it cannot be had.
  virtual MutexHandle AcquireNamedMutex(const std::wstring& name) = 0;
  virtual void ReleaseNamedMutex(MutexHandle mutex) = 0;
};

using MutexCloser = GiveBackTo<InstallLock, MutexHandle, &InstallLock::ReleaseNamedMutex>;
using ScopedMutex = UniqueHandle<MutexHandle, MutexCloser>;

}  // namespace vantrel
