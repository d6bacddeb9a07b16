#include "record/receipt_store-win32.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "base/file_sha256-win32.h"
#include "base/system_entry-win32.h"
#include "base/system_error-win32.h"
#include "base/system_folders-win32.h"
#include "base/unique_handle-win32.h"

namespace vantrel {

namespace {

SystemEntry<decltype(&::RegCreateKeyExW)> regCreateKeyEx(L"advapi32.dll", "RegCreateKeyExW");
SystemEntry<decltype(&::RegOpenKeyExW)> regOpenKeyEx(L"advapi32.dll", "RegOpenKeyExW");
SystemEntry<decltype(&::RegCloseKey)> regCloseKey(L"advapi32.dll", "RegCloseKey");
SystemEntry<decltype(&::RegQueryInfoKeyW)> regQueryInfoKey(L"advapi32.dll", "RegQueryInfoKeyW");
SystemEntry<decltype(&::RegEnumValueW)> regEnumValue(L"advapi32.dll", "RegEnumValueW");
SystemEntry<decltype(&::RegQueryValueExW)> regQueryValueEx(L"advapi32.dll", "RegQueryValueExW");
SystemEntry<decltype(&::RegSetValueExW)> regSetValueEx(L"advapi32.dll", "RegSetValueExW");
SystemEntry<decltype(&::RegDeleteValueW)> regDeleteValue(L"advapi32.dll", "RegDeleteValueW");
SystemEntry<decltype(&::RegDeleteTreeW)> regDeleteTree(L"advapi32.dll", "RegDeleteTreeW");
SystemEntry<decltype(&::RegDeleteKeyExW)> regDeleteKeyEx(L"advapi32.dll", "RegDeleteKeyExW");

using RegistryKey = UniqueBoundHandle<HKEY, regCloseKey>;

// On 64-bit Windows the 32-bit program would otherwise write below
// Wow6432Node, where no rule looks; on 32-bit Windows the flag is ignored.
constexpr REGSAM kNativeView = KEY_WOW64_64KEY;

std::wstring KeyPath(const std::wstring& infName) {
  return std::wstring(kReceiptsKey) + L"\\" + infName;
}

struct Value {
  std::wstring name;
  DWORD type = REG_SZ;
  std::vector<BYTE> data;
};

Value TextValue(const wchar_t* name, const std::wstring& text) {
  const BYTE* bytes = reinterpret_cast<const BYTE*>(text.c_str());
  return Value{name, REG_SZ, std::vector<BYTE>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t))};
}

// The receipt's text fields by the names of their values.
const std::pair<const wchar_t*, std::wstring Receipt::*> kTexts[] = {
    {kVersionValue, &Receipt::version},         {kDriverDateValue, &Receipt::driverDate},
    {kPackageSha256Value, &Receipt::packageSha256}, {kInfSha256Value, &Receipt::infSha256},
    {kPackageValue, &Receipt::package},         {kInstalledAtValue, &Receipt::installedAt},
    {kVantrelValue, &Receipt::vantrel}};

// The receipt's values, those with a text only.
std::vector<Value> ValuesOf(const Receipt& receipt) {
  std::vector<Value> values;
  for (const auto& text : kTexts) {
    const std::wstring& value = receipt.*text.second;
    if (!value.empty()) values.push_back(TextValue(text.first, value));
  }
  const BYTE* code = reinterpret_cast<const BYTE*>(&receipt.exitCode);
  values.push_back(Value{kExitCodeValue, REG_DWORD, std::vector<BYTE>(code, code + sizeof(DWORD))});
  return values;
}

std::vector<Value> ReadValues(HKEY key) {
  DWORD count = 0, longestName = 0, largestData = 0;
  CheckStatus("RegQueryInfoKeyW",
              regQueryInfoKey.get()(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                    &count, &longestName, &largestData, nullptr, nullptr));
  std::vector<Value> values;
  for (DWORD i = 0; i < count; ++i) {
    std::vector<wchar_t> name(longestName + 1);
    DWORD nameLength = longestName + 1, type = 0, bytes = largestData;
    std::vector<BYTE> data(largestData);
    CheckStatus("RegEnumValueW", regEnumValue.get()(key, i, name.data(), &nameLength, nullptr,
                                                    &type, data.data(), &bytes));
    data.resize(bytes);
    values.push_back(Value{std::wstring(name.data(), nameLength), type, data});
  }
  return values;
}

