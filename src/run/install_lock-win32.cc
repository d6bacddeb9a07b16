#include "run/install_lock-win32.h"

#include <windows.h>

#include "base/system_error-win32.h"
#include "base/unique_handle-win32.h"

namespace vantrel {

MutexHandle Win32InstallLock::AcquireNamedMutex(const std::wstring& name) {
  UniqueKernelHandle mutex(CreateMutexW(nullptr, FALSE, name.c_str()));
  if (!mutex) throw SystemFailure("CreateMutexW");
  // Keeps the queue serviced while another run holds the mutex, so that a
  // broadcast sent to every top-level window does not hang on this one.
  for (;;) {
    HANDLE handles[] = {mutex.get()};
    const DWORD result = MsgWaitForMultipleObjects(1, handles, FALSE, INFINITE, QS_ALLINPUT);
    if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED_0) {
      // An abandoned mutex means the earlier run died mid-install; its
      // leftovers are cleared by the caller, so owning it is enough.
      return reinterpret_cast<MutexHandle>(mutex.release());
    }
    if (result != WAIT_OBJECT_0 + 1) throw SystemFailure("MsgWaitForMultipleObjects");
    platform_.PumpMessages();
  }
}

void Win32InstallLock::ReleaseNamedMutex(MutexHandle mutex) {
  UniqueKernelHandle owned(reinterpret_cast<HANDLE>(mutex));
  ReleaseMutex(owned.get());
}

}  // namespace vantrel
