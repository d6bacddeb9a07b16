// What every program of the bundle does around its own work: it takes the
// install lock before it changes the machine, keeps the first failure,
// tells the restart renames it caused from those already waiting, writes
// one event and ends the process with the code of its table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "record/run_event.h"
#include "run/exit_table.h"
#include "run/machine.h"

namespace vantrel {

class ProgramRun {
 public:
  ProgramRun(Machine machine, const ExitTable& exits)
      : machine_(machine), exits_(exits), lock_(MutexCloser{&machine.lock}) {}

  // Keeps the first failure; later ones do not overwrite it.
  void NoteFailure(std::uint32_t code, const StepFailure& failure = StepFailure());

  // Takes the install lock, waiting a bounded time for a run that holds
  // it. Without it nothing may be changed: false, with the failure noted as
  // `busy` where another run held it all that time, as `noLock` where the
  // lock could not be made or opened, or somebody other than SYSTEM or the
  // administrators made it.
  bool TakeLock(std::uint32_t noLock, std::uint32_t busy);
  void ReleaseLock();

  // Reads the restart renames waiting before the program's child runs.
  void ReadRenamesBefore();
  // The renames queued since, each as the file it puts in place or
  // deletes; none where those from before could not be read, since then
  // none counts as the run's own.
  std::vector<RestartRename> RenamesQueuedSince();

  // What the record of the run says beyond its outcome: the questions the
  // children asked, lines about the whole run, and the files a rename or
  // deletion at the next restart finishes (`during`: "the install").
  void NoteQuestions(const std::vector<Question>& questions);
  void NoteLine(const std::wstring& line) { notes_.push_back(line); }
  void NoteWaitingForRestart(const std::vector<std::wstring>& files, const std::wstring& during);
  bool WaitingForRestart() const { return !waitingForRestart_.empty(); }

  // Writes the event (its program, outcome, code and failure filled in
  // here, `subject` naming what the run was given) and ends the process. A
  // run that ends well but leaves files waiting for the restart ends with
  // the table's restart code.
  [[noreturn]] void End(const std::wstring& subject);

 private:
  Machine machine_;
  const ExitTable& exits_;
  ScopedMutex lock_;
  std::uint32_t code_ = 0;
  StepFailure failure_;
  bool renamesBeforeRead_ = false;
  std::vector<RestartRename> renamesBefore_;
  std::vector<Question> questions_;
  std::vector<std::wstring> notes_;
  std::vector<std::wstring> waitingForRestart_;
  std::wstring waitingDuring_;
};

}  // namespace vantrel
