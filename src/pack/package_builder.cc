#include "pack/package_builder.h"

#include <memory>
#include <string>
#include <vector>

#include "base/failure.h"
#include "base/text.h"
#include "pack/detection_rules.h"
#include "pack/example_commands.h"
#include "pack/folder_plan.h"
#include "pack/package_layout.h"
#include "pack/refusal.h"
#include "pack/seven_zip.h"
#include "pack/stage_folder.h"

namespace vantrel {

namespace {

// The old package, before 7-Zip writes (it adds to an archive that exists)
// and after a failed write. A folder of that name is no package and stays.
void DeleteOldPackage(Platform& platform, const std::wstring& output) {
  if (platform.PathIsDirectory(output) != 0) {
    throw PlatformFailure("the package's path names a folder: " + ToUtf8(output));
  }
  platform.DeleteTree(output);
}

}  // namespace

int BuildPackage(PackMachine& machine, const PackRequest& request) {
  Console& console = machine.console;
  PackFiles& files = machine.files;
  const auto warn = [&](const std::wstring& what) {
    console.PrintError(L"vantrel-pack: warning: " + what);
  };
  const std::wstring folder = files.FullPath(request.source);
  const std::wstring output = files.FullPath(request.output);
  if (machine.platform.PathIsDirectory(folder) == 0) {
    return Refuse(console, PackExit::kFolderRefused, L"no such folder: " + folder);
  }
  if (IsInsideFolder(output, folder)) {
    return Refuse(console, PackExit::kUsage,
                  L"the package must not be written inside the folder it packs");
  }
  const FolderPlan plan = PlanFolder(machine.platform.ListTree(folder));
  if (!plan.problem.empty()) {
    return Refuse(console, PackExit::kFolderRefused, plan.problem + L": " + folder);
  }

  const std::wstring infPath = folder + L"\\" + plan.inf;
  int refused = 0;
  const std::unique_ptr<InfSource> inf = ReadInfOrRefuse(machine, infPath, infPath, refused);
  if (!inf) return refused;
  const PackageLayout layout = LayOutPackage(*inf, plan.inf, plan.payload);
  for (const std::wstring& refusal : layout.refusals)
    console.PrintError(L"vantrel-pack: " + refusal);
  for (const std::wstring& warning : layout.warnings) warn(warning);
  const std::wstring installed = machine.platform.WindowsFolder() + L"\\inf\\" + plan.inf;
  if (IsFile(machine.platform, installed)) {
    warn(installed + L" exists on this machine; where it exists on the target, Vantrel "
         L"overwrites it with this package's INF");
  }
  if (layout.code != PackExit::kMade)
    return Refuse(console, layout.code, L"nothing written: " + infPath);

  const std::wstring appPath = SevenZipFolderOrRefuse(machine, refused);
  if (appPath.empty()) return refused;

  StageFolder stage(machine);
  // The INF as a single-file cabinet, the files for i386 in one cabinet, the
  // rest at their places in the archive.
  std::vector<std::wstring> names = {CompressedInfName(plan.inf)};
  machine.cabinets.WriteCabinet(stage.path() + L"\\" + names[0], {{infPath, plan.inf}});
  std::vector<CabinetEntry> cabinet;
  std::vector<std::wstring> placed;
  for (const PackedFile& file : layout.files) {
    if (file.inCabinet) {
      cabinet.push_back({folder + L"\\" + file.from, file.to});
    } else {
      files.CopyFileMakingFolders(folder + L"\\" + file.from, stage.path() + L"\\" + file.to);
      placed.push_back(file.to);
    }
  }
  if (!cabinet.empty()) {
    names.push_back(CabinetName(folder));
    machine.cabinets.WriteCabinet(stage.path() + L"\\" + names[1], cabinet);
  }
  names.insert(names.end(), placed.begin(), placed.end());
  // A package is always made whole.
  DeleteOldPackage(machine.platform, output);
  const std::uint32_t sevenZipExit = RunSevenZip(machine, appPath, stage.path(), output, names);
  if (sevenZipExit != 0) {
    DeleteOldPackage(machine.platform, output);
    return Refuse(
        console, PackExit::kWriteFailed,
        L"7z.exe ended with exit code " + std::to_wstring(sevenZipExit) + L" writing " + output);
  }
  std::wstring made = L"vantrel-pack: made " + output + L" (" + names[0];
  if (!cabinet.empty()) {
    made += L", " + names[1] + L" with " + std::to_wstring(cabinet.size()) +
            L" file(s) for i386";
  }
  if (!placed.empty()) made += L", " + std::to_wstring(placed.size()) + L" file(s) at their places";
  console.PrintOut(made + L")");
  console.PrintOut(L"vantrel-pack: installs on " + Join(layout.platforms, L"; "));
  // What the fleet's detection rules compare, for the package just made.
  const DetectionView detection{ReadDriverVer(*inf), plan.inf, machine.hashes.FileSha256(output)};
  console.PrintOut(L"vantrel-pack: DriverVer " + DriverVerText(detection) + L"; receipt " +
                   ReceiptKeyPath(detection.infName));
  for (const DetectionRule& rule : DetectionRules(detection)) {
    console.PrintOut(L"vantrel-pack: rule: " + rule.tool + L": " + rule.rule);
  }
  console.PrintOut(L"vantrel-pack: uninstall: " +
                   ScopedRemoveCommand(plan.inf, detection.packageSha256));
  return ExitNumber(PackExit::kMade);
}

}  // namespace vantrel
