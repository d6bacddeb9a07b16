// The system-wide lock that every program of the bundle holds while it
// changes the machine: an install and a removal never overlap, and two
// installs never share the fixed work folder.
#pragma once

#include <cstdint>
#include <string>

#include "base/unique_handle.h"

namespace vantrel {

constexpr wchar_t kInstallLockName[] = L"Global\\Vantrel.Install";

// Who may touch the lock: owned by the Administrators group (O:BA), full
// access for SYSTEM and the Administrators group and nothing for anyone else
// (a protected list, P: nothing inherited). Any user may make a mutex of
// that name in Global\ before the first run does; this one nobody else can
// open to hold it.
constexpr wchar_t kInstallLockAccess[] = L"O:BAD:P(A;;GA;;;SY)(A;;GA;;;BA)";

// How long a run waits for a lock that another run holds: long enough for
// one ordinary install or removal to finish, well short of the time limits
// of the deployment tools (a Group Policy script's 10 minutes the shortest),
// which then see 1618 and retry.
constexpr std::uint32_t kInstallLockWaitMilliseconds = 5 * 60 * 1000;

// An opaque handle of an owned named mutex; 0 means "none".
using MutexHandle = std::uintptr_t;

// The lock as this run found it, before waiting for it.
struct OpenedLock {
  MutexHandle mutex = 0;
  // Somebody made it before this run: an earlier run, or anybody else.
  bool existed = false;
  // Its owner (a SID as text, "S-1-5-32-544"), and whether that is SYSTEM
  // or the Administrators group: only their lock is a Vantrel run's.
  std::wstring owner;
  bool ownedByAdministrators = false;
};

class InstallLock {
 public:
  virtual ~InstallLock() = default;

  // Makes the named mutex with the access list given in SDDL, or opens the
  // one of that name that exists, and reads its owner. Throws
  // PlatformFailure when neither can be done.
  virtual OpenedLock OpenNamedMutex(const std::wstring& name, const std::wstring& access) = 0;
  // Waits, keeping the thread's message queue serviced, until this process
  // owns the mutex or the milliseconds have passed; true once it is owned
  // (also when its last owner died holding it). Throws PlatformFailure for
  // a wait that failed.
  virtual bool WaitForNamedMutex(MutexHandle mutex, std::uint32_t milliseconds) = 0;
  // Releases the mutex where this process owns it, and closes the handle.
  virtual void ReleaseNamedMutex(MutexHandle mutex) = 0;
};

using MutexCloser = GiveBackTo<InstallLock, MutexHandle, &InstallLock::ReleaseNamedMutex>;
using ScopedMutex = UniqueHandle<MutexHandle, MutexCloser>;

}  // namespace vantrel
