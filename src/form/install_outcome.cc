#include <memory>

#include "form/resume.h"
#include "form/vantrel.h"
#include "inf/install_work.h"

namespace vantrel {

namespace {

// What of a section's work is not in place.
struct Shortfall {
  std::vector<std::wstring> missing;
  // Files that a rename at the next restart puts in place.
  std::vector<std::wstring> waiting;
};

}  // namespace

bool Vantrel::InstalledWorkInPlace(const std::wstring& infPath, const std::wstring& section,
                                   const std::vector<RestartRename>* renamesBefore) {
  Shortfall shortfall;
  const StatementResult checking = Resume([&] {
    Shortfall found;
    // Without the renames from before the install, none counts as the
    // install's own.
    const std::vector<RestartRename> queued =
        renamesBefore == nullptr ? std::vector<RestartRename>()
                                 : QueuedSince(*renamesBefore, platform_.PendingRestartRenames());
    const std::unique_ptr<InfSource> inf = platform_.OpenInf(infPath);
    const ExpectedWork expected = ExpectWork(*inf, section);
    for (const CopiedFile& file : platform_.FilesOfSection(infPath, section)) {
      if (CopyInPlace(file, CopyFlagsOf(expected, file.target))) continue;
      (PutsFileAt(queued, file.target) ? found.waiting : found.missing).push_back(file.target);
    }
    for (const std::wstring& service : expected.services) {
      if (!platform_.ServiceExists(service)) found.missing.push_back(L"service " + service);
    }
    for (const RegistryEntry& entry : expected.registry) {
      if (!platform_.RegistryEntryExists(entry)) found.missing.push_back(RegistryEntryName(entry));
    }
    shortfall = found;
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
