// The closers of Win32 handles for the one owner template (unique_handle.h).
#pragma once

#include <windows.h>

#include "base/unique_handle.h"

namespace vantrel {

// Kernel calls report failure with null, the file search and setupapi's
// queue with INVALID_HANDLE_VALUE; neither is a handle to close.
struct Win32Closer {
  template <typename Handle>
  static bool Valid(Handle handle) {
    return handle != nullptr && handle != reinterpret_cast<Handle>(INVALID_HANDLE_VALUE);
  }
};
// A closing call the program imports.
template <auto Close>
struct ImportedCloser : Win32Closer {
  template <typename Handle>
  void operator()(Handle handle) const {
    Close(handle);
  }
};
// A closing call bound at run time (a SystemEntry of a library the program
// does not import).
template <auto& Close>
struct BoundCloser : Win32Closer {
  template <typename Handle>
  void operator()(Handle handle) const {
    Close.get()(handle);
  }
};

using UniqueKernelHandle = UniqueHandle<HANDLE, ImportedCloser<::CloseHandle>>;
using UniqueFindHandle = UniqueHandle<HANDLE, ImportedCloser<::FindClose>>;
// Memory the system hands out with LocalAlloc.
using LocalMemory = UniqueHandle<HLOCAL, ImportedCloser<::LocalFree>>;
template <typename Handle, auto& Close>
using UniqueBoundHandle = UniqueHandle<Handle, BoundCloser<Close>>;

}  // namespace vantrel
