#include "record/receipt.h"

#include <cwchar>
#include <utility>

#include "base/text.h"

namespace vantrel {

namespace {

// The receipt's text fields by the names of their values.
const std::pair<const wchar_t*, std::wstring Receipt::*> kTexts[] = {
    {kVersionValue, &Receipt::version},         {kDriverDateValue, &Receipt::driverDate},
    {kPackageSha256Value, &Receipt::packageSha256}, {kInfSha256Value, &Receipt::infSha256},
    {kPackageValue, &Receipt::package},         {kInstalledAtValue, &Receipt::installedAt},
    {kVantrelValue, &Receipt::vantrel}};

}  // namespace

std::wstring ReceiptSubkey(const std::wstring& infName) {
  return L"SOFTWARE\\Vantrel\\Packages\\" + infName;
}

std::wstring ReceiptKeyName(const std::wstring& infName) {
  return L"HKLM\\" + ReceiptSubkey(infName);
}

std::wstring ReceiptKeyPath(const std::wstring& infName) {
  return std::wstring(kReceiptsHive) + L"\\" + ReceiptSubkey(infName);
}

std::vector<RegistryValue> ReceiptValues(const Receipt& receipt) {
  std::vector<RegistryValue> values;
  for (const auto& text : kTexts) {
    const std::wstring& value = receipt.*text.second;
    if (!value.empty()) values.push_back(TextValue(text.first, value));
  }
  values.push_back(NumberValue(kExitCodeValue, receipt.exitCode));
  return values;
}

Receipt ReceiptOf(const std::vector<RegistryValue>& values) {
  Receipt receipt;
  for (const RegistryValue& value : values) {
    if (value.type != kRegistryText) continue;
    for (const auto& text : kTexts) {
      if (LowerAscii(value.name) != LowerAscii(text.first)) continue;
      const std::wstring data(reinterpret_cast<const wchar_t*>(value.data.data()),
                              value.data.size() / sizeof(wchar_t));
      receipt.*text.second = data.c_str();  // up to the first NUL, which the value may lack
    }
  }
  return receipt;
}

std::wstring UtcTimeText(const UtcTime& time) {
  wchar_t text[32];
  std::swprintf(text, sizeof text / sizeof text[0], L"%04d-%02d-%02dT%02d:%02d:%02dZ", time.year,
                time.month, time.day, time.hour, time.minute, time.second);
  return text;
}

}  // namespace vantrel
