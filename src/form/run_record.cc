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
      return L"the work folder could not be prepared; nothing was installed";
    case kExitInfNotInstallable:
      return L"the INF cannot be installed here; nothing was installed";
  }
  return L"unknown outcome";
}
}  // namespace

std::vector<std::wstring> RunEventStrings(ExitStatus status, const std::wstring& packageNamed,
                                          const StepFailure& failure,
                                          const std::vector<Question>& questions) {
  RunEvent event;
  event.program = L"Vantrel";
  event.outcome = OutcomeText(status);
  event.exitCode = static_cast<std::uint32_t>(status);
  event.failed = status != kExitSuccess;
  event.subject = L"Package: " + (packageNamed.empty() ? std::wstring(L"(none named)") : packageNamed);
  event.failure = failure;
  event.questions = questions;
  return RunEventLines(event);
}

}  // namespace vantrel
