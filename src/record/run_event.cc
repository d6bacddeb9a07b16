#include "record/run_event.h"

namespace vantrel {

namespace {
// The record names this many items; a count stands for the rest.
constexpr std::size_t kNamedInRecord = 10;
}  // namespace

std::wstring RecordList(const std::vector<std::wstring>& items) {
  std::wstring named;
  for (std::size_t i = 0; i < items.size() && i < kNamedInRecord; ++i) {
    named += (i == 0 ? L"" : L", ") + items[i];
  }
  if (items.size() > kNamedInRecord) {
    named += L" and " + std::to_wstring(items.size() - kNamedInRecord) + L" more";
  }
  return named;
}

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

std::vector<std::wstring> RunEventLines(const RunEvent& event) {
  std::vector<std::wstring> strings{event.program + L" " VANTREL_VERSION_TEXT L": " + event.outcome +
                                        L" (exit code " + std::to_wstring(event.exitCode) + L").",
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
      strings.push_back(L"Asked: " + QuestionText(question) + L" (left to the person at the screen)");
    }
  }
  strings.insert(strings.end(), event.notes.begin(), event.notes.end());
  return strings;
}

}  // namespace vantrel
