#include "base/registry-win32.h"

#include "base/growing_text.h"
#include "base/system_entry-win32.h"
#include "base/system_error-win32.h"
#include "base/text.h"

namespace vantrel {

namespace {

VANTREL_SYSTEM_ENTRY(regOpenKeyEx, L"advapi32.dll", RegOpenKeyExW);
VANTREL_SYSTEM_ENTRY(regCreateKeyEx, L"advapi32.dll", RegCreateKeyExW);
VANTREL_SYSTEM_ENTRY(regCloseKey, L"advapi32.dll", RegCloseKey);
VANTREL_SYSTEM_ENTRY(regQueryInfoKey, L"advapi32.dll", RegQueryInfoKeyW);
VANTREL_SYSTEM_ENTRY(regEnumValue, L"advapi32.dll", RegEnumValueW);
VANTREL_SYSTEM_ENTRY(regQueryValueEx, L"advapi32.dll", RegQueryValueExW);
VANTREL_SYSTEM_ENTRY(regSetValueEx, L"advapi32.dll", RegSetValueExW);
VANTREL_SYSTEM_ENTRY(regDeleteValue, L"advapi32.dll", RegDeleteValueW);
VANTREL_SYSTEM_ENTRY(regDeleteTree, L"advapi32.dll", RegDeleteTreeW);
VANTREL_SYSTEM_ENTRY(regDeleteKeyEx, L"advapi32.dll", RegDeleteKeyExW);

// A value's size goes in bytes, and the call answers ERROR_MORE_DATA with
// the size it needs: `query(data, &bytes)` returns the call's status, which
// `status` keeps. False where the last call did not succeed.
template <typename Query>
bool AskRegistryText(Query query, LSTATUS& status, std::wstring& text) {
  const auto ask = [&](wchar_t* buffer, std::size_t size) -> std::size_t {
    DWORD bytes = static_cast<DWORD>(size * sizeof(wchar_t));
    status = query(reinterpret_cast<BYTE*>(buffer), &bytes);
    // Room for the two closing NULs a value may lack.
    if (status == ERROR_MORE_DATA) return bytes / sizeof(wchar_t) + 2;
    return status == ERROR_SUCCESS ? bytes / sizeof(wchar_t) : kTextCallFailed;
  };
  if (AskGrowingText(ask, MAX_PATH, 9, text)) return true;
  // A value that kept growing under the calls.
  if (status == ERROR_SUCCESS) status = ERROR_MORE_DATA;
  return false;
}

// False where the call found nothing there; any other failure is thrown.
bool Found(const char* call, LSTATUS status) {
  if (Absent(status)) return false;
  CheckStatus(call, status);
  return true;
}

}  // namespace

void RegistryKeyCloser::operator()(HKEY key) const { regCloseKey.get()(key); }

HKEY RegistryRoot(const std::wstring& name) {
  if (name == L"HKLM") return HKEY_LOCAL_MACHINE;
  if (name == L"HKCR") return HKEY_CLASSES_ROOT;
  if (name == L"HKCU") return HKEY_CURRENT_USER;
  if (name == L"HKU") return HKEY_USERS;
  throw PlatformFailure("no registry root " + ToUtf8(name));
}

bool OpenRegistryKey(HKEY root, const std::wstring& path, REGSAM access, RegistryKey& key) {
  return Found("RegOpenKeyExW", regOpenKeyEx.get()(root, path.c_str(), 0, access, key.put()));
}

bool CreateRegistryKey(HKEY root, const std::wstring& path, REGSAM access, RegistryKey& key) {
  DWORD disposition = 0;
  CheckStatus("RegCreateKeyExW",
              regCreateKeyEx.get()(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                                   nullptr, key.put(), &disposition));
  return disposition == REG_CREATED_NEW_KEY;
}

bool RegistryValueExists(HKEY key, const wchar_t* name) {
  return Found("RegQueryValueExW",
               regQueryValueEx.get()(key, name, nullptr, nullptr, nullptr, nullptr));
}

bool ReadRegistryText(HKEY key, const wchar_t* name, std::wstring& text) {
  LSTATUS status = ERROR_SUCCESS;
  const auto query = [&](BYTE* data, DWORD* bytes) {
    return regQueryValueEx.get()(key, name, nullptr, nullptr, data, bytes);
  };
  // A failed ask never leaves ERROR_SUCCESS behind: Found throws or says absent.
  return AskRegistryText(query, status, text) || Found("RegQueryValueExW", status);
}

void SetRegistryValue(HKEY key, const RegistryValue& value) {
  CheckStatus("RegSetValueExW",
              regSetValueEx.get()(key, value.name.c_str(), 0, value.type, value.data.data(),
                                  static_cast<DWORD>(value.data.size())));
}

bool DeleteRegistryKey(HKEY root, const std::wstring& path, REGSAM view) {
  return Found("RegDeleteKeyExW", regDeleteKeyEx.get()(root, path.c_str(), view, 0));
}

bool DeleteRegistryTree(HKEY root, const std::wstring& path, REGSAM view) {
  {
    RegistryKey key;
    if (!OpenRegistryKey(root, path, KEY_ALL_ACCESS | view, key)) return false;
    CheckStatus("RegDeleteTreeW", regDeleteTree.get()(key.get(), nullptr));
  }
  CheckStatus("RegDeleteKeyExW", regDeleteKeyEx.get()(root, path.c_str(), view, 0));
  return true;
}

std::vector<RegistryValue> OpenKeyValues::ReadValues() {
  DWORD count = 0, longestName = 0, largestData = 0;
  CheckStatus("RegQueryInfoKeyW",
              regQueryInfoKey.get()(key_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                    &count, &longestName, &largestData, nullptr, nullptr));
  std::vector<RegistryValue> values;
  for (DWORD i = 0; i < count; ++i) {
    std::vector<wchar_t> name(longestName + 1);
    DWORD nameLength = longestName + 1, type = 0, bytes = largestData;
    std::vector<BYTE> data(largestData);
    CheckStatus("RegEnumValueW", regEnumValue.get()(key_, i, name.data(), &nameLength, nullptr,
                                                    &type, data.data(), &bytes));
    data.resize(bytes);
    values.push_back(RegistryValue{std::wstring(name.data(), nameLength), type, data});
  }
  return values;
}

void OpenKeyValues::DeleteValue(const std::wstring& name) {
  CheckStatus("RegDeleteValueW", regDeleteValue.get()(key_, name.c_str()));
}

}  // namespace vantrel
