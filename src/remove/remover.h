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
  // Where the INF copy is gone: takes away a receipt that would otherwise
  // claim the package for ever. False where there was none either.
  bool ForgetReceiptWithoutCopy(const std::wstring& infName, const std::wstring& kept);
  // Deletes the receipt before the copy, so that no receipt ever names a
  // copy that is not there; false, with the failure noted, where it
  // cannot, and the copy then stays for the next removal.
  bool ForgetReceipt(const std::wstring& infName);
  [[noreturn]] void End();

  Machine machine_;
  Platform& platform_;
  ProgramRun run_;
  std::wstring named_;
};

}  // namespace vantrel
