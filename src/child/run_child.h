// The one way the programs start a child and wait for it: hidden, from the
// full path of its program, inside the program's job, the thread's messages
// serviced while it runs. Questions the child asks are handled here, for
// every child alike: recorded, and declined where nobody can answer them.
// A child that neither ends nor asks anything for as long as its bound is
// ended with every process it started: nothing else would ever end the wait.
#pragma once

#include <cstdint>
#include <limits>
#include <string>

#include "child/child_outcome.h"
#include "child/child_watch.h"

namespace vantrel {

// For a child that somebody at a console watches and can stop himself.
constexpr std::uint64_t kNoBound = std::numeric_limits<std::uint64_t>::max();

// The programs set their bounds in minutes.
constexpr std::uint64_t BoundOfMinutes(std::uint64_t minutes) { return minutes * 60 * 1000; }

// `boundMilliseconds` is how long the child may run without ending and
// without a dialog waiting for an answer; the time a dialog waits is the
// person's, not the child's, so the bound starts afresh once it has closed.
ChildOutcome RunChild(Platform& platform, ChildWatch& children, const std::wstring& program,
                      const std::wstring& commandLine, ChildStreams streams,
                      std::uint64_t boundMilliseconds);

}  // namespace vantrel
