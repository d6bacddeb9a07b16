// The closers of Win32 handles for the one owner template (unique_handle.h).
#pragma once

#include <windows.h>

#include "base/unique_handle.h"

namespace vantrel {

// Kernel calls report failure with null, the file search and setupapi's
// queue with INVALID_HANDLE_VALUE; neither is a handle to close.
template <typename Handle>
bool IsWin32Handle(Handle handle) {
  return handle != nullptr && handle != reinterpret_cast<Handle>(INVALID_HANDLE_VALUE);
}

// A closing call the program imports.
template <BOOL(WINAPI* Close)(HANDLE)>
struct ImportedCloser {
  static bool Valid(HANDLE handle) { return IsWin32Handle(handle); }
  void operator()(HANDLE handle) const { Close(handle); }
};
// A closing call bound at run time (a SystemEntry of a library the program
// does not import).
template <auto& Close>
struct BoundCloser {
  template <typename Handle>
  static bool Valid(Handle handle) {
    return IsWin32Handle(handle);
  }
  template <typename Handle>
  void operator()(Handle handle) const {
    Close.get()(handle);
  }
};

using UniqueKernelHandle = UniqueHandle<HANDLE, ImportedCloser<::CloseHandle>>;
using UniqueFindHandle = UniqueHandle<HANDLE, ImportedCloser<::FindClose>>;
template <typename Handle, auto& Close>
using UniqueBoundHandle = UniqueHandle<Handle, BoundCloser<Close>>;

}  // namespace vantrel
