#include "form/run_record.h"

namespace vantrel {

namespace {
const wchar_t* OutcomeText(ExitStatus status) {
  switch (status) {
    case kExitSuccess: return L"installed";
    case kExitNoArgument: return L"no package named";
    case kExitPackageNotFound: return L"the package was not found";
    case kExitUnpackFailed: return L"the package could not be unpacked; nothing was installed";
    case kExitNoInf: return L"the package holds no INF file; nothing was installed";
    case kExitInstallFailed: return L"the INF installer failed";
    case kExitInfCopyFailed: return L"the INF could not be copied into the system's INF folder";
    case kExitWorkFolderNotPrepared:
      return L"the install lock or the work folder could not be had; nothing was installed";
    case kExitInfNotInstallable:
      return L"the INF cannot be installed here; nothing was installed";
    case kExitInstallIncomplete:
      return L"the INF installer did not put everything in place; no INF copy is kept";
    case kExitRestartNeeded: return L"installed; a restart finishes the install";
  }
  return L"unknown outcome";
}
}  // namespace

std::vector<std::wstring> RunEventStrings(ExitStatus status, const std::wstring& packageNamed,
                                          const StepFailure& failure,
                                          const std::vector<Question>& questions,
                                          bool installedUnderWow64,
                                          const std::vector<std::wstring>& waitingForRestart) {
  RunEvent event;
  event.program = L"Vantrel";
  event.outcome = OutcomeText(status);
  event.exitCode = static_cast<std::uint32_t>(status);
  event.failed = IsFailure(status);
  event.subject = L"Package: " + (packageNamed.empty() ? std::wstring(L"(none named)") : packageNamed);
  event.failure = failure;
  event.questions = questions;
  if (installedUnderWow64) {
    event.notes.push_back(
        L"WoW64: the 32-bit INF installer ran this INF on 64-bit Windows, so its registry values "
        L"under HKLM\\Software went to HKLM\\Software\\Wow6432Node and its system files to "
        L"SysWOW64; the 64-bit bundle installs into the 64-bit registry and System32.");
  }
  if (!waitingForRestart.empty()) {
    event.notes.push_back(L"Waiting for the restart: " + RecordList(waitingForRestart) +
                          L" (in use during the install; the system puts them in place as it "
                          L"starts again)");
  }
  return RunEventLines(event);
}

}  // namespace vantrel
