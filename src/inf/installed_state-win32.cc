#include "inf/installed_state-win32.h"

#include <windows.h>

#include "base/system_entry-win32.h"
#include "base/system_error-win32.h"
#include "base/system_folders-win32.h"
#include "base/text.h"
#include "base/unique_handle-win32.h"
#include "inf/inf_engine-win32.h"

namespace vantrel {

namespace {

SystemEntry<decltype(&::OpenSCManagerW)> openSCManager(L"advapi32.dll", "OpenSCManagerW");
SystemEntry<decltype(&::OpenServiceW)> openService(L"advapi32.dll", "OpenServiceW");
SystemEntry<decltype(&::CloseServiceHandle)> closeServiceHandle(L"advapi32.dll",
                                                                "CloseServiceHandle");
SystemEntry<decltype(&::RegOpenKeyExW)> regOpenKeyEx(L"advapi32.dll", "RegOpenKeyExW");
SystemEntry<decltype(&::RegQueryValueExW)> regQueryValueEx(L"advapi32.dll", "RegQueryValueExW");
SystemEntry<decltype(&::RegCloseKey)> regCloseKey(L"advapi32.dll", "RegCloseKey");

const wchar_t kSessionManager[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";

using ServiceHandle = UniqueBoundHandle<SC_HANDLE, closeServiceHandle>;
using RegistryKey = UniqueBoundHandle<HKEY, regCloseKey>;

HKEY RootKey(const std::wstring& root) {
  if (root == L"HKLM") return HKEY_LOCAL_MACHINE;
  if (root == L"HKCR") return HKEY_CLASSES_ROOT;
  if (root == L"HKCU") return HKEY_CURRENT_USER;
  if (root == L"HKU") return HKEY_USERS;
  throw PlatformFailure("no registry root " + ToUtf8(root));
}

// False where the key is not there.
bool OpenKey(HKEY root, const std::wstring& path, REGSAM access, RegistryKey& key) {
  const LSTATUS opened = regOpenKeyEx.get()(root, path.c_str(), 0, access, key.put());
  if (Absent(opened)) return false;
  CheckStatus("RegOpenKeyExW", opened);
  return true;
}

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
  if (!OpenKey(RootKey(entry.root), entry.key,
               KEY_QUERY_VALUE | (sixtyFour ? KEY_WOW64_64KEY : KEY_WOW64_32KEY), key)) {
    return false;
  }
  if (entry.keyOnly) return true;
  const LSTATUS queried =
      regQueryValueEx.get()(key.get(), entry.value.c_str(), nullptr, nullptr, nullptr, nullptr);
  if (Absent(queried)) return false;
  CheckStatus("RegQueryValueExW", queried);
  return true;
}

std::vector<RestartRename> Win32InstalledState::PendingRestartRenames() {
  std::vector<RestartRename> renames;
  RegistryKey key;
  if (!OpenKey(HKEY_LOCAL_MACHINE, kSessionManager, KEY_QUERY_VALUE, key)) return renames;
  std::wstring text;
  LSTATUS queried = ERROR_SUCCESS;
  const auto query = [&](BYTE* data, DWORD* bytes) {
    return regQueryValueEx.get()(key.get(), L"PendingFileRenameOperations", nullptr, nullptr, data,
                                 bytes);
  };
  if (!AskRegistryText(query, queried, text)) {
    if (Absent(queried)) return renames;
    throw SystemFailure("RegQueryValueExW", static_cast<DWORD>(queried));
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
