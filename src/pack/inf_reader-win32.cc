#include "pack/inf_reader-win32.h"

#include <windows.h>
#include <setupapi.h>

#include <cwchar>

#include "pack/console_text-win32.h"
#include "platform/system_entry-win32.h"
#include "platform/system_error-win32.h"

namespace vantrel {

namespace {

SystemEntry<decltype(&::SetupOpenInfFileW)> openInfFile(L"setupapi.dll", "SetupOpenInfFileW");
SystemEntry<decltype(&::SetupCloseInfFile)> closeInfFile(L"setupapi.dll", "SetupCloseInfFile");
SystemEntry<decltype(&::SetupGetLineCountW)> getLineCount(L"setupapi.dll", "SetupGetLineCountW");
SystemEntry<decltype(&::SetupFindFirstLineW)> findFirstLine(L"setupapi.dll", "SetupFindFirstLineW");
SystemEntry<decltype(&::SetupFindNextLine)> findNextLine(L"setupapi.dll", "SetupFindNextLine");
SystemEntry<decltype(&::SetupFindNextMatchLineW)> findNextMatchLine(L"setupapi.dll",
                                                                     "SetupFindNextMatchLineW");
SystemEntry<decltype(&::SetupGetFieldCount)> getFieldCount(L"setupapi.dll", "SetupGetFieldCount");
SystemEntry<decltype(&::SetupGetStringFieldW)> getStringField(L"setupapi.dll",
                                                               "SetupGetStringFieldW");

class InfHandle {
 public:
  explicit InfHandle(HINF inf) : inf_(inf) {}
  ~InfHandle() {
    if (valid()) closeInfFile.get()(inf_);
  }
  InfHandle(const InfHandle&) = delete;
  InfHandle& operator=(const InfHandle&) = delete;
  bool valid() const { return inf_ != INVALID_HANDLE_VALUE && inf_ != nullptr; }
  HINF get() const { return inf_; }

 private:
  HINF inf_;
};

// Field 0 is the line's key; a field the line does not have is empty.
std::wstring Field(INFCONTEXT& line, DWORD index) {
  if (index > getFieldCount.get()(&line)) return std::wstring();
  DWORD needed = 0;
  if (!getStringField.get()(&line, index, nullptr, 0, &needed) || needed == 0) {
    // A line without "=" has no key.
    if (index == 0) return std::wstring();
    throw SystemFailure("SetupGetStringFieldW");
  }
  std::wstring text(needed, L'\0');
  if (!getStringField.get()(&line, index, &text[0], needed, nullptr)) {
    throw SystemFailure("SetupGetStringFieldW");
  }
  text.resize(needed - 1);
  return text;
}

bool HasSection(HINF inf, const std::wstring& section) {
  return getLineCount.get()(inf, section.c_str()) >= 0;
}

// Every line of the section, or only those with that key.
template <typename Each>
void ForEachLine(HINF inf, const std::wstring& section, const wchar_t* key, Each each) {
  INFCONTEXT line = {};
  if (!findFirstLine.get()(inf, section.c_str(), key, &line)) return;
  do {
    each(line);
  } while (key != nullptr ? findNextMatchLine.get()(&line, key, &line)
                          : findNextLine.get()(&line, &line));
}

}  // namespace

InfReading ReadInf(const std::wstring& infPath) {
  InfReading reading;
  UINT errorLine = 0;
  InfHandle inf(openInfFile.get()(infPath.c_str(), nullptr, INF_STYLE_WIN4, &errorLine));
  if (!inf.valid()) {
    const DWORD code = GetLastError();
    const std::wstring name = InfParserErrorName(code);
    wchar_t number[16];
    swprintf(number, sizeof number / sizeof number[0], L"0x%08lX", static_cast<unsigned long>(code));
    reading.problem = L"the system's INF parser cannot read the INF: " +
                      (name.empty() ? FromUtf8(SystemErrorText(code)) : name) + L" (" + number + L")";
    if (errorLine != 0) reading.problem += L", line " + std::to_wstring(errorLine);
    return reading;
  }
  reading.parsed = true;
  InfFacts& facts = reading.facts;
  facts.hasDefaultInstall = HasSection(inf.get(), L"DefaultInstall");
  ForEachLine(inf.get(), L"DefaultInstall", L"CopyFiles", [&](INFCONTEXT& line) {
    for (DWORD i = 1; i <= getFieldCount.get()(&line); ++i) {
      CopyFilesEntry copy;
      copy.entry = Field(line, i);
      if (copy.entry.empty() || copy.entry[0] == L'@') {
        if (!copy.entry.empty()) facts.copyFiles.push_back(copy);
        continue;
      }
      copy.sectionFound = HasSection(inf.get(), copy.entry);
      // "destination[,source]": the source name defaults to the destination's.
      ForEachLine(inf.get(), copy.entry, nullptr, [&](INFCONTEXT& fileLine) {
        const std::wstring source = Field(fileLine, 2);
        copy.sources.push_back(source.empty() ? Field(fileLine, 1) : source);
      });
      facts.copyFiles.push_back(copy);
    }
  });
  ForEachLine(inf.get(), L"SourceDisksFiles", nullptr, [&](INFCONTEXT& line) {
    facts.sourceDisksFiles.push_back({Field(line, 0), Field(line, 1), Field(line, 2)});
  });
  // diskid = description[,tag file,unused,path]
  ForEachLine(inf.get(), L"SourceDisksNames", nullptr, [&](INFCONTEXT& line) {
    facts.sourceDisksNames.push_back({Field(line, 0), Field(line, 4)});
  });
  return reading;
}

}  // namespace vantrel
