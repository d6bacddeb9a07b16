#include "form/install_outcome.h"

#include <memory>

#include "form/resume.h"
#include "form/vantrel.h"
#include "inf/install_work.h"

namespace vantrel {

InstallShortfall FindInstallShortfall(Platform& platform, const std::wstring& infPath,
                                      const std::wstring& section,
                                      const std::vector<RestartRename>& queued) {
  InstallShortfall found;
  const std::unique_ptr<InfSource> inf = platform.OpenInf(infPath);
  const ExpectedWork expected = ExpectWork(*inf, section);
  for (const CopiedFile& file : platform.FilesOfSection(infPath, section)) {
    if (CopyInPlace(file, CopyFlagsOf(expected, file.target))) continue;
    (PutsFileAt(queued, file.target) ? found.waiting : found.missing).push_back(file.target);
  }
  for (const std::wstring& service : expected.services) {
    if (!platform.ServiceExists(service)) found.missing.push_back(L"service " + service);
  }
  for (const RegistryEntry& entry : expected.registry) {
    if (!platform.RegistryEntryExists(entry)) found.missing.push_back(RegistryEntryName(entry));
  }
  return found;
}

bool Vantrel::InstalledWorkInPlace(const std::wstring& infPath, const std::wstring& section,
                                   const std::vector<RestartRename>* renamesBefore) {
  InstallShortfall shortfall;
  const StatementResult checking = Resume([&] {
    // Without the renames from before the install, none counts as the
    // install's own.
    const std::vector<RestartRename> queued =
        renamesBefore == nullptr ? std::vector<RestartRename>()
                                 : QueuedSince(*renamesBefore, platform_.PendingRestartRenames());
    shortfall = FindInstallShortfall(platform_, infPath, section, queued);
  });
  if (checking || !shortfall.missing.empty()) {
    NoteFailure(kExitInstallIncomplete,
                StepFailure{L"checking what the INF installer did",
                            L"Section: [" + section + L"] of " + infPath,
                            ResultOf(checking, L"not in place: " + RecordList(shortfall.missing))});
    return false;
  }
  waitingForRestart_ = shortfall.waiting;
  return true;
}

}  // namespace vantrel
