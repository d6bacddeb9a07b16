#include "base/system_folders-win32.h"

#include <vector>

#include "base/system_error-win32.h"

namespace vantrel {

std::wstring SystemDirectory() { return AskSystemText("GetSystemDirectoryW", GetSystemDirectoryW); }

std::wstring WindowsDirectory() {
  return AskSystemText("GetSystemWindowsDirectoryW", GetSystemWindowsDirectoryW);
}

std::wstring ProgramPath() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) throw SystemFailure("GetModuleFileNameW");
    if (n < path.size()) return std::wstring(path.data(), n);
    if (path.size() >= 32768) throw PlatformFailure("GetModuleFileNameW: program path too long");
    path.resize(path.size() * 2);
  }
}

}  // namespace vantrel
