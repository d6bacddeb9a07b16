#include "pack/show.h"

#include <memory>
#include <string>

#include "base/text.h"
#include "pack/example_commands.h"
#include "pack/exit_codes.h"
#include "pack/folder_plan.h"
#include "pack/package_view.h"
#include "pack/architecture_verdict.h"
#include "pack/refusal.h"
#include "pack/seven_zip.h"
#include "pack/stage_folder.h"

namespace vantrel {

namespace {

int Show(PackMachine& machine, const PackRequest& request) {
  PackFiles& files = machine.files;
  const std::wstring target = files.FullPath(request.source);
  const bool isPackage = machine.platform.PathIsDirectory(target) == 0;
  int refused = 0;
  if (isPackage && !IsFile(machine.platform, target)) {
    return Refuse(machine.console, PackExit::kFolderRefused,
                  L"no such folder or package: " + target);
  }
  // A package is read where vantrel.exe would read it: unpacked, its
  // cabinets expanded; into a folder of this run's own, gone afterwards.
  std::unique_ptr<StageFolder> stage;
  std::wstring folder = target;
  if (isPackage) {
    const std::wstring appPath = SevenZipFolderOrRefuse(machine, refused);
    if (appPath.empty()) return refused;
    stage.reset(new StageFolder(machine));
    const std::wstring failure = UnpackPackage(machine, appPath, target, stage->path());
    if (!failure.empty()) {
      return Refuse(machine.console, PackExit::kWriteFailed,
                    L"the package could not be read: " + failure + L": " + target);
    }
    folder = stage->path();
  }
  const FolderPlan plan = PlanFolder(machine.platform.ListTree(folder));
  if (!plan.problem.empty()) {
    return Refuse(machine.console, PackExit::kFolderRefused,
                  (isPackage ? L"the package is not one Vantrel installs: " : L"") + plan.problem +
                      L": " + target);
  }
  const std::wstring infPath = folder + L"\\" + plan.inf;
  const std::unique_ptr<InfSource> inf = ReadInfOrRefuse(machine, infPath, target, refused);
  if (!inf) return refused;
  // In a package each source must be at its place, as vantrel.exe's
  // pre-flight wants it; in a folder, the builder also takes it from beside
  // the INF.
  const auto inFolder = FindInFolder(plan.payload, plan.inf);
  const auto present = [&](const SourceFile& file) {
    return isPackage ? IsFile(machine.platform, folder + L"\\" + PlacePath(file)) : !inFolder(file).empty();
  };
  PackageView view = ViewPackage(
      *inf, JudgeArchitectures(*inf, present),
      [&](const std::wstring& list) { return inf->TargetFolder(list); },
      isPackage ? L"package" : L"folder");
  view.inf = plan.inf;
  view.from = target;
  view.detection = {ReadDriverVer(*inf), plan.inf,
                    isPackage ? machine.hashes.FileSha256(target) : std::wstring()};
  view.package = isPackage ? FileNameOf(target) : plan.inf.substr(0, plan.inf.rfind(L'.')) + L".7z";
  InfLine provider;
  if (FindLine(*inf, L"Version", L"Provider", provider)) view.provider = provider.Field(1);
  AddExampleCommands(view);
  // PrintOut ends the last line of the text itself.
  const std::wstring text = ViewText(view);
  machine.console.PrintOut(request.json ? FromUtf8(ViewJson(view))
                                        : text.substr(0, text.size() - 1));
  return ExitNumber(PackExit::kMade);
}

}  // namespace

int ShowPackage(PackMachine& machine, const PackRequest& request) {
  return RefusingFailures(machine.console, L"nothing shown",
                          [&] { return Show(machine, request); });
}

}  // namespace vantrel
