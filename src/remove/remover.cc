#include "remove/remover.h"

#include <memory>

#include "base/resume.h"
#include "child/run_child.h"
#include "helpers/module1.h"
#include "base/text.h"
#include "inf/install_plan.h"
#include "record/receipt.h"
#include "remove/removal_argument.h"
#include "run/child_commands.h"
#include "remove/uninstall_bound.h"

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
  Remove(parsed.infName);
  run_.ReleaseLock();
  End();
}

void Remover::Remove(const std::wstring& infName) {
  // An install and a removal never overlap; without the lock nothing is run.
  if (!run_.TakeLock(kRemoveNoLock, kRemoveBusy)) return;

  std::wstring kept;
  const StatementResult locating =
      Resume([&] { kept = platform_.WindowsFolder() + L"\\inf\\" + infName; });
  if (locating || !FileExists(platform_, kept)) {
    // Removal is idempotent: what is not there is removed already.
    run_.NoteFailure(kRemoveNothingToRemove,
                     StepFailure{L"looking for the INF copy", L"Path: " + kept,
                                 ResultOf(locating, L"no such file; nothing to remove")});
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
  run_.ReadRenamesBefore();
  ChildOutcome uninstall;
  const StatementResult running = Resume([&] {
    uninstall =
        RunChild(platform_, machine_.children, InfInstallerProgram(platform_.SystemFolder()),
                 command, ChildStreams::kInherited, BoundOfMinutes(kUninstallBoundMinutes));
  });
  if (running) uninstall.failure = FromUtf8(running.failure);
  run_.NoteQuestions(uninstall.questions);
  // A declined question decides the code, as in the install.
  if (uninstall.Failed()) {
    run_.NoteFailure(uninstall.EndedAtBoundOnly() ? kRemoveEndedAtBound : kRemoveUninstallFailed,
                     ChildStepFailure(L"the INF uninstall", command, uninstall));
    return;
  }
  Resume([&] {
    std::vector<std::wstring> waiting;
    for (const RestartRename& rename : run_.RenamesQueuedSince()) {
      waiting.push_back(AffectedPath(rename));
    }
    run_.NoteWaitingForRestart(waiting, L"the uninstall");
  });

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

  // The package is gone once its uninstall ran, even where the copy could
  // not be deleted: its receipt must no longer claim it.
  bool hadReceipt = false;
  const StatementResult forgetting =
      Resume([&] { hadReceipt = machine_.receipts.DeleteReceipt(infName); });
  if (forgetting) {
    run_.NoteFailure(kRemoveCopyNotDeleted,
                     StepFailure{L"deleting the receipt", L"Key: " + ReceiptKeyName(infName),
                                 FromUtf8(forgetting.failure)});
    return;
  }
  run_.NoteLine(L"Receipt: " + ReceiptKeyName(infName) +
                (hadReceipt ? L" deleted" : L" was not there"));
}

void Remover::End() {
  run_.End(L"INF: " + (named_.empty() ? L"(none named)" : named_));
}

}  // namespace vantrel
