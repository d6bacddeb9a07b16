#include "base/system_error-win32.h"

namespace vantrel {

std::string ToUtf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) {
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &bytes[0], size,
                        nullptr, nullptr);
  }
  return bytes;
}

std::string SystemErrorText(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring wide = length == 0 ? std::wstring() : std::wstring(text, length);
  if (text != nullptr) LocalFree(text);
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

}  // namespace vantrel
