#include "form/resume.h"
#include "form/scoped_handles.h"
#include "form/vantrel.h"

namespace vantrel {

namespace {
constexpr std::uint32_t kPollMilliseconds = 100;
}

ChildOutcome Vantrel::RunAndWait(const std::wstring& commandLine) {
  ChildOutcome outcome;
  // The handle that process creation gives is the one waited on: a process
  // number can be handed to another process once the child has ended.
  ScopedProcess process(platform_);
  Resume([&] {
    process.Reset(platform_.LaunchHidden(commandLine));
    outcome.started = true;
  });
  Resume([&] { platform_.PumpMessages(); });

  // "Ended" comes from the process object itself, so a child whose exit code
  // happens to be STILL_ACTIVE (259) is not waited on forever. A pass that
  // cannot tell (no process) ends the wait.
  bool running = false;
  do {
    running = false;
    Resume([&] {
      const bool stillRunning = platform_.IsProcessRunning(process.Get());
      if (!stillRunning) outcome.exitCode = platform_.GetExitCodeProcess(process.Get());
      running = stillRunning;
    });
    Resume([&] { platform_.PumpMessages(); });
    Resume([&] { platform_.Sleep(kPollMilliseconds); });
  } while (running);

  Resume([&] { process.Close(); });
  Resume([&] { platform_.PumpMessages(); });
  return outcome;
}

}  // namespace vantrel
