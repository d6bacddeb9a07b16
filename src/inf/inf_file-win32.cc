#include "inf/inf_file-win32.h"

#include <setupapi.h>

#include <cstdio>

#include "base/text.h"
#include "base/system_entry-win32.h"
#include "base/system_error-win32.h"
#include "base/system_text-win32.h"

namespace vantrel {

namespace {

VANTREL_SYSTEM_ENTRY(openInfFile, L"setupapi.dll", SetupOpenInfFileW);
VANTREL_SYSTEM_ENTRY(closeInfFile, L"setupapi.dll", SetupCloseInfFile);
VANTREL_SYSTEM_ENTRY(getLineCount, L"setupapi.dll", SetupGetLineCountW);
VANTREL_SYSTEM_ENTRY(findFirstLine, L"setupapi.dll", SetupFindFirstLineW);
VANTREL_SYSTEM_ENTRY(findNextLine, L"setupapi.dll", SetupFindNextLine);
VANTREL_SYSTEM_ENTRY(getFieldCount, L"setupapi.dll", SetupGetFieldCount);
VANTREL_SYSTEM_ENTRY(getStringField, L"setupapi.dll", SetupGetStringFieldW);
VANTREL_SYSTEM_ENTRY(getTargetPath, L"setupapi.dll", SetupGetTargetPathW);

// Field 0 is the line's key; a line without "=" has none.
std::wstring Field(INFCONTEXT& line, DWORD index) {
  const auto fill = [&](wchar_t* buffer, DWORD size, DWORD* needed) {
    return getStringField.get()(&line, index, buffer, size, needed);
  };
  std::wstring text;
  if (!AskSetupText(fill, text) && index != 0) throw SystemFailure("SetupGetStringFieldW");
  return text;
}

// The INF parser's own error codes (0xE0000000 and up), which the system's
// message table does not know: their names from setupapi.h, or empty.
std::wstring InfParserErrorName(DWORD code) {
  switch (code) {
    case 0xE0000000: return L"ERROR_EXPECTED_SECTION_NAME";
    case 0xE0000001: return L"ERROR_BAD_SECTION_NAME_LINE";
    case 0xE0000002: return L"ERROR_SECTION_NAME_TOO_LONG";
    case 0xE0000003: return L"ERROR_GENERAL_SYNTAX";
    case 0xE0000100: return L"ERROR_WRONG_INF_STYLE";
    case 0xE0000101: return L"ERROR_SECTION_NOT_FOUND";
    case 0xE0000102: return L"ERROR_LINE_NOT_FOUND";
    default: return std::wstring();
  }
}

}  // namespace

InfFile::InfFile(const std::wstring& path) {
  UINT errorLine = 0;
  HINF inf = openInfFile.get()(path.c_str(), nullptr, INF_STYLE_WIN4, &errorLine);
  if (inf == INVALID_HANDLE_VALUE || inf == nullptr) {
    const DWORD code = GetLastError();
    const std::wstring name = InfParserErrorName(code);
    char number[16];
    std::snprintf(number, sizeof number, "0x%08lX", static_cast<unsigned long>(code));
    std::string what = "SetupOpenInfFileW: " +
                       (name.empty() ? SystemErrorText(code) : ToUtf8(name)) + " (" + number + ")";
    if (errorLine != 0) what += ", line " + std::to_string(errorLine);
    throw PlatformFailure(what, code);
  }
  inf_.reset(inf);
}

void InfCloser::operator()(HINF inf) const { closeInfFile.get()(inf); }

bool InfFile::HasSection(const std::wstring& section) const {
  return getLineCount.get()(inf_.get(), section.c_str()) >= 0;
}

std::vector<InfLine> InfFile::Lines(const std::wstring& section) const {
  std::vector<InfLine> lines;
  INFCONTEXT line = {};
  if (!findFirstLine.get()(inf_.get(), section.c_str(), nullptr, &line)) return lines;
  do {
    InfLine read;
    read.key = Field(line, 0);
    const DWORD count = getFieldCount.get()(&line);
    for (DWORD i = 1; i <= count; ++i) read.fields.push_back(Field(line, i));
    lines.push_back(read);
  } while (findNextLine.get()(&line, &line));
  return lines;
}

std::wstring InfFile::TargetFolder(const std::wstring& list) const {
  const wchar_t* section = list.empty() ? nullptr : list.c_str();
  const auto fill = [&](wchar_t* buffer, DWORD size, DWORD* needed) {
    return getTargetPath.get()(inf_.get(), nullptr, section, buffer, size, needed);
  };
  std::wstring folder;
  if (!AskSetupText(fill, folder)) throw SystemFailure("SetupGetTargetPathW");
  return folder;
}

}  // namespace vantrel
