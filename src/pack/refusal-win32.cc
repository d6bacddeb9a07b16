#include "pack/refusal-win32.h"

#include "base/text.h"
#include "pack/console_text-win32.h"
#include "pack/folder-win32.h"
#include "platform/platform-win32.h"

namespace vantrel {

int Refuse(PackExit code, const std::wstring& why) {
  PrintError(L"vantrel-pack: " + why);
  return ExitNumber(code);
}

std::wstring SevenZipOrRefuse(int& exit) {
  const std::wstring sevenZip = Win32Platform().ProgramFolder() + L"\\7z.exe";
  if (IsFile(sevenZip)) return sevenZip;
  exit = Refuse(PackExit::kWriteFailed, L"7-Zip is missing: " + sevenZip);
  return std::wstring();
}

std::unique_ptr<InfFile> ReadInfOrRefuse(const std::wstring& infPath, const std::wstring& subject,
                                         int& exit) {
  try {
    return std::unique_ptr<InfFile>(new InfFile(infPath));
  } catch (const PlatformFailure& failure) {
    exit = Refuse(PackExit::kInfRefused, L"the system's INF parser cannot read the INF: " +
                                             FromUtf8(failure.what()) + L": " + subject);
    return nullptr;
  }
}

}  // namespace vantrel
