// How vantrel-remove ends. Deployment tools map these numbers, so they never
// change meaning.
#pragma once

#include <cstdint>

namespace vantrel {

enum RemoveExit : std::uint32_t {
  kRemoved = 0,
  kRemoveNoInfNamed = 1,        // no argument, or only blanks and quotes
  kRemoveNotABareName = 2,      // a path, a folder, a drive or wildcards
  kRemoveNothingToRemove = 3,   // no such INF in %SystemRoot%\inf: already removed
  kRemoveNoUninstall = 4,       // no DefaultUninstall for this platform; nothing run, copy kept
  kRemoveUninstallFailed = 5,   // did not start, ended non-zero, or its question was declined
  kRemoveCopyNotDeleted = 6,    // uninstalled, but the INF copy could not be deleted
};

// Its events sit apart from the install's in the same log: event id = this.
constexpr std::uint32_t kRemoveEventBase = 100;

}  // namespace vantrel
