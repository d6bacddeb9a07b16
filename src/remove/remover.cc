#include "remove/remover.h"

#include <memory>

#include "base/resume.h"
#include "base/text.h"
#include "child/run_child.h"
#include "helpers/module1.h"
#include "inf/install_plan.h"
#include "record/receipt.h"
#include "remove/removal_argument.h"
#include "remove/uninstall_bound.h"
#include "run/child_commands.h"
#include "run/child_step.h"

namespace vantrel {

void Remover::Run() {
  std::wstring argument;
  const StatementResult reading = Resume([&] { argument = platform_.ArgumentText(); });
  const RemovalArgument parsed = ParseRemovalArgument(argument);
  named_ = TrimBlanks(RemoveDoubleQuotes(argument));
  if (reading || parsed.refusal != kRemoved) {
    run_.NoteFailure(reading ? kRemoveNoInfNamed : parsed.refusal,
                     StepFailure{L"reading the argument", L"Argument: " + argument,
                                 ResultOf(reading, parsed.problem)});
    End();
  }
  named_ = parsed.infName;
  if (!parsed.packageSha256.empty()) {
    run_.NoteLine(L"Only the package " + parsed.packageSha256 + L" (" + kPackageSwitch + L")");
  }
  Remove(parsed);
  run_.ReleaseLock();
  End();
}

void Remover::Remove(const RemovalArgument& argument) {
  // An install and a removal never overlap; without the lock nothing is run.
  if (!run_.TakeLock(kRemoveNoLock, kRemoveBusy)) return;

  // The install keeps the INF and its receipt under the INF's long name;
  // any other name that reaches the same file (its 8.3 form, another case)
  // must find both.
  std::wstring infName = argument.infName, folder;
  const StatementResult locating = Resume([&] {
    folder = platform_.WindowsFolder() + L"\\inf";
    const std::wstring found = LongPath(platform_, folder + L"\\" + infName);
    if (!found.empty()) infName = FileNameOf(found);
  });
  if (infName != argument.infName) named_ = argument.infName + L" (kept as " + infName + L")";
  const std::wstring kept = folder + L"\\" + infName;
  const bool copyThere = !locating && FileExists(platform_, kept);

  // A tool removing one package must never take away the one a later
  // version put under the same name, nor one whose receipt cannot say.
  if (!argument.packageSha256.empty()) {
    Receipt receipt;
    bool hasReceipt = false;
    const StatementResult reading =
        Resume([&] { hasReceipt = machine_.receipts.ReadReceipt(infName, receipt); });
    if (!reading && !hasReceipt && !copyThere) {
      run_.NoteFailure(kRemoveNothingToRemove,
                       StepFailure{L"looking for the INF copy", L"Path: " + kept,
                                   L"no such file and no receipt; nothing to remove"});
      return;
    }
    if (reading || !hasReceipt || LowerAscii(receipt.packageSha256) != argument.packageSha256) {
      std::wstring problem = L"no receipt: which package the INF copy is cannot be told";
      if (hasReceipt) problem = L"it names the package " + receipt.packageSha256;
      if (hasReceipt && !receipt.version.empty()) problem += L" (version " + receipt.version + L")";
      run_.NoteFailure(kRemoveOtherPackage,
                       StepFailure{L"reading the receipt", L"Key: " + ReceiptKeyName(infName),
                                   ResultOf(reading, problem + L"; nothing was removed")});
      return;
    }
  }

  // A receipt whose copy is gone would claim the package for ever: it goes.
  // Nothing is uninstalled, so what the INF did stays where it is.
  bool hadReceipt = false;
  if (!copyThere) {
    if (!ForgetReceipt(infName, L"deleting the receipt of an INF copy that is gone", L"",
                       hadReceipt)) {
      return;
    }
    if (hadReceipt) {
      run_.NoteFailure(kRemoveReceiptWithoutCopy,
                       StepFailure{L"looking for the INF copy", L"Path: " + kept,
                                   L"no such file, but a receipt; the receipt was deleted, "
                                   L"nothing was uninstalled"});
      run_.NoteLine(L"Receipt: " + ReceiptKeyName(infName) + L" deleted (its INF copy was gone)");
    } else {
      // Removal is idempotent: what is not there is removed already.
      run_.NoteFailure(kRemoveNothingToRemove,
                       StepFailure{L"looking for the INF copy", L"Path: " + kept,
                                   ResultOf(locating, L"no such file; nothing to remove")});
    }
    return;
  }

  // Only an INF that says how to undo itself, for the engine of this
  // platform, is handed to the INF installer: without one, rundll32 would
  // end with 0 having done nothing, and the copy would go.
  InstallPlan plan;
  const StatementResult checking = Resume([&] {
    const std::unique_ptr<InfSource> inf = machine_.inf.OpenInf(kept);
    plan = PlanInstall(*inf, machine_.inf.InstallerArchitecture(), L"DefaultUninstall");
  });
  if (checking || plan.section.empty()) {
    const std::wstring platform = ArchitectureName(machine_.inf.InstallerArchitecture());
    run_.NoteFailure(kRemoveNoUninstall,
                     StepFailure{L"checking the INF", L"INF: " + kept,
                                 ResultOf(checking, L"no uninstall section for " + platform +
                                                        L" (looked for " + SectionList(plan.tried) +
                                                        L")")});
    return;
  }

  std::wstring target = kept;
  Resume([&] { target = ShortFormOrPath(platform_, kept); });
  const std::wstring command = UninstallInfCommand(target);
  // Files in use are renamed or deleted at the next restart.
  const ChildOutcome uninstall = RunInfEngineStep(
      run_, {L"the INF uninstall", command, kRemoveUninstallFailed, kRemoveEndedAtBound}, [&] {
        return AwaitChild(run_, machine_,
                          {InfInstallerProgram(platform_.SystemFolder()), command, std::wstring(),
                           ChildStreams::kInherited, BoundOfMinutes(kUninstallBoundMinutes)});
      });
  if (uninstall.Failed()) return;
  Resume([&] {
    std::vector<std::wstring> waiting;
    for (const RestartRename& rename : run_.RenamesQueuedSince()) {
      waiting.push_back(AffectedPath(rename));
    }
    run_.NoteWaitingForRestart(waiting, L"the uninstall");
  });

  // The package is gone once its uninstall ran: the receipt goes first, so
  // that a removal ended half-way leaves at most a copy without a receipt,
  // which the rules take for not installed and the next removal takes away.
  if (!ForgetReceipt(infName, L"deleting the receipt", L"; the INF copy is kept", hadReceipt)) {
    return;
  }
  run_.NoteLine(L"Receipt: " + ReceiptKeyName(infName) +
                (hadReceipt ? L" deleted" : L" was not there"));
  // The copy goes with the precompiled form setupapi may have made of it.
  ShellOutcome shell;
  bool deleted = false;
  const StatementResult deleting = Resume([&] { deleted = DeleteFolder(platform_, kept, &shell); });
  if (!deleted || FileExists(platform_, kept)) {
    run_.NoteFailure(kRemoveCopyNotDeleted,
                     StepFailure{L"deleting the INF copy", L"Delete: " + kept,
                                 ResultOf(deleting, DescribeShellOutcome(shell))});
  }
  const std::wstring compiled = kept.substr(0, kept.size() - 4) + L".pnf";
  // Where setupapi made none, nothing is deleted.
  Resume([&] { DeleteFolder(platform_, compiled); });
}

bool Remover::ForgetReceipt(const std::wstring& infName, const std::wstring& step,
                            const std::wstring& after, bool& hadReceipt) {
  const StatementResult forgetting =
      Resume([&] { hadReceipt = machine_.receipts.DeleteReceipt(infName); });
  if (!forgetting) return true;
  run_.NoteFailure(kRemoveCopyNotDeleted, StepFailure{step, L"Key: " + ReceiptKeyName(infName),
                                                      FromUtf8(forgetting.failure) + after});
  return false;
}

void Remover::End() {
  run_.End(L"INF: " + (named_.empty() ? L"(none named)" : named_));
}

}  // namespace vantrel
