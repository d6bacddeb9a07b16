#include "form/vantrel.h"
#include "inf/install_shortfall.h"

namespace vantrel {

bool Vantrel::EffectsInPlace(const std::wstring& infPath, const std::wstring& section) {
  InstallShortfall shortfall;
  const StatementResult checking = Resume([&] {
    shortfall = FindInstallShortfall(machine_.inf, machine_.installed, infPath, section,
                                     run_.RenamesQueuedSince());
  });
  if (checking || !shortfall.missing.empty()) {
    run_.NoteFailure(
        kExitInstallIncomplete,
        StepFailure{L"checking what the INF installer did",
                    L"Section: [" + section + L"] of " + infPath,
                    ResultOf(checking, L"not in place: " + ShortList(shortfall.missing))});
    return false;
  }
  run_.NoteWaitingForRestart(shortfall.waiting,
                             L"the install; the system puts them in place as it starts again");
  return true;
}

}  // namespace vantrel
