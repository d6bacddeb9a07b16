#include "run/child_commands.h"

#include "base/failure.h"
#include "base/text.h"

namespace vantrel {

namespace {
const std::wstring kSevenZip = L"7z";
const std::wstring kInfInstaller = L"rundll32";
const std::wstring kExe = L".exe";
constexpr std::uint32_t kSevenZipWorstWarning = 1;

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

// 7-Zip extracting the source into the folder, overwriting without asking.
std::wstring SevenZipExtract(const std::wstring& appPath, const std::wstring& source,
                             const std::wstring& folder) {
  return Quoted(appPath + L"\\" + kSevenZip) + L" x -y -aoa " + source + L" -o" + Quoted(folder);
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

std::vector<UnpackStep> UnpackSteps(const std::wstring& appPath, const std::wstring& packagePath,
                                    const std::wstring& workFolder) {
  const std::wstring cabinets = workFolder + L"\\*.cab", infs = workFolder + L"\\*.in_";
  // The package path is quoted too: where the volume keeps no 8.3 names its
  // short form is the long path, blanks and all.
  return {
      {L"unpacking the package", SevenZipExtract(appPath, Quoted(packagePath), workFolder), L""},
      {L"expanding the cabinets", SevenZipExtract(appPath, cabinets, workFolder + L"\\i386"),
       cabinets},
      {L"expanding the compressed INF files", SevenZipExtract(appPath, infs, workFolder), infs}};
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
  std::wstring line = Quoted(sevenZipProgram) + L" a -t7z -bd -bso0 -bsp0 -y -- " + Quoted(archive);
  for (const std::wstring& name : names) line += L" " + Quoted(name);
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
