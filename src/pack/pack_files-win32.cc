#include "pack/pack_machine-win32.h"

#include <windows.h>

#include "base/file_sha256-win32.h"
#include "base/system_error-win32.h"
#include "base/system_folders-win32.h"
#include "platform/folder_tree-win32.h"

namespace vantrel {

std::wstring Win32PackMachine::FullPath(const std::wstring& path) {
  return vantrel::FullPath(path);
}

bool Win32PackMachine::IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32PackMachine::IsFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void Win32PackMachine::CopyFileMakingFolders(const std::wstring& from, const std::wstring& to) {
  for (std::size_t slash = to.find(L'\\', 3); slash != std::wstring::npos;
       slash = to.find(L'\\', slash + 1)) {
    CreateDirectoryW(to.substr(0, slash).c_str(), nullptr);
  }
  if (!CopyFileW(from.c_str(), to.c_str(), TRUE)) throw SystemFailure("CopyFileW");
}

void Win32PackMachine::DeleteIfPresent(const std::wstring& path) {
  if (!DeleteFileW(path.c_str())) {
    const DWORD code = GetLastError();
    if (!Absent(static_cast<LONG>(code))) {
      throw SystemFailure("DeleteFileW for the old package", code);
    }
  }
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

std::vector<TreeItem> Win32PackMachine::ListTree(const std::wstring& folder) {
  return ListTreeAt(folder);
}

std::wstring Win32PackMachine::FileSha256(const std::wstring& path) {
  return vantrel::FileSha256(path);
}

}  // namespace vantrel
