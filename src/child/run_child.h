// The one way the programs start a child and wait for it: hidden, from the
// full path of its program, inside the program's job, the thread's messages
// serviced while it runs. Questions the child asks are handled here, for
// every child alike: recorded, and declined where nobody can answer them.
#pragma once

#include <string>

#include "child/child_outcome.h"
#include "child/child_watch.h"

namespace vantrel {

ChildOutcome RunChild(Platform& platform, ChildWatch& children, const std::wstring& program,
                      const std::wstring& commandLine, ChildStreams streams);

}  // namespace vantrel
