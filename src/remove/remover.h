// vantrel-remove: undoes what an INF that Vantrel installed did, through the
// INF's own DefaultUninstall section, and removes the INF copy that marks
// the machine as having the package, but only once the uninstall ran.
#pragma once

#include <string>

#include "remove/removal_argument.h"
#include "run/remove_exits.h"
#include "run/program_run.h"

namespace vantrel {

class Remover {
 public:
  explicit Remover(Machine machine)
      : machine_(machine), platform_(machine.platform), run_(machine, kRemoveExits) {}

  // The whole run: argument, lock, checks, uninstall, the copy, the record;
  // ends the process with its exit code.
  [[noreturn]] void Run();

 private:
  void Remove(const RemovalArgument& argument);
  // Deletes the INF name's receipt, noting in `hadReceipt` whether there
  // was one; false, with the failure noted as `step` (the system's words
  // followed by `after`), where it cannot.
  bool ForgetReceipt(const std::wstring& infName, const std::wstring& step,
                     const std::wstring& after, bool& hadReceipt);
  [[noreturn]] void End();

  Machine machine_;
  Platform& platform_;
  ProgramRun run_;
  std::wstring named_;
};

}  // namespace vantrel
