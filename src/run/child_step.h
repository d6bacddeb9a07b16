// A step of a program's work that runs one child and waits for it, the same
// in every program. Starting the child is part of the step: what stops it
// (a program path the system cannot give, a process it cannot start) makes
// it a child that did not start, in the system's words. Its questions go
// into the run's record; where it did not do its work, the step's failure
// is noted with its command line.
#pragma once

#include <cstdint>
#include <string>

#include "base/resume.h"
#include "base/text.h"
#include "child/child_outcome.h"
#include "run/program_run.h"

namespace vantrel {

struct ChildStep {
  // As the record names the step: "the INF installer".
  std::wstring name;
  std::wstring commandLine;
  // What the program ends with where the child did not do its work, and
  // where it was ended at its bound with no question declined first.
  std::uint32_t failed = 0;
  std::uint32_t endedAtBound = 0;
};

// Starts the child hidden and waits for it (RunChild); the questions it
// asked are kept for the run's record.
ChildOutcome AwaitChild(ProgramRun& run, Machine machine, const ChildStart& start);

// Runs `child`, which starts one child and waits for it, as one statement.
template <typename Child>
ChildOutcome RunStepChild(Child&& child) {
  ChildOutcome outcome;
  const StatementResult running = Resume([&] { outcome = child(); });
  if (running) outcome.failure = FromUtf8(running.failure);
  return outcome;
}

// `done`, noting the step's failure where it is false.
bool NoteChildStep(ProgramRun& run, const ChildStep& step, const ChildOutcome& outcome, bool done);

// The INF engine installing or uninstalling, run by `child`: the restart
// renames waiting before it are read first, so that the run can tell those
// it queues. A declined question fails the step whatever rundll32's exit
// code says, and decides the code even where the engine then also ran into
// its bound.
template <typename Child>
ChildOutcome RunInfEngineStep(ProgramRun& run, const ChildStep& step, Child&& child) {
  run.ReadRenamesBefore();
  const ChildOutcome outcome = RunStepChild(child);
  NoteChildStep(run, step, outcome, !outcome.Failed());
  return outcome;
}

}  // namespace vantrel
