#include "form/vantrel.h"
#include "run/child_step.h"

namespace vantrel {

ChildOutcome Vantrel::RunAndWait(const std::wstring& program, const std::wstring& commandLine,
                                 std::uint64_t boundMilliseconds, ChildStreams streams) {
  return AwaitChild(run_, machine_,
                    {program, commandLine, std::wstring(), streams, boundMilliseconds});
}

}  // namespace vantrel
