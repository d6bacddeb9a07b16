#include "record/receipt.h"

#include <cwchar>

namespace vantrel {

std::wstring ReceiptKeyName(const std::wstring& infName) {
  return std::wstring(L"HKLM\\") + kReceiptsKey + L"\\" + infName;
}

std::wstring UtcTimeText(const UtcTime& time) {
  wchar_t text[32];
  std::swprintf(text, sizeof text / sizeof text[0], L"%04d-%02d-%02dT%02d:%02d:%02dZ", time.year,
                time.month, time.day, time.hour, time.minute, time.second);
  return text;
}

}  // namespace vantrel
