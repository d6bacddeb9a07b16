#include "run/program_run.h"

#include <exception>

#include "base/resume.h"

namespace vantrel {

void ProgramRun::NoteFailure(std::uint32_t code, const StepFailure& failure) {
  if (code_ != 0) return;
  code_ = code;
  failure_ = failure;
}

bool ProgramRun::TakeLock(std::uint32_t noLock) {
  const StatementResult locking =
      Resume([&] { lock_.reset(machine_.lock.AcquireNamedMutex(kInstallLockName)); });
  if (!locking) return true;
  NoteFailure(noLock, StepFailure{L"taking the install lock",
                                  std::wstring(L"Lock: ") + kInstallLockName,
                                  FromUtf8(locking.failure)});
  return false;
}

void ProgramRun::ReleaseLock() {
  Resume([&] { lock_.reset(); });
}

void ProgramRun::ReadRenamesBefore() {
  renamesBeforeRead_ = false;
  Resume([&] {
    renamesBefore_ = machine_.installed.PendingRestartRenames();
    renamesBeforeRead_ = true;
  });
}

std::vector<RestartRename> ProgramRun::RenamesQueuedSince() {
  if (!renamesBeforeRead_) return {};
  return QueuedSince(renamesBefore_, machine_.installed.PendingRestartRenames());
}

void ProgramRun::End(RunEvent event, bool waitingForRestart) {
  const std::uint32_t code = code_ == 0 && waitingForRestart ? exits_.restartNeeded : code_;
  const ExitRow* row = exits_.Find(code);
  event.program = exits_.program;
  event.outcome = row != nullptr ? row->outcome : L"unknown outcome";
  event.exitCode = code;
  event.failed = row == nullptr || row->failure;
  event.failure = failure_;
  // A record that cannot be written changes nothing else.
  Resume([&] { machine_.events.WriteRunEvent(event.failed, code, RunEventLines(event)); });
  machine_.platform.EndProcess(code);
  // A platform whose end of process returned would run on into steps that
  // must not run.
  std::terminate();
}

}  // namespace vantrel
