#include "run/child_commands.h"

#include "base/failure.h"
#include "base/text.h"

namespace vantrel {

namespace {
const std::wstring kQuote = L"\"";
const std::wstring kSevenZip = L"7z";
const std::wstring kInfInstaller = L"rundll32";
const std::wstring kExe = L".exe";
constexpr std::uint32_t kSevenZipWorstWarning = 1;

std::wstring SevenZip(const std::wstring& appPath) {
  return kQuote + appPath + L"\\" + kSevenZip + kQuote + L" x -y -aoa ";
}
}  // namespace

std::wstring WorkFolder(const std::wstring& windowsFolder) {
  return windowsFolder + L"\\Temp\\Vantrel";
}

std::wstring SevenZipProgram(const std::wstring& appPath) {
  if (!IsAbsolutePath(appPath)) throw PlatformFailure("the program folder is not an absolute path");
  return appPath + L"\\" + kSevenZip + kExe;
}

std::wstring InfInstallerProgram(const std::wstring& systemFolder) {
  return systemFolder + L"\\" + kInfInstaller + kExe;
}

std::wstring UnpackPackageCommand(const std::wstring& appPath,
                                  const std::wstring& packagePath,
                                  const std::wstring& workFolder) {
  // The package path is quoted too: where the volume keeps no 8.3 names its
  // short form is the long path, blanks and all.
  return SevenZip(appPath) + kQuote + packagePath + kQuote + L" -o" + kQuote +
         workFolder + kQuote;
}

std::wstring CabinetsPattern(const std::wstring& workFolder) { return workFolder + L"\\*.cab"; }

std::wstring ExpandCabinetsCommand(const std::wstring& appPath,
                                   const std::wstring& workFolder) {
  return SevenZip(appPath) + CabinetsPattern(workFolder) + L" -o" + kQuote + workFolder +
         L"\\i386" + kQuote;
}

std::wstring CompressedInfsPattern(const std::wstring& workFolder) {
  return workFolder + L"\\*.in_";
}

std::wstring ExpandCompressedInfsCommand(const std::wstring& appPath,
                                         const std::wstring& workFolder) {
  return SevenZip(appPath) + CompressedInfsPattern(workFolder) + L" -o" + kQuote + workFolder +
         kQuote;
}

bool SevenZipUnpacked(Platform& platform, const ChildOutcome& run,
                      const std::wstring& sourcePattern) {
  if (!run.Failed(kSevenZipWorstWarning)) return true;
  return !sourcePattern.empty() && platform.FirstMatch(sourcePattern).empty();
}

std::wstring PackArchiveCommand(const std::wstring& sevenZipProgram, const std::wstring& archive,
                                const std::vector<std::wstring>& names) {
  // File names cannot hold quotes; "--" keeps a name that starts with "-"
  // from being read as a switch. Only errors are printed, on the builder's
  // own console.
  std::wstring line = kQuote + sevenZipProgram + kQuote + L" a -t7z -bd -bso0 -bsp0 -y -- " +
                      kQuote + archive + kQuote;
  for (const std::wstring& name : names) line += L" " + kQuote + name + kQuote;
  return line;
}

std::wstring InstallInfCommand(const std::wstring& workFolder,
                               const std::wstring& infName) {
  return kInfInstaller + L" syssetup,SetupInfObjectInstallAction DefaultInstall 128 " +
         workFolder + L"\\" + infName;
}

std::wstring UninstallInfCommand(const std::wstring& keptInf) {
  return kInfInstaller + L" setupapi,InstallHinfSection DefaultUninstall 128 " + keptInf;
}

}  // namespace vantrel
