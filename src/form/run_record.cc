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

std::wstring QuestionText(const Question& question) {
  return question.caption + L": " + question.text;
}

StepFailure ChildStepFailure(const std::wstring& step, const std::wstring& commandLine,
                             const ChildOutcome& outcome) {
  std::wstring result;
  if (!outcome.started) {
    result = L"did not start: " + outcome.failure;
  } else if (outcome.declined) {
    for (const Question& question : outcome.questions) {
      if (!question.declined) continue;
      result = L"asked: " + QuestionText(question) +
               L"; nobody can answer an unattended run; declined";
      break;
    }
  } else {
    result = L"exit code " + std::to_wstring(outcome.exitCode);
  }
  StepFailure failure{step, L"Command: " + commandLine, result, {}};
  for (const std::wstring& line : outcome.output) failure.details.push_back(L"Output: " + line);
  return failure;
}

std::vector<std::wstring> RunEventStrings(ExitStatus status, const std::wstring& packageNamed,
                                          const StepFailure& failure,
                                          const std::vector<Question>& questions) {
  std::vector<std::wstring> strings{
      L"Vantrel " VANTREL_VERSION_TEXT L": " + std::wstring(OutcomeText(status)) +
          L" (exit code " + std::to_wstring(static_cast<std::uint32_t>(status)) + L").",
      L"Package: " + (packageNamed.empty() ? std::wstring(L"(none named)") : packageNamed)};
  if (status != kExitSuccess) {
    strings.push_back(L"Failed step: " + (failure.step.empty() ? L"-" : failure.step));
    strings.push_back(failure.action.empty() ? L"-" : failure.action);
    strings.push_back(L"Result: " + (failure.result.empty() ? L"-" : failure.result));
    strings.insert(strings.end(), failure.details.begin(), failure.details.end());
  }
  for (const Question& question : questions) {
    if (!question.declined) {
      strings.push_back(L"Asked: " + QuestionText(question) + L" (left to the person at the screen)");
    }
  }
  return strings;
}

}  // namespace vantrel
