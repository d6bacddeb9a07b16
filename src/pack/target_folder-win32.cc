#include "pack/target_folder-win32.h"

#include <setupapi.h>

#include "base/system_entry-win32.h"
#include "base/system_error-win32.h"

namespace vantrel {

namespace {
SystemEntry<decltype(&::SetupGetTargetPathW)> getTargetPath(L"setupapi.dll", "SetupGetTargetPathW");
}  // namespace

std::wstring TargetFolder(const InfFile& inf, const std::wstring& list) {
  const wchar_t* section = list.empty() ? nullptr : list.c_str();
  DWORD needed = 0;
  if (!getTargetPath.get()(inf.Handle(), nullptr, section, nullptr, 0, &needed) || needed == 0) {
    throw SystemFailure("SetupGetTargetPathW");
  }
  std::wstring folder(needed, L'\0');
  if (!getTargetPath.get()(inf.Handle(), nullptr, section, &folder[0], needed, &needed)) {
    throw SystemFailure("SetupGetTargetPathW");
  }
  folder.resize(folder.find(L'\0') == std::wstring::npos ? folder.size() : folder.find(L'\0'));
  return folder;
}

}  // namespace vantrel
