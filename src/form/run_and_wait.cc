#include "child/run_child.h"
#include "form/vantrel.h"

namespace vantrel {

ChildOutcome Vantrel::RunAndWait(const std::wstring& program, const std::wstring& commandLine,
                                 std::uint64_t boundMilliseconds, ChildStreams streams) {
  ChildStart start;
  start.program = program;
  start.commandLine = commandLine;
  start.streams = streams;
  start.boundMilliseconds = boundMilliseconds;
  ChildOutcome outcome = RunChild(platform_, machine_.children, start);
  run_.NoteQuestions(outcome.questions);
  return outcome;
}

}  // namespace vantrel
