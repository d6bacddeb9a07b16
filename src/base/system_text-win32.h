// Text a Windows call writes into the caller's buffer, asked again with a
// larger one while the call wants more: the conventions of the kernel's
// calls and of setupapi's. The registry's are in registry-win32.cc.
#pragma once

#include <windows.h>

#include <string>

#include "base/growing_text.h"
#include "base/system_error-win32.h"

namespace vantrel {

// The call answers with the size it needs (its closing NUL included) or
// fills the buffer whole. `fill(buffer, size)` returns the length written,
// that size, or 0 for a failure, which is thrown as the failure of `call`;
// so is a text past the longest path the system knows.
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

// The calls that answer TRUE or FALSE and give the size they need, closing
// NUL included, through a pointer (setupapi's): `fill(buffer, size,
// &needed)`. False where the call failed.
template <typename Fill>
bool AskSetupText(Fill fill, std::wstring& text) {
  const auto ask = [&](wchar_t* buffer, std::size_t size) -> std::size_t {
    DWORD needed = 0;
    if (fill(buffer, static_cast<DWORD>(size), &needed)) return needed == 0 ? 0 : needed - 1;
    return GetLastError() == ERROR_INSUFFICIENT_BUFFER && needed > size ? needed : kTextCallFailed;
  };
  return AskGrowingText(ask, MAX_PATH, 9, text);
}

}  // namespace vantrel
