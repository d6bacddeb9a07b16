// The one way the programs start a child and wait for it: hidden, from the
// full path of its program, inside the program's job, the thread's messages
// serviced while it runs. Questions the child asks are handled here, for
// every child alike: recorded, and declined where nobody can answer them.
// A child that neither ends nor asks anything for as long as its bound is
// ended with every process it started: nothing else would ever end the wait.
#pragma once

#include <cstdint>
#include <string>

#include "child/child_outcome.h"
#include "child/child_watch.h"

namespace vantrel {

// The programs set their bounds in minutes.
constexpr std::uint64_t BoundOfMinutes(std::uint64_t minutes) { return minutes * 60 * 1000; }

// The start's bound is how long the child may run without ending and
// without a question waiting for an answer somebody can give; the time a
// question waits is the person's, not the child's, so the bound starts
// afresh once it has closed, for QuestionWatch::kHoldCeilingMinutes in all.
// Dialogs open for less than a question's settling time hold nothing. The
// wait ends whatever the child does: once it was ended, at its bound or
// after a declined question, it is waited for a grace time at most.
ChildOutcome RunChild(Platform& platform, ChildWatch& children, const ChildStart& start);

}  // namespace vantrel
