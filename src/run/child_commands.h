// The programs the install and the removal start, their command lines and
// how a 7-Zip run's end reads, in this one place: the programs, the security
// document's process trees and vantrel-pack (which also writes its archive
// with 7-Zip) all take them from here; the lines are built by plain
// concatenation. Every path that may hold blanks is quoted, apart from the
// wildcard sources of the cabinet and compressed-INF runs and the INF path
// handed to the INF installer, which take the folder as it stands.
//
// Each child is started from the full path of its program, never found by a
// search: a rundll32.exe or 7z.exe planted in the current folder or beside
// the program would otherwise run with the installer's rights. The command
// line stays what the child has always been given.
#pragma once

#include <string>
#include <vector>

#include "child/child_outcome.h"
#include "platform/platform.h"

namespace vantrel {

// The work folder below the Windows folder.
std::wstring WorkFolder(const std::wstring& windowsFolder);

// 7z.exe in the program folder; PlatformFailure when that folder is not an
// absolute path (a relative one would be looked up from the current folder).
std::wstring SevenZipProgram(const std::wstring& appPath);
// rundll32.exe in the system folder.
std::wstring InfInstallerProgram(const std::wstring& systemFolder);

// The three 7-Zip runs that unpack a package into the work folder, in their
// order: the archive itself; the cabinets at the top of the work folder into
// its i386 subfolder; the compressed INF files there into the work folder
// itself. A wildcard run keeps its source pattern, to tell a run that found
// nothing to do (an empty pattern for the archive).
struct UnpackStep {
  std::wstring what;  // "unpacking the package"
  std::wstring commandLine;
  std::wstring sourcePattern;
};
std::vector<UnpackStep> UnpackSteps(const std::wstring& appPath, const std::wstring& packagePath,
                                    const std::wstring& workFolder);
// Whether a 7-Zip unpacking run did its work. Its exit code 1 is a warning
// (some files were not extracted); from 2 on nothing counts as unpacked,
// except that 7-Zip ends with 7 ("cannot find archive") for a wildcard source
// that matches no file: where `sourcePattern` matches none (asked only
// then), there was nothing to expand.
bool SevenZipUnpacked(Platform& platform, const ChildOutcome& run,
                      const std::wstring& sourcePattern);

// 7-Zip writes a new 7z archive of the named files, relative to the folder
// it is started in.
std::wstring PackArchiveCommand(const std::wstring& sevenZipProgram, const std::wstring& archive,
                                const std::vector<std::wstring>& names);

// rundll32 hosts the system INF installer for the INF's DefaultInstall
// section.
std::wstring InstallInfCommand(const std::wstring& workFolder,
                               const std::wstring& infName);
// rundll32 hosts setupapi's INF installer for the DefaultUninstall section
// of the INF copy kept in the system's INF folder.
std::wstring UninstallInfCommand(const std::wstring& keptInf);

}  // namespace vantrel
