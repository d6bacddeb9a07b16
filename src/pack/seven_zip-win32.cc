#include "pack/seven_zip-win32.h"

#include <windows.h>

#include "base/system_error-win32.h"
#include "base/unique_handle-win32.h"

namespace vantrel {

std::uint32_t RunSevenZip(const std::wstring& sevenZip, const std::wstring& folder,
                          const std::wstring& archive, const std::vector<std::wstring>& names) {
  // File names cannot hold quotes; "--" keeps a name that starts with "-"
  // from being read as a switch. Only errors are printed.
  std::wstring line = L"\"" + sevenZip + L"\" a -t7z -bd -bso0 -bsp0 -y -- \"" + archive + L"\"";
  for (const std::wstring& name : names) line += L" \"" + name + L"\"";
  std::vector<wchar_t> text(line.begin(), line.end());
  text.push_back(L'\0');
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(sevenZip.c_str(), text.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &info)) {
    throw SystemFailure("CreateProcessW for 7z.exe");
  }
  UniqueKernelHandle process(info.hProcess);
  UniqueKernelHandle thread(info.hThread);
  if (WaitForSingleObject(process.get(), INFINITE) != WAIT_OBJECT_0) {
    throw SystemFailure("WaitForSingleObject for 7z.exe");
  }
  DWORD code = 0;
  if (!GetExitCodeProcess(process.get(), &code)) throw SystemFailure("GetExitCodeProcess");
  return code;
}

}  // namespace vantrel
