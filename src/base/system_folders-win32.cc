#include "base/system_folders-win32.h"

#include "base/system_text-win32.h"

namespace vantrel {

std::wstring SystemDirectory() { return AskSystemText("GetSystemDirectoryW", GetSystemDirectoryW); }

std::wstring WindowsDirectory() {
  return AskSystemText("GetSystemWindowsDirectoryW", GetSystemWindowsDirectoryW);
}

std::wstring ProgramPath() {
  // GetModuleFileNameW says nothing of the size it needs: it fills the
  // buffer whole and the helper doubles it.
  return AskSystemText("GetModuleFileNameW", [](wchar_t* buffer, DWORD size) {
    return GetModuleFileNameW(nullptr, buffer, size);
  });
}

}  // namespace vantrel
