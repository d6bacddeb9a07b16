#include "run/child_step.h"

#include "child/run_child.h"

namespace vantrel {

ChildOutcome AwaitChild(ProgramRun& run, Machine machine, const ChildStart& start) {
  ChildOutcome outcome = RunChild(machine.platform, machine.children, start);
  run.NoteQuestions(outcome.questions);
  return outcome;
}

bool NoteChildStep(ProgramRun& run, const ChildStep& step, const ChildOutcome& outcome,
                   bool done) {
  if (!done) {
    run.NoteFailure(outcome.EndedAtBoundOnly() ? step.endedAtBound : step.failed,
                    ChildStepFailure(step.name, step.commandLine, outcome));
  }
  return done;
}

}  // namespace vantrel
