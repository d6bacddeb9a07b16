#include "pack/example_commands.h"

#include "run/child_commands.h"

namespace vantrel {

void AddExampleCommands(PackageView& view, const std::wstring& packageName) {
  const std::wstring bundle = kExampleBundleFolder;
  const std::wstring windows = kExampleWindowsFolder;
  const std::wstring work = WorkFolder(windows);
  const std::wstring sevenZip = SevenZipProgram(bundle);
  for (PlatformView& platform : view.platforms) {
    if (!platform.installs) continue;
    // The 32-bit bundle's system folder is System32 to the program, which
    // WoW64 redirects to SysWOW64 on 64-bit Windows.
    const bool redirected = platform.architecture == InfArchitecture::kX86;
    platform.commands = {
        {sevenZip, L"", UnpackPackageCommand(bundle, bundle + L"\\" + packageName, work)},
        {sevenZip, L"", ExpandCabinetsCommand(bundle, work)},
        {sevenZip, L"", ExpandCompressedInfsCommand(bundle, work)},
        {InfInstallerProgram(windows + L"\\System32"),
         redirected ? InfInstallerProgram(windows + L"\\SysWOW64") : L"",
         InstallInfCommand(work, view.inf)},
    };
  }
}

}  // namespace vantrel
