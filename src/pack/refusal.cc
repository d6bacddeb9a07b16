#include "pack/refusal.h"

#include "run/child_commands.h"

namespace vantrel {

int Refuse(Console& console, PackExit code, const std::wstring& why) {
  console.PrintError(L"vantrel-pack: " + why);
  return ExitNumber(code);
}

std::wstring SevenZipFolderOrRefuse(PackMachine& machine, int& exit) {
  const std::wstring folder = machine.platform.ProgramFolder();
  const std::wstring sevenZip = SevenZipProgram(folder);
  if (IsFile(machine.platform, sevenZip)) return folder;
  exit = Refuse(machine.console, PackExit::kWriteFailed, L"7-Zip is missing: " + sevenZip);
  return std::wstring();
}

std::unique_ptr<InfSource> ReadInfOrRefuse(PackMachine& machine, const std::wstring& infPath,
                                           const std::wstring& subject, int& exit) {
  try {
    return machine.inf.OpenInf(infPath);
  } catch (const PlatformFailure& failure) {
    exit = Refuse(machine.console, PackExit::kInfRefused,
                  L"the system's INF parser cannot read the INF: " + FromUtf8(failure.what()) +
                      L": " + subject);
    return nullptr;
  }
}

}  // namespace vantrel
