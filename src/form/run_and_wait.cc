#include "child/run_child.h"
#include "form/vantrel.h"

namespace vantrel {

ChildOutcome Vantrel::RunAndWait(const std::wstring& program, const std::wstring& commandLine,
                                 std::uint64_t boundMilliseconds, ChildStreams streams) {
  ChildOutcome outcome =
      RunChild(platform_, machine_.children, program, commandLine, streams, boundMilliseconds);
  run_.NoteQuestions(outcome.questions);
  return outcome;
}

}  // namespace vantrel
