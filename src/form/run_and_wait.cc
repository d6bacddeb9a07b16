#include "form/resume.h"
#include "form/scoped_handles.h"
#include "form/vantrel.h"
#include "helpers/text.h"

namespace vantrel {

namespace {
// The longest a pass waits before it pumps messages again.
constexpr std::uint32_t kPassMilliseconds = 100;
}

ChildOutcome Vantrel::RunAndWait(const std::wstring& program, const std::wstring& commandLine) {
  ChildOutcome outcome;
  // The handle that process creation gives is the one waited on: a process
  // number can be handed to another process once the child has ended.
  ScopedProcess process(platform_);
  const StatementResult launch = Resume([&] {
    process.Reset(platform_.LaunchHidden(program, commandLine));
    outcome.started = true;
  });
  if (launch) outcome.failure = FromUtf8(launch.failure);
  Resume([&] { platform_.PumpMessages(); });

  // Each pass wakes as soon as the child ends or a message arrives, so the
  // wait costs nothing beyond the child's own run. "Ended" comes from the
  // process object itself: a child whose exit code happens to be
  // STILL_ACTIVE (259) is not waited on forever. A pass that cannot tell (no
  // process) ends the wait.
  bool ended = true;
  do {
    ended = true;
    Resume([&] { ended = platform_.AwaitProcessOrMessage(process.Get(), kPassMilliseconds); });
    Resume([&] { platform_.PumpMessages(); });
  } while (!ended);
  Resume([&] { outcome.exitCode = platform_.GetExitCodeProcess(process.Get()); });

  Resume([&] { process.Close(); });
  Resume([&] { platform_.PumpMessages(); });
  return outcome;
}

}  // namespace vantrel
