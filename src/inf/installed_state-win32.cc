#include "inf/installed_state-win32.h"

#include <windows.h>

#include "base/registry-win32.h"
#include "base/system_entry-win32.h"
#include "base/system_error-win32.h"
#include "base/text.h"
#include "base/unique_handle-win32.h"
#include "inf/inf_engine-win32.h"

namespace vantrel {

namespace {

VANTREL_SYSTEM_ENTRY(openSCManager, L"advapi32.dll", OpenSCManagerW);
VANTREL_SYSTEM_ENTRY(openService, L"advapi32.dll", OpenServiceW);
VANTREL_SYSTEM_ENTRY(closeServiceHandle, L"advapi32.dll", CloseServiceHandle);

const wchar_t kSessionManager[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";

using ServiceHandle = UniqueBoundHandle<SC_HANDLE, closeServiceHandle>;

}  // namespace

bool Win32InstalledState::ServiceExists(const std::wstring& name) {
  const ServiceHandle manager(openSCManager.get()(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (!manager) throw SystemFailure("OpenSCManagerW");
  const ServiceHandle service(openService.get()(manager.get(), name.c_str(), SERVICE_QUERY_STATUS));
  if (service) return true;
  const DWORD error = GetLastError();
  if (error == ERROR_SERVICE_DOES_NOT_EXIST) return false;
  throw SystemFailure("OpenServiceW", error);
}

bool Win32InstalledState::RegistryEntryExists(const RegistryEntry& entry) {
  const bool installerIs64Bit = kInstallerArchitecture == InfArchitecture::kAmd64;
  const bool sixtyFour = entry.view == RegistryView::k64Bit ||
                         (entry.view == RegistryView::kInstallers && installerIs64Bit);
  RegistryKey key;
  if (!OpenRegistryKey(RegistryRoot(entry.root), entry.key,
                       KEY_QUERY_VALUE | (sixtyFour ? KEY_WOW64_64KEY : KEY_WOW64_32KEY), key)) {
    return false;
  }
  return entry.keyOnly || RegistryValueExists(key.get(), entry.value.c_str());
}

std::vector<RestartRename> Win32InstalledState::PendingRestartRenames() {
  std::vector<RestartRename> renames;
  RegistryKey key;
  std::wstring text;
  if (!OpenRegistryKey(HKEY_LOCAL_MACHINE, kSessionManager, KEY_QUERY_VALUE, key) ||
      !ReadRegistryText(key.get(), L"PendingFileRenameOperations", text)) {
    return renames;
  }
  // Strings in pairs, from and to; an empty "to" deletes.
  const std::vector<std::wstring> strings = Split(text, L'\0');
  // The list ends at the first empty "from".
  for (std::size_t i = 0; i + 1 < strings.size() && !strings[i].empty(); i += 2) {
    renames.push_back(RestartRename{strings[i], strings[i + 1]});
  }
  return renames;
}

}  // namespace vantrel
