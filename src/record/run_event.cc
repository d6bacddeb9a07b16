#include "record/run_event.h"

namespace vantrel {

namespace {
// Whole minutes, or seconds for less than one: bounds are set in minutes.
std::wstring Duration(std::uint64_t milliseconds) {
  const std::uint64_t minutes = milliseconds / 60000;
  const std::uint64_t amount = minutes > 0 ? minutes : milliseconds / 1000;
  const std::wstring unit = minutes > 0 ? L" minute" : L" second";
  return std::to_wstring(amount) + unit + (amount == 1 ? L"" : L"s");
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
  } else if (outcome.endedAtBound) {
    result = step + L" ran for " + Duration(outcome.quietMilliseconds) +
             L" without ending or asking anything; it was ended";
  } else {
    result = L"exit code " + std::to_wstring(outcome.exitCode);
  }
  StepFailure failure{step, L"Command: " + commandLine, result, {}};
  for (const std::wstring& line : outcome.output) failure.details.push_back(L"Output: " + line);
  return failure;
}

std::vector<std::wstring> RunEventLines(const RunEvent& event) {
  std::vector<std::wstring> strings{event.program + L" " VANTREL_VERSION_TEXT L": " +
                                        event.outcome + L" (exit code " +
                                        std::to_wstring(event.exitCode) + L").",
                                    event.subject};
  if (event.failed) {
    const StepFailure& failure = event.failure;
    strings.push_back(L"Failed step: " + (failure.step.empty() ? L"-" : failure.step));
    strings.push_back(failure.action.empty() ? L"-" : failure.action);
    strings.push_back(L"Result: " + (failure.result.empty() ? L"-" : failure.result));
    strings.insert(strings.end(), failure.details.begin(), failure.details.end());
  }
  for (const Question& question : event.questions) {
    if (!question.declined) {
      strings.push_back(L"Asked: " + QuestionText(question) +
                        L" (left to the person at the screen)");
    }
  }
  strings.insert(strings.end(), event.notes.begin(), event.notes.end());
  return strings;
}

}  // namespace vantrel
