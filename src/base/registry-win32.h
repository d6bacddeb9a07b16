// The registry, through advapi32 bound at run time: keys owned by the one
// owner template, every failure thrown as PlatformFailure with the system's
// error code and text. The only place the programs call the registry.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "base/registry_values.h"
#include "base/unique_handle-win32.h"

namespace vantrel {

struct RegistryKeyCloser : Win32Closer {
  void operator()(HKEY key) const;
};
using RegistryKey = UniqueHandle<HKEY, RegistryKeyCloser>;

// "HKLM", "HKCR", "HKCU" or "HKU" as the root it names.
HKEY RegistryRoot(const std::wstring& name);

// RegOpenKeyExW; false where the key is not there.
bool OpenRegistryKey(HKEY root, const std::wstring& path, REGSAM access, RegistryKey& key);
// RegCreateKeyExW, a key that lasts; true where this call made it.
bool CreateRegistryKey(HKEY root, const std::wstring& path, REGSAM access, RegistryKey& key);

// RegQueryValueExW: whether the value is there.
bool RegistryValueExists(HKEY key, const wchar_t* name);
// The value's whole data as text, its closing NULs included where it has
// them; false where there is no such value.
bool ReadRegistryText(HKEY key, const wchar_t* name, std::wstring& text);
void SetRegistryValue(HKEY key, const RegistryValue& value);

// RegDeleteKeyExW of a key without subkeys; false where it was not there.
bool DeleteRegistryKey(HKEY root, const std::wstring& path, REGSAM view);
// The key with whatever is below it; false where it was not there.
bool DeleteRegistryTree(HKEY root, const std::wstring& path, REGSAM view);

// An open key's values (it needs KEY_QUERY_VALUE and KEY_SET_VALUE).
class OpenKeyValues : public RegistryValues {
 public:
  explicit OpenKeyValues(HKEY key) : key_(key) {}
  std::vector<RegistryValue> ReadValues() override;
  void SetValue(const RegistryValue& value) override { SetRegistryValue(key_, value); }
  void DeleteValue(const std::wstring& name) override;

 private:
  HKEY key_;
};

}  // namespace vantrel
