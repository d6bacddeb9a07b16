// vantrel-pack: checks a package folder with the system's INF parser, then
// writes the cabinets with the system's cabinet library and the archive with
// the 7-Zip console beside it.
#include <windows.h>

#include <string>
#include <vector>

#include "pack/cabinet_writer-win32.h"
#include "pack/console_text-win32.h"
#include "pack/exit_codes.h"
#include "pack/folder-win32.h"
#include "pack/folder_plan.h"
#include "pack/inf_reader-win32.h"
#include "pack/inf_rules.h"
#include "pack/seven_zip-win32.h"
#include "pack/usage.h"
#include "platform/platform-win32.h"
#include "platform/system_folders-win32.h"

namespace vantrel {
namespace {

int Refuse(PackExit code, const std::wstring& why) {
  PrintError(L"vantrel-pack: " + why);
  return ExitNumber(code);
}

void Warn(const std::wstring& what) { PrintError(L"vantrel-pack: warning: " + what); }

int Pack(const std::vector<std::wstring>& arguments) {
  const PackRequest request = ParseArguments(arguments);
  if (request.action == PackRequest::Action::kHelp) {
    PrintOut(HelpText());
    return ExitNumber(PackExit::kMade);
  }
  if (request.action == PackRequest::Action::kUsageError) {
    return Refuse(PackExit::kUsage,
                  request.problem + L"\nusage: vantrel-pack <folder> <package.7z> (--help tells more)");
  }

  const std::wstring folder = FullPath(request.folder);
  const std::wstring output = FullPath(request.output);
  if (!IsFolder(folder)) return Refuse(PackExit::kFolderRefused, L"no such folder: " + folder);
  if (IsInsideFolder(output, folder)) {
    return Refuse(PackExit::kUsage, L"the package must not be written inside the folder it packs");
  }
  const FolderPlan plan = PlanFolder(ListFolder(folder));
  if (!plan.problem.empty()) return Refuse(PackExit::kFolderRefused, plan.problem + L": " + folder);

  const std::wstring infPath = folder + L"\\" + plan.inf;
  const InfReading reading = ReadInf(infPath);
  if (!reading.parsed) return Refuse(PackExit::kInfRefused, reading.problem + L": " + infPath);
  const InfVerdict verdict = CheckInf(reading.facts, plan);
  for (const std::wstring& warning : verdict.warnings) Warn(warning);
  const std::wstring installed = WindowsDirectory() + L"\\inf\\" + plan.inf;
  if (IsFile(installed)) {
    Warn(installed + L" exists on this machine; where it exists on the target, Vantrel "
         L"overwrites it with this package's INF");
  }
  if (verdict.code != PackExit::kMade) {
    for (const std::wstring& refusal : verdict.refusals) PrintError(L"vantrel-pack: " + refusal);
    return Refuse(verdict.code, L"nothing written: " + infPath);
  }

  const std::wstring sevenZip = Win32Platform().ProgramFolder() + L"\\7z.exe";
  if (!IsFile(sevenZip)) return Refuse(PackExit::kWriteFailed, L"7-Zip is missing: " + sevenZip);

  StageFolder stage;
  std::vector<std::wstring> names = {CompressedInfName(plan.inf)};
  WriteCabinet(stage.path() + L"\\" + names[0], {infPath});
  if (!plan.payload.empty()) {
    std::vector<std::wstring> payload;
    for (const std::wstring& name : plan.payload) payload.push_back(folder + L"\\" + name);
    names.push_back(CabinetName(folder));
    WriteCabinet(stage.path() + L"\\" + names[1], payload);
  }
  // 7-Zip adds to an archive that exists; a package is always made whole.
  DeleteIfPresent(output);
  const std::uint32_t sevenZipExit = RunSevenZip(sevenZip, stage.path(), output, names);
  if (sevenZipExit != 0) {
    DeleteIfPresent(output);
    return Refuse(PackExit::kWriteFailed,
                  L"7z.exe ended with exit code " + std::to_wstring(sevenZipExit) + L" writing " + output);
  }
  std::wstring made = L"vantrel-pack: made " + output + L" (" + names[0];
  if (names.size() > 1) {
    made += L", " + names[1] + L" with " + std::to_wstring(plan.payload.size()) + L" file(s)";
  }
  PrintOut(made + L")");
  return ExitNumber(PackExit::kMade);
}

}  // namespace
}  // namespace vantrel

int wmain(int argc, wchar_t** argv) {
  vantrel::RestrictDllSearchToSystem();
  vantrel::SuppressSystemDialogs();
  try {
    return vantrel::Pack(std::vector<std::wstring>(argv + 1, argv + argc));
  } catch (const vantrel::PlatformFailure& failure) {
    return vantrel::Refuse(vantrel::PackExit::kWriteFailed,
                           vantrel::FromUtf8(failure.what()) + L"; the package was not made");
  }
}
