// RAII owners of Win32 handles: each handle is closed exactly once, by the
// object that owns it, whichever way the code leaves. One template for every
// kind; what differs is the call that closes it.
#pragma once

#include <windows.h>

namespace vantrel {

template <typename Handle, typename Closer>
class UniqueOwnedHandle {
 public:
  UniqueOwnedHandle() = default;
  explicit UniqueOwnedHandle(Handle handle) : handle_(handle) {}
  ~UniqueOwnedHandle() { reset(); }
  UniqueOwnedHandle(const UniqueOwnedHandle&) = delete;
  UniqueOwnedHandle& operator=(const UniqueOwnedHandle&) = delete;

  Handle get() const { return handle_; }
  // For the calls that return the handle through a pointer.
  Handle* put() {
    reset();
    return &handle_;
  }
  // Kernel calls report failure with null, the file search and setupapi's
  // queue with INVALID_HANDLE_VALUE; neither is a handle to close.
  explicit operator bool() const {
    return handle_ != nullptr && handle_ != reinterpret_cast<Handle>(INVALID_HANDLE_VALUE);
  }
  Handle release() {
    Handle handle = handle_;
    handle_ = nullptr;
    return handle;
  }
  void reset(Handle handle = nullptr) {
    if (static_cast<bool>(*this)) Closer()(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

// A closing call the program imports.
template <BOOL(WINAPI* Close)(HANDLE)>
struct ImportedCloser {
  void operator()(HANDLE handle) const { Close(handle); }
};
// A closing call bound at run time (a SystemEntry of a library the program
// does not import).
template <auto& Close>
struct BoundCloser {
  template <typename Handle>
  void operator()(Handle handle) const {
    Close.get()(handle);
  }
};

using UniqueKernelHandle = UniqueOwnedHandle<HANDLE, ImportedCloser<::CloseHandle>>;
using UniqueFindHandle = UniqueOwnedHandle<HANDLE, ImportedCloser<::FindClose>>;
template <typename Handle, auto& Close>
using UniqueBoundHandle = UniqueOwnedHandle<Handle, BoundCloser<Close>>;

}  // namespace vantrel
