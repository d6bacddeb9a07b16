// The folders the system itself names, never taken from the environment.
#pragma once

#include <windows.h>

#include <string>

#include "base/growing_text.h"
#include "base/system_error-win32.h"

namespace vantrel {

// The text a Windows call writes into a buffer (base/growing_text.h), asked
// again with a larger buffer while the call answers with the size it needs
// (its closing NUL included) or fills the buffer whole. `fill(buffer, size)`
// returns the length written, that size, or 0 for a failure, which is thrown
// as the failure of `call`; so is a text past the longest path the system
// knows.
template <typename Fill>
std::wstring AskSystemText(const char* call, Fill fill) {
  std::wstring text;
  const auto ask = [&](wchar_t* buffer, std::size_t size) -> std::size_t {
    const DWORD n = fill(buffer, static_cast<DWORD>(size));
    return n == 0 ? kTextCallFailed : n;
  };
  // MAX_PATH doubled eight times passes the 32,767 characters of a path.
  if (!AskGrowingText(ask, MAX_PATH, 9, text)) throw SystemFailure(call);
  return text;
}

// The same for the calls that answer TRUE or FALSE and give the size they
// need, closing NUL included, through a pointer (setupapi's):
// `fill(buffer, size, &needed)`. False where the call failed.
template <typename Fill>
bool AskSetupText(Fill fill, std::wstring& text) {
  const auto ask = [&](wchar_t* buffer, std::size_t size) -> std::size_t {
    DWORD needed = 0;
    if (fill(buffer, static_cast<DWORD>(size), &needed)) return needed == 0 ? 0 : needed - 1;
    return GetLastError() == ERROR_INSUFFICIENT_BUFFER && needed > size ? needed : kTextCallFailed;
  };
  return AskGrowingText(ask, MAX_PATH, 9, text);
}

// The same for a registry value, whose size goes in bytes and which answers
// ERROR_MORE_DATA with the size it needs: `query(data, &bytes)` returns the
// call's status, which `status` keeps. False where the last call did not
// succeed. The text is the value's whole data, its closing NULs included
// where it has them.
template <typename Query>
bool AskRegistryText(Query query, LSTATUS& status, std::wstring& text) {
  const auto ask = [&](wchar_t* buffer, std::size_t size) -> std::size_t {
    DWORD bytes = static_cast<DWORD>(size * sizeof(wchar_t));
    status = query(reinterpret_cast<BYTE*>(buffer), &bytes);
    // Room for the two closing NULs a value may lack.
    if (status == ERROR_MORE_DATA) return bytes / sizeof(wchar_t) + 2;
    return status == ERROR_SUCCESS ? bytes / sizeof(wchar_t) : kTextCallFailed;
  };
  if (AskGrowingText(ask, MAX_PATH, 9, text)) return true;
  // A value that kept growing under the calls.
  if (status == ERROR_SUCCESS) status = ERROR_MORE_DATA;
  return false;
}

// GetSystemDirectoryW: where the system's own programs and libraries are.
std::wstring SystemDirectory();
// GetSystemWindowsDirectoryW: the Windows folder shared by every session.
std::wstring WindowsDirectory();
// GetModuleFileNameW: the full path of this program's executable, at any
// length.
std::wstring ProgramPath();

}  // namespace vantrel
