// The record of a run, the same for every program of the bundle: one event
// in the system's event log that names the program and its version, what
// the run was given, how it ended and, for a failure, the first step that
// failed, with the command it ran or the call it made and what the system
// or the child answered. An administrator reading it on a machine that
// reported a failure can tell what happened without running anything.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "child/child_outcome.h"

namespace vantrel {

// The first step that failed: what it was for, the command or call, and
// what came back.
struct StepFailure {
  std::wstring step, action, result;
  // Further lines that explain it (what the child printed).
  std::vector<std::wstring> details = {};
};

StepFailure ChildStepFailure(const std::wstring& step, const std::wstring& commandLine,
                             const ChildOutcome& outcome);

// "<caption>: <text>", as a question is named in the record.
std::wstring QuestionText(const Question& question);

struct RunEvent {
  std::wstring program;  // "Vantrel", "Vantrel remove"
  std::wstring outcome;  // "installed", "the INF installer failed"
  std::uint32_t exitCode = 0;
  bool failed = false;
  std::wstring subject;  // "Package: D:\\driver.7z"
  StepFailure failure;
  std::vector<Question> questions;
  // Last lines that say something about the whole run.
  std::vector<std::wstring> notes;
};

// The event's text, one line a string: short enough that a viewer or a
// debug channel that cuts long strings still shows each part whole. The
// questions that were left to the person at the screen are named too.
std::vector<std::wstring> RunEventLines(const RunEvent& event);

}  // namespace vantrel
