// What one awaited child came to: whether it started, how it ended, what it
// asked and what it said. Read by the record of the run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vantrel {

// A dialog that stayed open waiting for an answer.
struct Question {
  std::wstring caption;
  std::wstring text;
  // Answered Cancel on the program's behalf: nobody could have answered it.
  bool declined = false;
};

struct ChildOutcome {
  bool started = false;
  std::uint32_t exitCode = 0;
  // Why it did not start, as the system said it.
  std::wstring failure;
  // Every question it asked, in the order they were seen.
  std::vector<Question> questions;
  // A question was declined: whatever the exit code says, the child did
  // not do its work.
  bool declined = false;
  // It ran for its bound without ending or asking anything and was ended,
  // with every process it started; `quietMilliseconds` is how long that was.
  bool endedAtBound = false;
  std::uint64_t quietMilliseconds = 0;
  // The lines of a captured child's output worth keeping for the record:
  // its error lines first, then its last lines, about 1 KB in all.
  std::vector<std::wstring> output;

  // It did not do its work: it did not start, ended with a code above the
  // worst its program still counts as done, a question was declined, or it
  // was ended at its bound.
  bool Failed(std::uint32_t worstGoodExit = 0) const {
    return !started || exitCode > worstGoodExit || declined || endedAtBound;
  }
  // Ended at its bound with no question declined first: a declined question
  // is what the record names where there was one.
  bool EndedAtBoundOnly() const { return endedAtBound && !declined; }
};

}  // namespace vantrel
