#include "record/receipt_store-win32.h"

#include <windows.h>

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

void Check(const char* call, LSTATUS status) {
  if (status != ERROR_SUCCESS) throw SystemFailure(call, static_cast<DWORD>(status));
}

bool Absent(LSTATUS status) {
  return status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND;
}

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

// The receipt's values, those with a text only.
std::vector<Value> ValuesOf(const Receipt& receipt) {
  std::vector<Value> values;
  const std::pair<const wchar_t*, const std::wstring*> texts[] = {
      {kVersionValue, &receipt.version},         {kDriverDateValue, &receipt.driverDate},
      {kPackageSha256Value, &receipt.packageSha256}, {kInfSha256Value, &receipt.infSha256},
      {kPackageValue, &receipt.package},         {kInstalledAtValue, &receipt.installedAt},
      {kVantrelValue, &receipt.vantrel}};
  for (const auto& text : texts) {
    if (!text.second->empty()) values.push_back(TextValue(text.first, *text.second));
  }
  const BYTE* code = reinterpret_cast<const BYTE*>(&receipt.exitCode);
  values.push_back(Value{kExitCodeValue, REG_DWORD, std::vector<BYTE>(code, code + sizeof(DWORD))});
  return values;
}

std::vector<Value> ReadValues(HKEY key) {
  DWORD count = 0, longestName = 0, largestData = 0;
  Check("RegQueryInfoKeyW", regQueryInfoKey.get()(key, nullptr, nullptr, nullptr, nullptr, nullptr,
                                                  nullptr, &count, &longestName, &largestData,
                                                  nullptr, nullptr));
  std::vector<Value> values;
  for (DWORD i = 0; i < count; ++i) {
    std::vector<wchar_t> name(longestName + 1);
    DWORD nameLength = longestName + 1, type = 0, bytes = largestData;
    std::vector<BYTE> data(largestData);
    Check("RegEnumValueW", regEnumValue.get()(key, i, name.data(), &nameLength, nullptr, &type,
                                              data.data(), &bytes));
    data.resize(bytes);
    values.push_back(Value{std::wstring(name.data(), nameLength), type, data});
  }
  return values;
}

bool Holds(const std::vector<Value>& values, const std::wstring& name) {
  for (const Value& value : values) {
    if (_wcsicmp(value.name.c_str(), name.c_str()) == 0) return true;
  }
  return false;
}

// Makes the key hold exactly these values.
void SetValues(HKEY key, const std::vector<Value>& values, const std::vector<Value>& held) {
  for (const Value& value : values) {
    Check("RegSetValueExW", regSetValueEx.get()(key, value.name.c_str(), 0, value.type,
                                                value.data.data(), static_cast<DWORD>(value.data.size())));
  }
  for (const Value& value : held) {
    if (!Holds(values, value.name)) {
      Check("RegDeleteValueW", regDeleteValue.get()(key, value.name.c_str()));
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
  Check("RegQueryValueExW", status);
  return text.c_str();  // up to the first NUL, which the value may lack
}

}  // namespace

bool Win32ReceiptStore::ReadReceipt(const std::wstring& infName, Receipt& receipt) {
  RegistryKey key;
  const LSTATUS opened = regOpenKeyEx.get()(HKEY_LOCAL_MACHINE, KeyPath(infName).c_str(), 0,
                                            KEY_QUERY_VALUE | kNativeView, key.put());
  if (Absent(opened)) return false;
  Check("RegOpenKeyExW", opened);
  Receipt read;
  read.version = TextOf(key.get(), kVersionValue);
  read.driverDate = TextOf(key.get(), kDriverDateValue);
  read.packageSha256 = TextOf(key.get(), kPackageSha256Value);
  read.infSha256 = TextOf(key.get(), kInfSha256Value);
  read.package = TextOf(key.get(), kPackageValue);
  read.installedAt = TextOf(key.get(), kInstalledAtValue);
  read.vantrel = TextOf(key.get(), kVantrelValue);
  receipt = read;
  return true;
}

void Win32ReceiptStore::WriteReceipt(const std::wstring& infName, const Receipt& receipt) {
  RegistryKey key;
  DWORD disposition = 0;
  Check("RegCreateKeyExW",
        regCreateKeyEx.get()(HKEY_LOCAL_MACHINE, KeyPath(infName).c_str(), 0, nullptr,
                             REG_OPTION_NON_VOLATILE, KEY_QUERY_VALUE | KEY_SET_VALUE | kNativeView,
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
    Check("RegOpenKeyExW", opened);
    // Whatever someone added below it goes too.
    Check("RegDeleteTreeW", regDeleteTree.get()(key.get(), nullptr));
  }
  Check("RegDeleteKeyExW", regDeleteKeyEx.get()(HKEY_LOCAL_MACHINE, path.c_str(), kNativeView, 0));
  return true;
}

std::wstring Win32ReceiptStore::FileSha256(const std::wstring& path) { return vantrel::FileSha256(path); }

UtcTime Win32ReceiptStore::UtcNow() {
  SYSTEMTIME now;
  GetSystemTime(&now);
  return UtcTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace vantrel