bool Holds(const std::vector<Value>& values, const std::wstring& name) {
  return std::any_of(values.begin(), values.end(), [&](const Value& value) {
    return _wcsicmp(value.name.c_str(), name.c_str()) == 0;
  });
}

// Makes the key hold exactly these values.
void SetValues(HKEY key, const std::vector<Value>& values, const std::vector<Value>& held) {
  for (const Value& value : values) {
    CheckStatus("RegSetValueExW",
                regSetValueEx.get()(key, value.name.c_str(), 0, value.type, value.data.data(),
                                    static_cast<DWORD>(value.data.size())));
  }
  for (const Value& value : held) {
    if (!Holds(values, value.name)) {
      CheckStatus("RegDeleteValueW", regDeleteValue.get()(key, value.name.c_str()));
    }
  }
}

std::wstring TextOf(HKEY key, const wchar_t* name) {
  DWORD type = 0;
  LSTATUS status = ERROR_SUCCESS;
  std::wstring text;
  const auto query = [&](BYTE* data, DWORD* bytes) {
    return regQueryValueEx.get()(key, name, nullptr, &type, data, bytes);
  };
  const bool read = AskRegistryText(query, status, text);
  if (Absent(status) || (read && type != REG_SZ)) return std::wstring();
  CheckStatus("RegQueryValueExW", status);
  return text.c_str();  // up to the first NUL, which the value may lack
}

}  // namespace

bool Win32ReceiptStore::ReadReceipt(const std::wstring& infName, Receipt& receipt) {
  RegistryKey key;
  const LSTATUS opened = regOpenKeyEx.get()(HKEY_LOCAL_MACHINE, KeyPath(infName).c_str(), 0,
                                            KEY_QUERY_VALUE | kNativeView, key.put());
  if (Absent(opened)) return false;
  CheckStatus("RegOpenKeyExW", opened);
  Receipt read;
  for (const auto& text : kTexts) read.*text.second = TextOf(key.get(), text.first);
  receipt = read;
  return true;
}

void Win32ReceiptStore::WriteReceipt(const std::wstring& infName, const Receipt& receipt) {
  RegistryKey key;
  DWORD disposition = 0;
  CheckStatus("RegCreateKeyExW", regCreateKeyEx.get()(HKEY_LOCAL_MACHINE, KeyPath(infName).c_str(),
                                                      0, nullptr, REG_OPTION_NON_VOLATILE,
                                                      KEY_QUERY_VALUE | KEY_SET_VALUE | kNativeView,
                                                      nullptr, key.put(), &disposition));
  // A registry has no transaction that Wine and every Windows share: what
  // the key held is kept aside and put back where a write fails half-way,
  // so a failed receipt never claims the new version.
  const std::vector<Value> before = ReadValues(key.get());
  const std::vector<Value> after = ValuesOf(receipt);
  try {
    SetValues(key.get(), after, before);
  } catch (const PlatformFailure&) {
    try {
      SetValues(key.get(), before, after);
      if (disposition == REG_CREATED_NEW_KEY) {
        key.reset();
        regDeleteKeyEx.get()(HKEY_LOCAL_MACHINE, KeyPath(infName).c_str(), kNativeView, 0);
      }
    } catch (const PlatformFailure&) {
      // The first failure is the one to report.
    }
    throw;
  }
}

bool Win32ReceiptStore::DeleteReceipt(const std::wstring& infName) {
  const std::wstring path = KeyPath(infName);
  {
    RegistryKey key;
    const LSTATUS opened = regOpenKeyEx.get()(HKEY_LOCAL_MACHINE, path.c_str(), 0,
                                              KEY_ALL_ACCESS | kNativeView, key.put());
    if (Absent(opened)) return false;
    CheckStatus("RegOpenKeyExW", opened);
    // Whatever someone added below it goes too.
    CheckStatus("RegDeleteTreeW", regDeleteTree.get()(key.get(), nullptr));
  }
  CheckStatus("RegDeleteKeyExW",
              regDeleteKeyEx.get()(HKEY_LOCAL_MACHINE, path.c_str(), kNativeView, 0));
  return true;
}

std::wstring Win32ReceiptStore::FileSha256(const std::wstring& path) {
  return vantrel::FileSha256(path);
}

UtcTime Win32ReceiptStore::UtcNow() {
  SYSTEMTIME now;
  GetSystemTime(&now);
  return UtcTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace vantrel
