// The values of one registry key as data, and the one way they are replaced:
// a registry has no transaction that Wine and every Windows share, so what
// the key held is kept aside and put back where a write fails half-way.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vantrel {

// The registry's own type numbers.
constexpr std::uint32_t kRegistryText = 1;    // REG_SZ
constexpr std::uint32_t kRegistryNumber = 4;  // REG_DWORD

struct RegistryValue {
  std::wstring name;
  std::uint32_t type = kRegistryText;
  std::vector<std::uint8_t> data;
};

// A text value with its closing NUL, as the registry keeps it.
RegistryValue TextValue(const std::wstring& name, const std::wstring& text);
RegistryValue NumberValue(const std::wstring& name, std::uint32_t number);

// One open key's values. Each call throws PlatformFailure, with the
// system's error, where the system cannot do it.
class RegistryValues {
 public:
  virtual ~RegistryValues() = default;
  virtual std::vector<RegistryValue> ReadValues() = 0;
  virtual void SetValue(const RegistryValue& value) = 0;
  virtual void DeleteValue(const std::wstring& name) = 0;
};

// Makes the key hold exactly these values (names compared as the registry
// compares them, without case). Where that fails, what the key held is put
// back, `restored` is called once it is, and the first failure is thrown.
void ReplaceValues(RegistryValues& key, const std::vector<RegistryValue>& values,
                   const std::function<void()>& restored = nullptr);

}  // namespace vantrel
