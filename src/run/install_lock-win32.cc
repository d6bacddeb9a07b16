#include "run/install_lock-win32.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include "base/security_descriptor-win32.h"
#include "base/system_entry-win32.h"
#include "base/system_error-win32.h"
#include "base/unique_handle-win32.h"

namespace vantrel {

namespace {

VANTREL_SYSTEM_ENTRY(getSecurityInfo, L"advapi32.dll", GetSecurityInfo);
VANTREL_SYSTEM_ENTRY(convertSidToStringSid, L"advapi32.dll", ConvertSidToStringSidW);
VANTREL_SYSTEM_ENTRY(isWellKnownSid, L"advapi32.dll", IsWellKnownSid);

// The owner of the mutex, as text, and whether it is SYSTEM or the
// Administrators group.
void ReadOwner(HANDLE mutex, OpenedLock& lock) {
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  const DWORD read = getSecurityInfo.get()(mutex, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION,
                                           &owner, nullptr, nullptr, nullptr, &descriptor);
  CheckStatus("GetSecurityInfo for the install lock", static_cast<LONG>(read));
  LocalMemory ownedDescriptor(descriptor);
  if (owner == nullptr) {
    lock.owner = L"(no owner)";
    return;
  }
  wchar_t* text = nullptr;
  if (convertSidToStringSid.get()(owner, &text)) {
    LocalMemory ownedText(text);
    lock.owner = text;
  }
  lock.ownedByAdministrators = isWellKnownSid.get()(owner, WinLocalSystemSid) ||
                               isWellKnownSid.get()(owner, WinBuiltinAdministratorsSid);
}

}  // namespace

OpenedLock Win32InstallLock::OpenNamedMutex(const std::wstring& name, const std::wstring& access) {
  SecurityFromSddl security(access.c_str());
  // A mutex that exists keeps its own access list and owner; the handle is
  // to it, with GetLastError saying so.
  UniqueKernelHandle mutex(CreateMutexW(security.Attributes(), FALSE, name.c_str()));
  if (!mutex) throw SystemFailure("CreateMutexW");
  OpenedLock lock;
  lock.existed = GetLastError() == ERROR_ALREADY_EXISTS;
  ReadOwner(mutex.get(), lock);
  lock.mutex = reinterpret_cast<MutexHandle>(mutex.release());
  return lock;
}

bool Win32InstallLock::WaitForNamedMutex(MutexHandle mutex, std::uint32_t milliseconds) {
  HANDLE handles[] = {reinterpret_cast<HANDLE>(mutex)};
  const ULONGLONG deadline = GetTickCount64() + milliseconds;
  // Keeps the queue serviced while another run holds the mutex, so that a
  // broadcast sent to every top-level window does not hang on this one.
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
    const DWORD result = MsgWaitForMultipleObjects(1, handles, FALSE, left, QS_ALLINPUT);
    // An abandoned mutex means the earlier run died mid-install; its
    // leftovers are cleared by the caller, so owning it is enough.
    if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED_0) return true;
    if (result == WAIT_TIMEOUT) return false;
    if (result != WAIT_OBJECT_0 + 1) throw SystemFailure("MsgWaitForMultipleObjects");
    platform_.PumpMessages();
    if (left == 0) return false;
  }
}

void Win32InstallLock::ReleaseNamedMutex(MutexHandle mutex) {
  UniqueKernelHandle owned(reinterpret_cast<HANDLE>(mutex));
  // Fails harmlessly where this process never came to own it.
  ReleaseMutex(owned.get());
}

}  // namespace vantrel
