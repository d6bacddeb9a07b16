#include "remove/remover.h"

#include <exception>
#include <memory>

#include "child/run_child.h"
#include "common/install_lock.h"
#include "form/resume.h"
#include "form/scoped_handles.h"
#include "helpers/module1.h"
#include "helpers/text.h"
#include "inf/install_plan.h"
#include "remove/removal_argument.h"

namespace vantrel {

namespace {

const wchar_t* OutcomeText(RemoveExit code) {
  switch (code) {
    case kRemoved: return L"removed";
    case kRemoveNoInfNamed: return L"no INF named";
    case kRemoveNotABareName: return L"not the name of an INF in the system's INF folder";
    case kRemoveNothingToRemove: return L"nothing to remove";
    case kRemoveNoUninstall: return L"the INF cannot be removed; nothing was run, its copy is kept";
    case kRemoveUninstallFailed: return L"the uninstall failed; the INF copy is kept";
    case kRemoveCopyNotDeleted: return L"uninstalled, but the INF copy could not be deleted";
    case kRemoveNoLock: return L"the install lock could not be taken; nothing was run";
    case kRemovedRestartNeeded: return L"removed; a restart finishes the removal";
  }
  return L"unknown outcome";
}

}  // namespace

void Remover::Run() {
  std::wstring argument;
  const StatementResult reading = Resume([&] { argument = platform_.ArgumentText(); });
  const RemovalArgument parsed = ParseRemovalArgument(argument);
  named_ = TrimBlanks(RemoveDoubleQuotes(argument));
  if (reading || parsed.refusal != kRemoved) {
    NoteFailure(reading ? kRemoveNoInfNamed : parsed.refusal,
                StepFailure{L"reading the argument", L"Argument: " + argument,
                            ResultOf(reading, parsed.problem)});
    End();
  }
  named_ = parsed.infName;
  Remove(parsed.infName);
  End();
}

void Remover::Remove(const std::wstring& infName) {
  ScopedMutex lock(platform_);
  // An install and a removal never overlap; without the lock nothing is run.
  const StatementResult locking =
      Resume([&] { lock.Reset(platform_.AcquireNamedMutex(kInstallLockName)); });
  if (locking) {
    NoteFailure(kRemoveNoLock, StepFailure{L"taking the install lock",
                                           std::wstring(L"Lock: ") + kInstallLockName,
                                           FromUtf8(locking.failure)});
    return;
  }

  std::wstring kept;
  const StatementResult locating =
      Resume([&] { kept = platform_.WindowsFolder() + L"\\inf\\" + infName; });
  if (locating || !FileExists(platform_, kept)) {
    // Removal is idempotent: what is not there is removed already.
    NoteFailure(kRemoveNothingToRemove,
                StepFailure{L"looking for the INF copy", L"Path: " + kept,
                            ResultOf(locating, L"no such file; nothing to remove")});
    return;
  }

  // Only an INF that says how to undo itself, for the engine of this
  // platform, is handed to the INF installer: without one, rundll32 would
  // end with 0 having done nothing, and the copy would go.
  InstallPlan plan;
  const StatementResult checking = Resume([&] {
    const std::unique_ptr<InfSource> inf = platform_.OpenInf(kept);
    plan = PlanInstall(*inf, platform_.InstallerArchitecture(), L"DefaultUninstall");
  });
  if (checking || plan.section.empty()) {
    NoteFailure(kRemoveNoUninstall,
                StepFailure{L"checking the INF", L"INF: " + kept,
                            ResultOf(checking, L"no uninstall section for " +
                                                   ArchitectureName(platform_.InstallerArchitecture()) +
                                                   L" (looked for " + SectionList(plan.tried) + L")")});
    return;
  }

  std::wstring target = kept;
  Resume([&] {
    const std::wstring shortForm = ShortPath(platform_, kept);
    if (!shortForm.empty()) target = shortForm;
  });
  const std::wstring command = L"rundll32 setupapi,InstallHinfSection DefaultUninstall 128 " + target;
  // Files in use are renamed or deleted at the next restart.
  std::vector<RestartRename> renamesBefore;
  const StatementResult beforeRenames =
      Resume([&] { renamesBefore = platform_.PendingRestartRenames(); });
  ChildOutcome uninstall;
  const StatementResult running = Resume([&] {
    uninstall = RunChild(platform_, platform_.SystemFolder() + L"\\rundll32.exe", command,
                         ChildStreams::kInherited);
  });
  if (running) uninstall.failure = FromUtf8(running.failure);
  questions_ = uninstall.questions;
  if (!uninstall.started || uninstall.exitCode != 0 || uninstall.declined) {
    NoteFailure(kRemoveUninstallFailed, ChildStepFailure(L"the INF uninstall", command, uninstall));
    return;
  }
  // Without the renames from before, none counts as the uninstall's own.
  if (!beforeRenames) {
    Resume([&] {
      std::vector<std::wstring> waiting;
      for (const RestartRename& rename :
           QueuedSince(renamesBefore, platform_.PendingRestartRenames())) {
        waiting.push_back(AffectedPath(rename));
      }
      waitingForRestart_ = waiting;
    });
  }

  // The copy goes with the precompiled form setupapi may have made of it.
  ShellOutcome shell;
  bool deleted = false;
  const StatementResult deleting = Resume([&] { deleted = DeleteFolder(platform_, kept, &shell); });
  if (!deleted || FileExists(platform_, kept)) {
    NoteFailure(kRemoveCopyNotDeleted, StepFailure{L"deleting the INF copy", L"Delete: " + kept,
                                                   ResultOf(deleting, DescribeShellOutcome(shell))});
  }
  const std::wstring compiled = kept.substr(0, kept.size() - 4) + L".pnf";
  Resume([&] {
    if (FileExists(platform_, compiled)) DeleteFolder(platform_, compiled);
  });
}

void Remover::NoteFailure(RemoveExit code, const StepFailure& failure) {
  if (exit_ != kRemoved) return;
  exit_ = code;
  failure_ = failure;
}

void Remover::End() {
  const RemoveExit code =
      exit_ == kRemoved && !waitingForRestart_.empty() ? kRemovedRestartNeeded : exit_;
  RunEvent event;
  event.program = L"Vantrel remove";
  event.outcome = OutcomeText(code);
  event.exitCode = code;
  // Nothing to remove is what a removal wants: not an error.
  event.failed =
      code != kRemoved && code != kRemoveNothingToRemove && code != kRemovedRestartNeeded;
  event.subject = L"INF: " + (named_.empty() ? std::wstring(L"(none named)") : named_);
  event.failure = failure_;
  event.questions = questions_;
  if (!waitingForRestart_.empty()) {
    event.notes.push_back(L"Waiting for the restart: " + RecordList(waitingForRestart_) +
                          L" (in use during the uninstall)");
  }
  Resume([&] {
    platform_.WriteRunEvent(event.failed, code, RunEventLines(event));
  });
  platform_.EndProcess(code);
  std::terminate();
}

}  // namespace vantrel
