#include "base/system_folders-win32.h"

#include <windows.h>

#include <vector>

#include "base/system_error-win32.h"

namespace vantrel {

namespace {
// Both calls report the size they need, terminating NUL included, when the
// buffer is too small.
template <UINT(WINAPI* Query)(LPWSTR, UINT)>
std::wstring AskFolder(const char* call) {
  std::wstring folder(MAX_PATH, L'\0');
  for (;;) {
    const UINT n = Query(&folder[0], static_cast<UINT>(folder.size()));
    if (n == 0) throw SystemFailure(call);
    if (n < folder.size()) {
      folder.resize(n);
      return folder;
    }
    folder.resize(n);
  }
}
}  // namespace

std::wstring SystemDirectory() { return AskFolder<GetSystemDirectoryW>("GetSystemDirectoryW"); }

std::wstring WindowsDirectory() {
  return AskFolder<GetSystemWindowsDirectoryW>("GetSystemWindowsDirectoryW");
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
