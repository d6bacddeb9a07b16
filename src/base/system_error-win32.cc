#include "base/system_error-win32.h"

#include "base/text.h"
#include "base/unique_handle-win32.h"

namespace vantrel {

std::string SystemErrorText(DWORD code) {
  LocalMemory text;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(text.put()), 0, nullptr);
  std::wstring wide =
      length == 0 ? std::wstring() : std::wstring(static_cast<const wchar_t*>(text.get()), length);
  while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r' || wide.back() == L' '))
    wide.pop_back();
  if (wide.empty()) return "error " + std::to_string(code);
  // UTF-8, so that any language of the system survives into the failure.
  return ToUtf8(wide);
}

PlatformFailure SystemFailure(const char* call, DWORD code) {
  return PlatformFailure(std::string(call) + ": " + SystemErrorText(code) + " (" +
                             std::to_string(code) + ")",
                         code);
}

void CheckStatus(const char* call, LONG status) {
  if (status != ERROR_SUCCESS) throw SystemFailure(call, static_cast<DWORD>(status));
}

bool Absent(LONG status) {
  return status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND;
}

}  // namespace vantrel
