// How vantrel-remove ends. Deployment tools map these numbers, so they never
// change meaning. Apart from 0, 7, 1618 and 3010 they differ from every code
// of vantrel.exe: Intune and Configuration Manager take one list of codes for
// an application's install and uninstall commands alike, and those mean the
// same to both (7: the install lock could not be had, nothing was changed;
// 1618: another run held it, retry; 3010: a restart finishes the work).
#pragma once

#include <cstdint>
#include <iterator>

#include "run/exit_table.h"

namespace vantrel {

enum RemoveExit : std::uint32_t {
  kRemoved = 0,
  kRemoveNoLock = 7,            // the install lock could not be created or taken; nothing run
  kRemoveNoInfNamed = 11,       // no argument, or only blanks and quotes
  kRemoveNotABareName = 12,     // a path, a folder, a drive or wildcards
  kRemoveNothingToRemove = 13,  // no such INF in %SystemRoot%\inf: already removed
  kRemoveNoUninstall = 14,      // no DefaultUninstall for this platform; nothing run, copy kept
  kRemoveUninstallFailed = 15,  // did not start, ended non-zero, or its question was declined
  kRemoveCopyNotDeleted = 16,   // uninstalled, but the INF copy or its receipt could not be deleted
  kRemoveEndedAtBound = 17,     // the uninstall neither ended nor asked for its bound; copy kept
  // The INF copy was gone but its receipt was not: the receipt went, so the
  // detection rules no longer take the package for installed.
  kRemoveReceiptWithoutCopy = 18,
  // The removal named one package (kPackageSwitch), and the INF name holds
  // another, or one without a receipt: nothing was run, so a tool removing
  // an old version never takes a newer one away.
  kRemoveOtherPackage = 19,
  kRemoveBusy = 1618,           // another run held the lock as long as a run waits; nothing run
  // Removed, but files in use go at the next restart: "soft restart needed"
  // to the deployment tools, as for an install.
  kRemovedRestartNeeded = 3010,
};

constexpr ExitRow kRemoveExitRows[] = {
    {kRemoved, L"removed", false},
    {kRemoveNoLock, L"the install lock could not be taken; nothing was run", true},
    {kRemoveNoInfNamed, L"no INF named", true},
    {kRemoveNotABareName, L"not the name of an INF in the system's INF folder", true},
    // Nothing to remove is what a removal wants: not an error.
    {kRemoveNothingToRemove, L"nothing to remove", false},
    {kRemoveNoUninstall, L"the INF cannot be removed; nothing was run, its copy is kept", true},
    {kRemoveUninstallFailed, L"the uninstall failed; the INF copy is kept", true},
    {kRemoveCopyNotDeleted, L"uninstalled, but the INF copy or its receipt could not be deleted",
     true},
    {kRemoveEndedAtBound,
     L"the uninstall ran too long without ending or asking anything and was ended; the INF copy "
     L"is kept", true},
    // Neither leaves the package the command names in place, which is what
    // a tool asked for: the rules no longer find it, and a newer package
    // under the same INF name stays.
    {kRemoveReceiptWithoutCopy, L"the INF copy was gone; its receipt was removed", false},
    {kRemoveOtherPackage,
     L"another package is installed under this INF name; nothing was removed", false},
    {kRemoveBusy, L"another install or removal is in progress; nothing was run", true},
    {kRemovedRestartNeeded, L"removed; a restart finishes the removal", false},
};

constexpr ExitTable kRemoveExits{L"Vantrel remove", kRemoveExitRows, std::size(kRemoveExitRows),
                                 kRemovedRestartNeeded, kRemoveNoLock, kRemoveBusy};

}  // namespace vantrel
