#include "pack/example_commands.h"

#include "record/receipt.h"
#include "run/child_commands.h"

namespace vantrel {

std::wstring InstallCommand(const std::wstring& packageName) {
  return std::wstring(kInstallerFile) + L" \"" + packageName + L"\"";
}

std::wstring ScopedRemoveCommand(const std::wstring& infName, const std::wstring& packageSha256) {
  return std::wstring(kRemoverFile) + L" " + infName + L" " + kPackageSwitch + packageSha256;
}

void AddExampleCommands(PackageView& view) {
  const std::wstring bundle = kExampleBundleFolder;
  const std::wstring windows = kExampleWindowsFolder;
  const std::wstring work = WorkFolder(windows);
  const std::wstring sevenZip = SevenZipProgram(bundle);
  for (PlatformView& platform : view.platforms) {
    if (!platform.installs) continue;
    // The 32-bit bundle's system folder is System32 to the program, which
    // WoW64 redirects to SysWOW64 on 64-bit Windows.
    const bool redirected = platform.architecture == InfArchitecture::kX86;
    platform.commands.clear();
    for (const UnpackStep& step : UnpackSteps(bundle, bundle + L"\\" + view.package, work)) {
      platform.commands.push_back({sevenZip, L"", step.commandLine});
    }
    platform.commands.push_back({InfInstallerProgram(windows + L"\\System32"),
                                 redirected ? InfInstallerProgram(windows + L"\\SysWOW64") : L"",
                                 InstallInfCommand(work, view.inf)});
  }
}

}  // namespace vantrel
