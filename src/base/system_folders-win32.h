// The folders the system itself names, never taken from the environment.
#pragma once

#include <windows.h>

#include <string>

#include "base/system_error-win32.h"

namespace vantrel {

// What a system call writes into a buffer, asked again with a larger buffer
// while the call answers with the size it needs (its closing NUL included).
// `fill(buffer, size)` returns the length written, that size, or 0 for a
// failure, which is thrown as the failure of `call`.
template <typename Fill>
std::wstring AskSystemText(const char* call, Fill fill) {
  std::wstring text(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = fill(&text[0], static_cast<DWORD>(text.size()));
    if (n == 0) throw SystemFailure(call);
    const bool fits = n < text.size();
    text.resize(n);
    if (fits) return text;
  }
}

// GetSystemDirectoryW: where the system's own programs and libraries are.
std::wstring SystemDirectory();
// GetSystemWindowsDirectoryW: the Windows folder shared by every session.
std::wstring WindowsDirectory();
// GetModuleFileNameW: the full path of this program's executable, at any
// length.
std::wstring ProgramPath();

}  // namespace vantrel
