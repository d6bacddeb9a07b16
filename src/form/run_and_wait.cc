#include "form/vantrel.h"
#include "run/child_step.h"

namespace vantrel {

ChildOutcome Vantrel::RunAndWait(const std::wstring& program, const std::wstring& commandLine,
                                 std::uint64_t boundMilliseconds, ChildStreams streams) {
  ChildStart start;
  start.program = program;
  start.commandLine = commandLine;
  start.streams = streams;
  start.boundMilliseconds = boundMilliseconds;
  return AwaitChild(run_, machine_, start);
}

}  // namespace vantrel
