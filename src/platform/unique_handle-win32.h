// RAII owners of Win32 handles: each handle is closed exactly once, by the
// object that owns it, whichever way the code leaves.
#pragma once

#include <windows.h>

namespace vantrel {

template <BOOL(WINAPI* Close)(HANDLE)>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  HANDLE get() const { return handle_; }
  // Kernel calls report failure with null, the file search with
  // INVALID_HANDLE_VALUE; neither is a handle to close.
  explicit operator bool() const {
    return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE;
  }
  HANDLE release() {
    HANDLE handle = handle_;
    handle_ = nullptr;
    return handle;
  }
  void reset(HANDLE handle = nullptr) {
    if (static_cast<bool>(*this)) Close(handle_);
    handle_ = handle;
  }

 private:
  HANDLE handle_ = nullptr;
};

using UniqueKernelHandle = UniqueHandle<::CloseHandle>;
using UniqueFindHandle = UniqueHandle<::FindClose>;

// The same for the handles whose closing call is bound at run time (a
// SystemEntry of a library the program does not import), whatever type of
// handle that call takes.
template <typename Handle, auto& Close>
class UniqueBoundHandle {
 public:
  UniqueBoundHandle() = default;
  explicit UniqueBoundHandle(Handle handle) : handle_(handle) {}
  ~UniqueBoundHandle() { reset(); }
  UniqueBoundHandle(const UniqueBoundHandle&) = delete;
  UniqueBoundHandle& operator=(const UniqueBoundHandle&) = delete;

  Handle get() const { return handle_; }
  // For the calls that return the handle through a pointer.
  Handle* put() {
    reset();
    return &handle_;
  }
  explicit operator bool() const {
    return handle_ != nullptr && handle_ != reinterpret_cast<Handle>(INVALID_HANDLE_VALUE);
  }
  void reset(Handle handle = nullptr) {
    if (static_cast<bool>(*this)) Close.get()(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

}  // namespace vantrel
