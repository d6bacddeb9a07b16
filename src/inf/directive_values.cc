#include "inf/directive_values.h"

#include <cstdint>

#include "inf/section_effects.h"

namespace vantrel {

DestinationDir DestinationOf(const InfSource& inf, const std::wstring& list) {
  InfLine line;
  if ((!list.empty() && FindLine(inf, L"DestinationDirs", list, line)) ||
      FindLine(inf, L"DestinationDirs", L"DefaultDestDir", line)) {
    return DestinationDir{line.Field(1), line.Field(2), false};
  }
  // setupapi puts a file-list section without an entry into the system
  // folder.
  return DestinationDir{L"11", std::wstring(), true};
}

std::wstring AddRegTypeName(const std::wstring& flags) {
  const std::uint32_t value = InfNumber(flags);
  // FLG_ADDREG_BINVALUETYPE with the type in the high word.
  if ((value & 0x1) != 0) {
    switch (value >> 16) {
      case 0: return L"REG_BINARY";
      case 1: return L"REG_DWORD";
      case 2: return L"REG_NONE";
      case 3: return L"REG_BINARY";
      case 4: return L"REG_DWORD";
      case 5: return L"REG_DWORD_BIG_ENDIAN";
      case 7: return L"REG_MULTI_SZ";
      case 11: return L"REG_QWORD";
      default: return L"type " + std::to_wstring(value >> 16);
    }
  }
  switch (value & 0xFFFF0000) {
    case 0x00010000: return L"REG_MULTI_SZ";
    case 0x00020000: return L"REG_EXPAND_SZ";
    default: return L"REG_SZ";
  }
}

std::wstring ServiceStartName(const std::wstring& written) {
  static const wchar_t* const kNames[] = {L"boot", L"system", L"auto", L"demand", L"disabled"};
  if (written.empty()) return written;
  const std::uint32_t start = InfNumber(written);
  return start < 5 ? kNames[start] : written;
}

}  // namespace vantrel
