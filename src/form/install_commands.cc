#include "form/install_commands.h"

namespace vantrel {

namespace {
const std::wstring kQuote = L"\"";

std::wstring SevenZip(const std::wstring& appPath) {
  return kQuote + appPath + L"\\7z" + kQuote + L" x -y -aoa ";
}
}  // namespace

std::wstring UnpackPackageCommand(const std::wstring& appPath,
                                  const std::wstring& packagePath,
                                  const std::wstring& workFolder) {
  // The package path is quoted too: where the volume keeps no 8.3 names its
  // short form is the long path, blanks and all.
  return SevenZip(appPath) + kQuote + packagePath + kQuote + L" -o" + kQuote +
         workFolder + kQuote;
}

std::wstring ExpandCabinetsCommand(const std::wstring& appPath,
                                   const std::wstring& workFolder) {
  return SevenZip(appPath) + workFolder + L"\\*.cab" + L" -o" + kQuote + workFolder +
         L"\\i386" + kQuote;
}

std::wstring ExpandCompressedInfsCommand(const std::wstring& appPath,
                                         const std::wstring& workFolder) {
  return SevenZip(appPath) + workFolder + L"\\*.in_" + L" -o" + kQuote + workFolder +
         kQuote;
}

std::wstring InstallInfCommand(const std::wstring& workFolder,
                               const std::wstring& infName) {
  return L"rundll32 syssetup,SetupInfObjectInstallAction DefaultInstall 128 " +
         workFolder + L"\\" + infName;
}

}  // namespace vantrel
