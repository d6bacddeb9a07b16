#include "base/registry_values.h"

#include <algorithm>

#include "base/failure.h"
#include "base/text.h"

namespace vantrel {

namespace {

bool Holds(const std::vector<RegistryValue>& values, const std::wstring& name) {
  return std::any_of(values.begin(), values.end(),
                     [&](const RegistryValue& value) { return LowerAscii(value.name) == LowerAscii(name); });
}

void SetValues(RegistryValues& key, const std::vector<RegistryValue>& values,
               const std::vector<RegistryValue>& held) {
  for (const RegistryValue& value : values) key.SetValue(value);
  for (const RegistryValue& value : held) {
    if (!Holds(values, value.name)) key.DeleteValue(value.name);
  }
}

}  // namespace

RegistryValue TextValue(const std::wstring& name, const std::wstring& text) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.c_str());
  return RegistryValue{name, kRegistryText,
                       std::vector<std::uint8_t>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t))};
}

RegistryValue NumberValue(const std::wstring& name, std::uint32_t number) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(&number);
  return RegistryValue{name, kRegistryNumber, std::vector<std::uint8_t>(bytes, bytes + sizeof number)};
}

void ReplaceValues(RegistryValues& key, const std::vector<RegistryValue>& values,
                   const std::function<void()>& restored) {
  const std::vector<RegistryValue> before = key.ReadValues();
  try {
    SetValues(key, values, before);
  } catch (const PlatformFailure&) {
    try {
      SetValues(key, before, values);
      if (restored) restored();
    } catch (const PlatformFailure&) {
      // The first failure is the one to report.
    }
    throw;
  }
}

}  // namespace vantrel
