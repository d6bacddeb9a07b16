#include "base/text.h"
#include "child/run_child.h"
#include "form/child_bounds.h"
#include "form/vantrel.h"
#include "helpers/module1.h"
#include "inf/driver_store_name.h"
#include "run/child_commands.h"
#include "run/child_step.h"

namespace vantrel {

void Vantrel::InstallPackage(const std::wstring& packagePath) {
  std::wstring infName;

  // The work folder is fixed, so two runs at once would delete each other's
  // files; the second one waits for the first. Without the lock nothing is
  // touched.
  if (!run_.TakeLock(kExitNoLock, kExitBusy)) End();

  // Anyone may make folders in the system's Temp folder. Only a work folder
  // that this run made itself, closed to everyone but the administrators,
  // is safe to install from.
  bool workFolderReady = false;
  std::wstring unready;
  const StatementResult prepare = Resume([&] { workFolderReady = PrepareWorkFolder(unready); });
  if (!workFolderReady) {
    run_.NoteFailure(kExitWorkFolderNotPrepared,
                     StepFailure{L"preparing the work folder", L"Folder: " + Temp,
                                 ResultOf(prepare, unready)});
    run_.ReleaseLock();
    End();
  }

  // The receipt names the package's bytes as 7-Zip is about to read them,
  // not as a share may hold them by the end of the install.
  packageHashing_ = Resume([&] { packageSha256_ = machine_.hashes.FileSha256(packagePath); });

  // A step counts as done only once its statement has run to the end. A link
  // that a step brought would send the next step's files, the INF copy or
  // the clean-up wherever it leads, so no step runs after one.
  bool extracted = true, linkFree = true;
  for (const UnpackStep& step : UnpackSteps(AppPath, packagePath, Temp)) {
    if (!linkFree) break;
    bool done = false;
    Resume([&] { done = Extract(L"7-Zip " + step.what, step.commandLine, step.sourcePattern); });
    extracted = extracted && done;
    linkFree = WorkFolderHoldsNoLink(step.what);
  }
  const StatementResult search =
      Resume([&] { infName = platform_.FirstMatch(Temp + L"\\*.inf"); });

  if (!(extracted && linkFree)) {
    // Half a package installs half a product, or an INF whose files are
    // missing, which makes the INF installer wait for ever for a disk.
    run_.NoteFailure(kExitUnpackFailed, StepFailure{L"unpacking the package", L"-", L"-"});
  } else if (infName.empty()) {
    // Without an INF there is nothing to install, and the copy's source
    // would be the work folder itself: the whole package would land in the
    // system's INF folder.
    run_.NoteFailure(kExitNoInf, StepFailure{L"looking for the INF file",
                                             L"Pattern: " + Temp + L"\\*.inf",
                                             ResultOf(search, L"no INF file in the package")});
  } else if (IsDriverStoreInfName(infName)) {
    // The system names each installed driver package's INF so; the copy
    // would overwrite another driver's INF, so nothing is installed.
    run_.NoteFailure(
        kExitInfCopyFailed,
        StepFailure{L"checking the INF's name", L"INF: " + Temp + L"\\" + infName,
                    L"oem<number>.inf is the name Windows gives the INF of an installed "
                    L"driver package: the copy would replace " + SystemRoot + L"\\inf\\" +
                        infName + L"; nothing was installed"});
  } else {
    // The INF installer is not started on an INF it cannot install here, and
    // no INF copy is kept: that copy is what the deployment tools' detection
    // rules look for. An INF the parser cannot read is left to the INF
    // installer; what it did cannot be checked afterwards.
    const std::wstring infPath = Temp + L"\\" + infName;
    std::wstring unfit, section;
    Resume([&] { unfit = WhyInfCannotInstall(infPath, section); });
    if (!unfit.empty()) {
      run_.NoteFailure(kExitInfNotInstallable,
                       StepFailure{L"checking the INF", L"INF: " + infPath, unfit});
    } else {
      const std::wstring installCommand = InstallInfCommand(Temp, infName);
      // What the INF installer queues for the next restart tells a file in
      // use from a file it never copied.
      const ChildOutcome install = RunInfEngineStep(
          run_,
          {L"the INF installer", installCommand, kExitInstallFailed, kExitInstallerEndedAtBound},
          [&] {
            return RunAndWait(InfInstallerProgram(platform_.SystemFolder()), installCommand,
                              BoundOfMinutes(kInfInstallerBoundMinutes));
          });
      // Where it went is as much a part of the record as whether it went.
      if (install.started) Resume([&] { installedUnderWow64_ = machine_.inf.RunsUnderWow64(); });
      // The INF copy is what the deployment tools' detection rules test: a
      // failed or incomplete install must not look installed. rundll32 ends
      // with 0 whatever the INF engine did.
      if (!install.Failed() && EffectsInPlace(infPath, section)) KeepInfCopy(infName, infPath);
    }
  }

  Resume([&] { platform_.PumpMessages(); });
  Resume([&] { platform_.Sleep(100); });
  Resume([&] { platform_.PumpMessages(); });
  Resume([&] { DeleteFolder(platform_, Temp); });
  run_.ReleaseLock();
  End();
}

bool Vantrel::PrepareWorkFolder(std::wstring& unready) {
  // A drive-relative work folder would be a different place on every drive.
  if (!IsAbsolutePath(Temp)) {
    unready = L"not an absolute path";
    return false;
  }
  // Whatever an interrupted earlier run left here must not take part; what
  // cannot be deleted (a file held open by another process) stops the run.
  ShellOutcome shell;
  const StatementResult emptying = Resume([&] { DeleteFolder(platform_, Temp, &shell); });
  if (FileExists(platform_, Temp)) {
    unready = L"it could not be emptied, something in it is in use (" +
              ResultOf(emptying, DescribeShellOutcome(shell)) + L")";
    return false;
  }
  // Fails too when someone made the folder again in the meantime.
  platform_.CreatePrivateFolder(Temp);
  return true;
}

bool Vantrel::WorkFolderHoldsNoLink(const std::wstring& after) {
  FolderLink link;
  const StatementResult walking = Resume([&] { link = platform_.SurveyTree(Temp).link; });
  if (!walking && link.path.empty()) return true;
  // A tree that cannot be read cannot be shown to be free of links.
  run_.NoteFailure(kExitUnpackFailed,
                   StepFailure{L"looking for links after " + after, L"Folder: " + Temp,
                               ResultOf(walking, L"the package brought a " + link.kind + L", " +
                                                     link.path + L"; links are refused")});
  return false;
}

bool Vantrel::Extract(const std::wstring& step, const std::wstring& commandLine,
                      const std::wstring& sourcePattern) {
  const ChildOutcome run = RunStepChild([&] {
    return RunAndWait(SevenZipProgram(AppPath), commandLine, BoundOfMinutes(kSevenZipBoundMinutes),
                      ChildStreams::kCaptured);
  });
  // A package without cabinets or without compressed INFs is whole.
  return NoteChildStep(run_, {step, commandLine, kExitUnpackFailed, kExitUnpackFailed}, run,
                       SevenZipUnpacked(platform_, run, sourcePattern));
}

}  // namespace vantrel
