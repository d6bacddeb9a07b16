#include "run/program_run.h"

#include <exception>

#include "base/resume.h"
#include "base/text.h"

namespace vantrel {

void ProgramRun::NoteFailure(std::uint32_t code, const StepFailure& failure) {
  if (code_ != 0) return;
  code_ = code;
  failure_ = failure;
}

bool ProgramRun::TakeLock(std::uint32_t noLock, std::uint32_t busy) {
  const auto refuse = [&](std::uint32_t code, const std::wstring& why) {
    NoteFailure(code, StepFailure{L"taking the install lock",
                                  std::wstring(L"Lock: ") + kInstallLockName, why});
    ReleaseLock();
    return false;
  };
  OpenedLock opened;
  const StatementResult opening = Resume([&] {
    opened = machine_.lock.OpenNamedMutex(kInstallLockName, kInstallLockAccess);
    lock_.reset(opened.mutex);
  });
  if (opening) return refuse(noLock, FromUtf8(opening.failure));
  // Anybody may make a mutex of this name first; waiting on theirs would
  // let them hold every install on the machine for as long as they like.
  if (opened.existed && !opened.ownedByAdministrators) {
    return refuse(noLock, L"the lock was made by " + opened.owner +
                              L", not by SYSTEM or the administrators: not a Vantrel run's; "
                              L"nothing was changed");
  }
  std::uint64_t start = 0;
  Resume([&] { start = machine_.platform.Milliseconds(); });
  bool taken = false;
  const StatementResult waiting = Resume(
      [&] { taken = machine_.lock.WaitForNamedMutex(lock_.get(), kInstallLockWaitMilliseconds); });
  if (waiting) return refuse(noLock, FromUtf8(waiting.failure));
  if (taken) return true;
  std::uint64_t waited = kInstallLockWaitMilliseconds;
  Resume([&] { waited = machine_.platform.Milliseconds() - start; });
  return refuse(busy, L"another run held it: waited " + std::to_wstring(waited / 1000) +
                          L" s; nothing was changed");
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

void ProgramRun::NoteQuestions(const std::vector<Question>& questions) {
  questions_.insert(questions_.end(), questions.begin(), questions.end());
}

void ProgramRun::NoteWaitingForRestart(const std::vector<std::wstring>& files,
                                       const std::wstring& during) {
  waitingForRestart_ = files;
  waitingDuring_ = during;
}

void ProgramRun::End(const std::wstring& subject) {
  const std::uint32_t code = code_ == 0 && WaitingForRestart() ? exits_.restartNeeded : code_;
  const ExitRow* row = exits_.Find(code);
  RunEvent event{exits_.program, row != nullptr ? row->outcome : L"unknown outcome", code,
                 row == nullptr || row->failure, subject, failure_, questions_, notes_};
  if (WaitingForRestart()) {
    event.notes.push_back(L"Waiting for the restart: " + ShortList(waitingForRestart_) +
                          L" (in use during " + waitingDuring_ + L")");
  }
  // A record that cannot be written changes nothing else.
  Resume([&] { machine_.events.WriteRunEvent(event.failed, code, RunEventLines(event)); });
  machine_.platform.EndProcess(code);
  // A platform whose end of process returned would run on into steps that
  // must not run.
  std::terminate();
}

}  // namespace vantrel
