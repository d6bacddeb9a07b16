// The command lines of the install, built by plain concatenation. Every path
// that may hold blanks is quoted, apart from the wildcard sources of the
// cabinet and compressed-INF runs and the INF path handed to the INF
// installer, which take the work folder as it stands.
#pragma once

#include <string>

namespace vantrel {

// 7-Zip unpacks the package archive into the work folder.
std::wstring UnpackPackageCommand(const std::wstring& appPath,
                                  const std::wstring& packagePath,
                                  const std::wstring& workFolder);
// 7-Zip expands the cabinets at the top of the work folder into its i386
// subfolder.
std::wstring ExpandCabinetsCommand(const std::wstring& appPath,
                                   const std::wstring& workFolder);
// 7-Zip expands the compressed INF files at the top of the work folder into
// the work folder itself.
std::wstring ExpandCompressedInfsCommand(const std::wstring& appPath,
                                         const std::wstring& workFolder);
// rundll32 hosts the system INF installer for the INF's DefaultInstall
// section.
std::wstring InstallInfCommand(const std::wstring& workFolder,
                               const std::wstring& infName);

}  // namespace vantrel
