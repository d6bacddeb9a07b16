// An entry point of a system library, bound by library and entry name on its
// first call and kept for later calls. The library is loaded from the system
// folder by full path, so a DLL of the same name planted beside the program
// or in the current folder is never picked up. An entry that cannot be bound
// raises PlatformFailure in the calling statement.
#pragma once

#include <windows.h>

#include <string>

#include "base/failure.h"

namespace vantrel {

void* BindSystemEntry(const wchar_t* library, const char* entry);

template <typename Function>
class SystemEntry {
 public:
  SystemEntry(const wchar_t* library, const char* entry)
      : library_(library), entry_(entry) {}

  Function get() {
    if (function_ == nullptr) {
      function_ = reinterpret_cast<Function>(BindSystemEntry(library_, entry_));
    }
    return function_;
  }

 private:
  const wchar_t* library_;
  const char* entry_;
  Function function_ = nullptr;
};

}  // namespace vantrel

// Declares `variable`, the entry `entry` of `library`: its type comes from
// the system's header and its name from the same token, so the two cannot
// drift apart.
#define VANTREL_SYSTEM_ENTRY(variable, library, entry) \
  ::vantrel::SystemEntry<decltype(&::entry)> variable(library, #entry)
