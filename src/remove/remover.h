// vantrel-remove: undoes what an INF that Vantrel installed did, through the
// INF's own DefaultUninstall section, and removes the INF copy that marks
// the machine as having the package, but only once the uninstall ran.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"
#include "record/run_event.h"
#include "remove/exit_codes.h"

namespace vantrel {

class Remover {
 public:
  explicit Remover(Platform& platform) : platform_(platform) {}

  // The whole run: argument, lock, checks, uninstall, the copy, the record;
  // ends the process with its exit code.
  [[noreturn]] void Run();

 private:
  void Remove(const std::wstring& infName);
  void NoteFailure(RemoveExit code, const StepFailure& failure = StepFailure());
  [[noreturn]] void End();

  Platform& platform_;
  RemoveExit exit_ = kRemoved;
  StepFailure failure_;
  std::wstring named_;
  std::vector<Question> questions_;
  // What the uninstall left for the next restart to rename or delete.
  std::vector<std::wstring> waitingForRestart_;
};

}  // namespace vantrel
