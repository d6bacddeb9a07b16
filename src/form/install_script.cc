#include "form/install_commands.h"
#include "form/resume.h"
#include "form/scoped_handles.h"
#include "form/vantrel.h"
#include "helpers/module1.h"

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
  // Whatever an interrupted earlier run left here must not take part.
  Resume([&] { DeleteFolder(platform_, Temp); });

  Resume([&] {
    const ChildOutcome unpack = RunAndWait(UnpackPackageCommand(AppPath, packagePath, Temp));
    if (!unpack.started || unpack.exitCode > kSevenZipWorstWarning) NoteFailure(kExitUnpackFailed);
  });
  Resume([&] { RunAndWait(ExpandCabinetsCommand(AppPath, Temp)); });
  Resume([&] { RunAndWait(ExpandCompressedInfsCommand(AppPath, Temp)); });
  Resume([&] { infName = platform_.FirstMatch(Temp + L"\\*.inf"); });

  // Without an INF there is nothing to install, and the copy's source would
  // be the work folder itself: the whole package would land in the system's
  // INF folder.
  if (infName.empty()) {
    NoteFailure(kExitNoInf);
  } else {
    Resume([&] {
      const ChildOutcome install = RunAndWait(InstallInfCommand(Temp, infName));
      if (!install.started || install.exitCode != 0) NoteFailure(kExitInstallFailed);
    });
    Resume([&] {
      if (!CopyFiles(platform_, Temp + L"\\" + infName, SystemRoot + L"\\inf"))
        NoteFailure(kExitInfCopyFailed);
    });
  }

  Resume([&] { platform_.PumpMessages(); });
  Resume([&] { platform_.Sleep(100); });
  Resume([&] { platform_.PumpMessages(); });
  Resume([&] { DeleteFolder(platform_, Temp); });
  Resume([&] { installLock.Close(); });
  End();
}

}  // namespace vantrel
