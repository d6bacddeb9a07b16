#include "inf/driver_version.h"

#include <cstdint>
#include <vector>

#include "base/text.h"

namespace vantrel {

namespace {

constexpr std::size_t kMostVersionParts = 4;
constexpr std::uint32_t kLargestVersionPart = 65535;

// The value of a decimal part, or more than `largest` where it is larger
// (however many digits it has).
std::uint32_t DecimalValue(const std::wstring& digits, std::uint32_t largest) {
  std::uint32_t value = 0;
  for (const wchar_t c : digits) {
    value = value * 10 + static_cast<std::uint32_t>(c - L'0');
    if (value > largest) return largest + 1;
  }
  return value;
}

// The parts of a usable version, or why it is not one.
bool VersionParts(const std::wstring& text, std::vector<std::uint32_t>& values, std::wstring& why) {
  const std::wstring quoted = L"\"" + text + L"\"";
  const std::vector<std::wstring> parts = Split(text, L'.');
  if (parts.size() > kMostVersionParts) {
    why = L"DriverVer's version " + quoted + L" has " + std::to_wstring(parts.size()) +
          L" parts; Windows compares at most " + std::to_wstring(kMostVersionParts);
    return false;
  }
  values.clear();
  for (const std::wstring& part : parts) {
    // The parser drops blanks around a field only; those around a part go here.
    const std::wstring digits = TrimBlanks(part);
    if (!AllDigits(digits)) {
      why = L"DriverVer's version " + quoted + L": part \"" + part + L"\" is not a decimal number" +
            (text.find(L'%') != std::wstring::npos ? L" (a string token the INF does not define?)"
                                                   : L"");
      return false;
    }
    const std::uint32_t value = DecimalValue(digits, kLargestVersionPart);
    if (value > kLargestVersionPart) {
      why = L"DriverVer's version " + quoted + L": part " + digits + L" is above " +
            std::to_wstring(kLargestVersionPart);
      return false;
    }
    values.push_back(value);
  }
  return true;
}

std::wstring TwoDigits(std::uint32_t value) {
  return (value < 10 ? L"0" : L"") + std::to_wstring(value);
}

// "yyyy-mm-dd" for a valid mm/dd/yyyy date, else empty.
std::wstring IsoDate(const std::wstring& text) {
  const std::vector<std::wstring> parts = Split(text, L'/');
  if (parts.size() != 3 || parts[0].size() > 2 || parts[1].size() > 2 || parts[2].size() != 4 ||
      !AllDigits(parts[0]) || !AllDigits(parts[1]) || !AllDigits(parts[2])) {
    return std::wstring();
  }
  const std::uint32_t month = DecimalValue(parts[0], 99), day = DecimalValue(parts[1], 99),
                      year = DecimalValue(parts[2], 9999);
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  const std::uint32_t daysIn[] = {31, leap ? 29u : 28u, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year == 0 || month < 1 || month > 12 || day < 1 || day > daysIn[month - 1]) {
    return std::wstring();
  }
  return parts[2] + L"-" + TwoDigits(month) + L"-" + TwoDigits(day);
}

}  // namespace

DriverVer ReadDriverVer(const InfSource& inf) {
  DriverVer read;
  InfLine line;
  // The engine takes the first line of that name.
  if (!FindLine(inf, L"Version", L"DriverVer", line)) {
    read.whyNoDate = read.whyNoVersion = L"the INF's [Version] section has no DriverVer";
    return read;
  }
  read.written = Join(line.fields, L",");
  const std::wstring date = TrimBlanks(line.Field(1));
  const std::wstring version = TrimBlanks(line.Field(2));
  read.date = IsoDate(date);
  if (read.date.empty()) {
    read.whyNoDate = L"DriverVer's date \"" + date + L"\" is not a valid mm/dd/yyyy date";
  }
  std::vector<std::uint32_t> values;
  if (version.empty()) {
    read.whyNoVersion = line.fields.size() < 2 && date.find(L'.') != std::wstring::npos
                            ? L"DriverVer has no comma: \"" + date +
                                  L"\" stands where the date goes, and no version follows"
                            : L"DriverVer gives no version after its date";
  } else if (VersionParts(version, values, read.whyNoVersion)) {
    // Always four parts, a missing one 0 as the engine reads it: "5" is
    // 5.0.0.0, and a rule or script that parses versions (PowerShell's
    // [version] takes two to four parts) reads it as Windows does.
    values.resize(kMostVersionParts);
    for (const std::uint32_t value : values) {
      read.version += (read.version.empty() ? L"" : L".") + std::to_wstring(value);
    }
  }
  return read;
}

int CompareVersions(const std::wstring& a, const std::wstring& b) {
  std::vector<std::uint32_t> left, right;
  std::wstring unused;
  VersionParts(a, left, unused);
  VersionParts(b, right, unused);
  left.resize(kMostVersionParts);
  right.resize(kMostVersionParts);
  for (std::size_t i = 0; i < kMostVersionParts; ++i) {
    if (left[i] != right[i]) return left[i] < right[i] ? -1 : 1;
  }
  return 0;
}

}  // namespace vantrel
