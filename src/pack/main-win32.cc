// vantrel-pack: checks a package folder with the system's INF parser, then
// writes the cabinets with the system's cabinet library and the archive with
// the 7-Zip console beside it.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "base/file_sha256-win32.h"
#include "pack/cabinet_writer-win32.h"
#include "pack/detection_rules.h"
#include "pack/console_text-win32.h"
#include "pack/exit_codes.h"
#include "pack/refusal-win32.h"
#include "pack/folder-win32.h"
#include "pack/folder_plan.h"
#include "inf/inf_file-win32.h"
#include "pack/package_layout.h"
#include "pack/seven_zip-win32.h"
#include "pack/show-win32.h"
#include "pack/usage.h"
#include "platform/platform-win32.h"
#include "base/system_folders-win32.h"
#include "base/text.h"

namespace vantrel {
namespace {

void Warn(const std::wstring& what) { PrintError(L"vantrel-pack: warning: " + what); }

int Pack(const std::vector<std::wstring>& arguments) {
  const PackRequest request = ParseArguments(arguments);
  if (request.action == PackRequest::Action::kHelp) {
    PrintOut(HelpText());
    return ExitNumber(PackExit::kMade);
  }
  if (request.action == PackRequest::Action::kUsageError) {
    return Refuse(PackExit::kUsage,
                  request.problem + L"\nusage: vantrel-pack <folder> <package.7z>\n"
                                    L"       vantrel-pack --show [--json] <folder or package>\n"
                                    L"(--help tells more)");
  }
  if (request.action == PackRequest::Action::kShow) return ShowPackage(request);

  const std::wstring folder = FullPath(request.folder);
  const std::wstring output = FullPath(request.output);
  if (!IsFolder(folder)) return Refuse(PackExit::kFolderRefused, L"no such folder: " + folder);
  if (IsInsideFolder(output, folder)) {
    return Refuse(PackExit::kUsage, L"the package must not be written inside the folder it packs");
  }
  const FolderPlan plan = PlanFolder(ListTreeAt(folder));
  if (!plan.problem.empty()) return Refuse(PackExit::kFolderRefused, plan.problem + L": " + folder);

  const std::wstring infPath = folder + L"\\" + plan.inf;
  int refused = 0;
  const std::unique_ptr<InfFile> inf = ReadInfOrRefuse(infPath, infPath, refused);
  if (!inf) return refused;
  const PackageLayout layout = LayOutPackage(*inf, plan.inf, plan.payload);
  for (const std::wstring& refusal : layout.refusals) PrintError(L"vantrel-pack: " + refusal);
  for (const std::wstring& warning : layout.warnings) Warn(warning);
  const std::wstring installed = WindowsDirectory() + L"\\inf\\" + plan.inf;
  if (IsFile(installed)) {
    Warn(installed + L" exists on this machine; where it exists on the target, Vantrel "
         L"overwrites it with this package's INF");
  }
  if (layout.code != PackExit::kMade) return Refuse(layout.code, L"nothing written: " + infPath);

  const std::wstring sevenZip = SevenZipOrRefuse(refused);
  if (sevenZip.empty()) return refused;

  StageFolder stage;
  // The INF as a single-file cabinet, the files for i386 in one cabinet, the
  // rest at their places in the archive.
  std::vector<std::wstring> names = {CompressedInfName(plan.inf)};
  WriteCabinet(stage.path() + L"\\" + names[0], {{infPath, plan.inf}});
  std::vector<CabinetEntry> cabinet;
  std::vector<std::wstring> placed;
  for (const PackedFile& file : layout.files) {
    if (file.inCabinet) {
      cabinet.push_back({folder + L"\\" + file.from, file.to});
    } else {
      CopyFileMakingFolders(folder + L"\\" + file.from, stage.path() + L"\\" + file.to);
      placed.push_back(file.to);
    }
  }
  if (!cabinet.empty()) {
    names.push_back(CabinetName(folder));
    WriteCabinet(stage.path() + L"\\" + names[1], cabinet);
  }
  names.insert(names.end(), placed.begin(), placed.end());
  // 7-Zip adds to an archive that exists; a package is always made whole.
  DeleteIfPresent(output);
  const std::uint32_t sevenZipExit = RunSevenZip(sevenZip, stage.path(), output, names);
  if (sevenZipExit != 0) {
    DeleteIfPresent(output);
    return Refuse(PackExit::kWriteFailed,
                  L"7z.exe ended with exit code " + std::to_wstring(sevenZipExit) + L" writing " + output);
  }
  std::wstring made = L"vantrel-pack: made " + output + L" (" + names[0];
  if (!cabinet.empty()) {
    made += L", " + CabinetName(folder) + L" with " + std::to_wstring(cabinet.size()) +
            L" file(s) for i386";
  }
  if (!placed.empty()) made += L", " + std::to_wstring(placed.size()) + L" file(s) at their places";
  PrintOut(made + L")");
  std::wstring platforms;
  for (const std::wstring& platform : layout.platforms) {
    platforms += (platforms.empty() ? L"" : L"; ") + platform;
  }
  PrintOut(L"vantrel-pack: installs on " + platforms);
  // What the fleet's detection rules compare, for the package just made.
  const DetectionView detection = ViewDetection(*inf, plan.inf, FileSha256(output));
  PrintOut(L"vantrel-pack: DriverVer " + DriverVerText(detection) + L"; receipt " +
           ReceiptKeyPath(detection));
  for (const DetectionRule& rule : DetectionRules(detection)) {
    PrintOut(L"vantrel-pack: rule: " + rule.tool + L": " + rule.rule);
  }
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
