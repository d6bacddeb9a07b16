// The record of a run: one event in the system's event log that says which
// package was named, how the run ended and, for a failure, the first step
// that failed, with the command it ran or the call it made and what the
// system or the child answered. An administrator reading it on a machine
// that reported a failure can tell what happened without running anything.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "form/exit_status.h"

namespace vantrel {

// What one awaited child came to.
struct ChildOutcome {
  bool started = false;
  std::uint32_t exitCode = 0;
  // Why it did not start, as the system said it.
  std::wstring failure;
};

// The first step that failed: what it was for, the command or call, and
// what came back.
struct StepFailure {
  std::wstring step;
  std::wstring action;
  std::wstring result;
};

StepFailure ChildStepFailure(const std::wstring& step, const std::wstring& commandLine,
                             const ChildOutcome& outcome);

// The event's text, one line a string: short enough that a viewer or a
// debug channel that cuts long strings still shows each part whole.
std::vector<std::wstring> RunEventStrings(ExitStatus status, const std::wstring& packageNamed,
                                          const StepFailure& failure);

}  // namespace vantrel
