#include "pack/pack_machine-win32.h"

#include <windows.h>

#include "base/system_error-win32.h"
#include "base/system_text-win32.h"

namespace vantrel {

void Win32PackMachine::CopyFileMakingFolders(const std::wstring& from, const std::wstring& to) {
  for (std::size_t slash = to.find(L'\\', 3); slash != std::wstring::npos;
       slash = to.find(L'\\', slash + 1)) {
    CreateDirectoryW(to.substr(0, slash).c_str(), nullptr);
  }
  if (!CopyFileW(from.c_str(), to.c_str(), TRUE)) throw SystemFailure("CopyFileW");
}

std::wstring Win32PackMachine::MakeStageFolder() {
  const std::wstring temp = AskSystemText(
      "GetTempPathW", [](wchar_t* buffer, DWORD size) { return GetTempPathW(size, buffer); });
  // The process id and the tick count keep two runs apart; a name taken
  // already is tried again with the next tick.
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::wstring candidate = temp + L"vantrel-pack-" +
                                   std::to_wstring(GetCurrentProcessId()) + L"-" +
                                   std::to_wstring(GetTickCount() + attempt);
    if (CreateDirectoryW(candidate.c_str(), nullptr)) return candidate;
    if (GetLastError() != ERROR_ALREADY_EXISTS) throw SystemFailure("CreateDirectoryW");
  }
  throw SystemFailure("CreateDirectoryW", ERROR_ALREADY_EXISTS);
}

}  // namespace vantrel
