#include "form/install_commands.h"
#include "form/resume.h"
#include "form/scoped_handles.h"
#include "form/vantrel.h"
#include "helpers/module1.h"
#include "helpers/text.h"

namespace vantrel {

namespace {
// The work folder is fixed, so two runs at once would delete each other's
// files; the second one waits for the first.
const wchar_t kInstallMutexName[] = L"Global\\Vantrel.Install";

// 7-Zip's exit code 1 is a warning (some files were not extracted); from 2 on
// the archive was not unpacked.
constexpr std::uint32_t kSevenZipWorstWarning = 1;
}  // namespace

void Vantrel::InstallPackage(const std::wstring& packagePath) {
  std::wstring infName;
  ScopedMutex installLock(platform_);

  Resume([&] { installLock.Reset(platform_.AcquireNamedMutex(kInstallMutexName)); });

  // Anyone may make folders in the system's Temp folder. Only a work folder
  // that this run made itself, closed to everyone but the administrators,
  // is safe to install from.
  bool workFolderReady = false;
  Resume([&] { workFolderReady = PrepareWorkFolder(); });
  if (!workFolderReady) {
    NoteFailure(kExitWorkFolderNotPrepared);
    Resume([&] { installLock.Close(); });
    End();
  }

  // A step counts as done only once its statement has run to the end.
  bool unpacked = false, cabinetsExpanded = false, infsExpanded = false;
  Resume([&] {
    unpacked = Extracted(RunAndWait(SevenZipProgram(AppPath),
                                    UnpackPackageCommand(AppPath, packagePath, Temp)),
                         std::wstring());
  });
  Resume([&] {
    cabinetsExpanded = Extracted(
        RunAndWait(SevenZipProgram(AppPath), ExpandCabinetsCommand(AppPath, Temp)),
        CabinetsPattern(Temp));
  });
  Resume([&] {
    infsExpanded = Extracted(
        RunAndWait(SevenZipProgram(AppPath), ExpandCompressedInfsCommand(AppPath, Temp)),
        CompressedInfsPattern(Temp));
  });
  Resume([&] { infName = platform_.FirstMatch(Temp + L"\\*.inf"); });

  if (!(unpacked && cabinetsExpanded && infsExpanded)) {
    // Half a package installs half a product, or an INF whose files are
    // missing, which makes the INF installer wait for ever for a disk.
    NoteFailure(kExitUnpackFailed);
  } else if (infName.empty()) {
    // Without an INF there is nothing to install, and the copy's source
    // would be the work folder itself: the whole package would land in the
    // system's INF folder.
    NoteFailure(kExitNoInf);
  } else {
    ChildOutcome install;
    Resume([&] {
      install = RunAndWait(InfInstallerProgram(platform_.SystemFolder()),
                           InstallInfCommand(Temp, infName));
    });
    if (!install.started || install.exitCode != 0) NoteFailure(kExitInstallFailed);
    bool copied = false;
    Resume([&] { copied = CopyFiles(platform_, Temp + L"\\" + infName, SystemRoot + L"\\inf"); });
    if (!copied) NoteFailure(kExitInfCopyFailed);
  }

  Resume([&] { platform_.PumpMessages(); });
  Resume([&] { platform_.Sleep(100); });
  Resume([&] { platform_.PumpMessages(); });
  Resume([&] { DeleteFolder(platform_, Temp); });
  Resume([&] { installLock.Close(); });
  End();
}

bool Vantrel::PrepareWorkFolder() {
  // A drive-relative work folder would be a different place on every drive.
  if (!IsAbsolutePath(Temp)) return false;
  // Whatever an interrupted earlier run left here must not take part; what
  // cannot be deleted (a file held open by another process) stops the run.
  Resume([&] { DeleteFolder(platform_, Temp); });
  if (FileExists(platform_, Temp)) return false;
  // Fails too when someone made the folder again in the meantime.
  platform_.CreatePrivateFolder(Temp);
  return true;
}

bool Vantrel::Extracted(const ChildOutcome& run, const std::wstring& sourcePattern) {
  if (run.started && run.exitCode <= kSevenZipWorstWarning) return true;
  // 7-Zip ends with 7 ("cannot find archive") for a wildcard that matches no
  // file: a package without cabinets or without compressed INFs is whole.
  return !sourcePattern.empty() && platform_.FirstMatch(sourcePattern).empty();
}

}  // namespace vantrel
