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
  }
  return L"unknown outcome";
}
}  // namespace

StepFailure ChildStepFailure(const std::wstring& step, const std::wstring& commandLine,
                             const ChildOutcome& outcome) {
  return StepFailure{step, L"Command: " + commandLine,
                     outcome.started ? L"exit code " + std::to_wstring(outcome.exitCode)
                                     : L"did not start: " + outcome.failure};
}

std::vector<std::wstring> RunEventStrings(ExitStatus status, const std::wstring& packageNamed,
                                          const StepFailure& failure) {
  std::vector<std::wstring> strings{
      L"Vantrel " VANTREL_VERSION_TEXT L": " + std::wstring(OutcomeText(status)) +
          L" (exit code " + std::to_wstring(static_cast<std::uint32_t>(status)) + L").",
      L"Package: " + (packageNamed.empty() ? std::wstring(L"(none named)") : packageNamed)};
  if (status != kExitSuccess) {
    strings.push_back(L"Failed step: " + (failure.step.empty() ? L"-" : failure.step));
    strings.push_back(failure.action.empty() ? L"-" : failure.action);
    strings.push_back(L"Result: " + (failure.result.empty() ? L"-" : failure.result));
  }
  return strings;
}

}  // namespace vantrel
