// Owners of the two kinds of handle the form holds: each is given back to the
// platform exactly once, by an explicit Close where the order matters, or by
// the destructor on any other way out.
#pragma once

#include "platform/platform.h"

namespace vantrel {

class ScopedProcess {
 public:
  explicit ScopedProcess(Platform& platform) : platform_(platform) {}
  ~ScopedProcess() { Close(); }
  ScopedProcess(const ScopedProcess&) = delete;
  ScopedProcess& operator=(const ScopedProcess&) = delete;

  void Reset(ProcessHandle handle) {
    Close();
    handle_ = handle;
  }
  ProcessHandle Get() const { return handle_; }
  void Close() {
    const ProcessHandle handle = handle_;
    handle_ = 0;
    if (handle != 0) platform_.CloseProcess(handle);
  }

 private:
  Platform& platform_;
  ProcessHandle handle_ = 0;
};

class ScopedMutex {
 public:
  explicit ScopedMutex(Platform& platform) : platform_(platform) {}
  ~ScopedMutex() { Release(); }
  ScopedMutex(const ScopedMutex&) = delete;
  ScopedMutex& operator=(const ScopedMutex&) = delete;

  void Reset(MutexHandle handle) {
    Release();
    handle_ = handle;
  }
  void Release() {
    const MutexHandle handle = handle_;
    handle_ = 0;
    if (handle != 0) platform_.ReleaseNamedMutex(handle);
  }

 private:
  Platform& platform_;
  MutexHandle handle_ = 0;
};

}  // namespace vantrel
