#include "pack/show-win32.h"

#include <memory>
#include <string>

#include "base/file_sha256-win32.h"
#include "base/system_entry-win32.h"
#include "base/system_error-win32.h"
#include "base/system_folders-win32.h"
#include "base/text.h"
#include "inf/inf_file-win32.h"
#include "pack/console_text-win32.h"
#include "pack/example_commands.h"
#include "pack/exit_codes.h"
#include "pack/refusal-win32.h"
#include "pack/folder-win32.h"
#include "pack/folder_plan.h"
#include "pack/seven_zip-win32.h"
#include "pack/package_view.h"
#include "pack/platform_verdict.h"

namespace vantrel {

namespace {

SystemEntry<decltype(&::SetupGetTargetPathW)> getTargetPath(L"setupapi.dll", "SetupGetTargetPathW");

// Where the INF engine puts a file-list section's files on this machine, as
// setupapi itself resolves [DestinationDirs] and its DIRIDs; `list` empty:
// the folder of "@file" copies (DefaultDestDir).
std::wstring TargetFolder(const InfFile& inf, const std::wstring& list) {
  const wchar_t* section = list.empty() ? nullptr : list.c_str();
  return AskSetupText("SetupGetTargetPathW", [&](wchar_t* buffer, DWORD size, DWORD* needed) {
    return getTargetPath.get()(inf.Handle(), nullptr, section, buffer, size, needed);
  });
}

// The package as it would lie beside the bundle: the one read, or for a
// folder not yet packed, one named after its INF.
std::wstring ExamplePackageName(const std::wstring& target, bool isPackage, const std::wstring& inf) {
  if (isPackage) return target.substr(target.find_last_of(L"\\/") + 1);
  const std::size_t dot = inf.rfind(L'.');
  return inf.substr(0, dot) + L".7z";
}

int Show(const PackRequest& request) {
  const std::wstring target = FullPath(request.folder);
  const bool isPackage = !IsFolder(target);
  int refused = 0;
  if (isPackage && !IsFile(target)) {
    return Refuse(PackExit::kFolderRefused, L"no such folder or package: " + target);
  }
  // A package is read where vantrel.exe would read it: unpacked, its
  // cabinets expanded; into a folder of this run's own, gone afterwards.
  std::unique_ptr<StageFolder> stage;
  std::wstring folder = target;
  if (isPackage) {
    const std::wstring sevenZip = SevenZipOrRefuse(refused);
    if (sevenZip.empty()) return refused;
    stage.reset(new StageFolder);
    const std::wstring failure = UnpackPackage(sevenZip, target, stage->path());
    if (!failure.empty()) {
      return Refuse(PackExit::kWriteFailed, L"the package could not be read: " + failure + L": " + target);
    }
    folder = stage->path();
  }
  const FolderPlan plan = PlanFolder(ListTreeAt(folder));
  if (!plan.problem.empty()) {
    return Refuse(PackExit::kFolderRefused,
                  (isPackage ? L"the package is not one Vantrel installs: " : L"") + plan.problem +
                      L": " + target);
  }
  const std::wstring infPath = folder + L"\\" + plan.inf;
  const std::unique_ptr<InfFile> inf = ReadInfOrRefuse(infPath, target, refused);
  if (!inf) return refused;
  // In a package each source must be at its place, as vantrel.exe's
  // pre-flight wants it; in a folder, the builder also takes it from beside
  // the INF.
  const auto inPackage = [&](const SourceFile& file) {
    return IsFile(folder + L"\\" + PlacePath(file));
  };
  const std::vector<PlatformVerdict> verdicts =
      isPackage ? JudgePlatforms(*inf, inPackage)
                : JudgePlatforms(*inf, PresentInFolder(plan.payload, plan.inf));
  PackageView view = ViewPackage(
      *inf, verdicts, [&](const std::wstring& list) { return TargetFolder(*inf, list); },
      isPackage ? L"package" : L"folder");
  view.inf = plan.inf;
  view.from = target;
  view.detection = ViewDetection(*inf, plan.inf, isPackage ? FileSha256(target) : std::wstring());
  AddExampleCommands(view, ExamplePackageName(target, isPackage, plan.inf));
  if (request.json) {
    PrintOut(FromUtf8(ViewJson(view)));
  } else {
    std::wstring text = ViewText(view);
    if (!text.empty() && text.back() == L'\n') text.pop_back();
    PrintOut(text);
  }
  return ExitNumber(PackExit::kMade);
}

}  // namespace

int ShowPackage(const PackRequest& request) {
  try {
    return Show(request);
  } catch (const PlatformFailure& failure) {
    return Refuse(PackExit::kWriteFailed, FromUtf8(failure.what()) + L"; nothing shown");
  }
}

}  // namespace vantrel
