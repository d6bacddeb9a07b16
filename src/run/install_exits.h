// How vantrel.exe ends, so that a deployment tool can tell a failed run from
// a good one. The first failure seen decides. Deployment tools map these
// numbers, so they never change meaning; each code is one row of the table
// below, which the event, the event log's message table and the README's
// table are read from.
#pragma once

#include <cstdint>
#include <iterator>

#include "run/exit_table.h"

namespace vantrel {

enum ExitStatus : std::uint32_t {
  kExitSuccess = 0,
  kExitNoArgument = 1,
  kExitPackageNotFound = 2,
  kExitUnpackFailed = 3,
  kExitNoInf = 4,
  kExitInstallFailed = 5,
  // The INF copy or its receipt could not be written (or the INF bears the
  // name of an installed driver package's INF): the tools must not take the
  // package for installed.
  kExitInfCopyFailed = 6,
  // The install lock could not be created or taken: nothing is touched.
  kExitNoLock = 7,
  // The work folder could not be emptied or made afresh: whatever is in it
  // may be somebody else's, so nothing is installed from it.
  kExitWorkFolderNotPrepared = 7,
  // The INF has no install section for this platform, or names source
  // files the package lacks: the INF installer would do nothing, or ask for
  // a disk nobody has. It is not started.
  kExitInfNotInstallable = 8,
  // The INF installer ended well, but what its section copies, adds and
  // writes is not all in place: nothing else tells, since rundll32 always
  // ends with 0. No INF copy is kept.
  kExitInstallIncomplete = 9,
  // The INF installer ran for its bound without ending or asking anything
  // and was ended with everything it started. No INF copy is kept. Not
  // worth a retry: the same package would hang again.
  kExitInstallerEndedAtBound = 10,
  // Another run held the install lock for as long as a run waits: nothing
  // was touched. Windows Installer's "another installation is already in
  // progress", which the deployment tools retry.
  kExitBusy = 1618,
  // Installed, but what is missing waits for a rename at the next restart.
  // The number deployment tools take for "soft restart needed"; not a
  // failure.
  kExitRestartNeeded = 3010,
};

constexpr ExitRow kInstallExitRows[] = {
    {kExitSuccess, L"installed", false},
    {kExitNoArgument, L"no package named", true},
    {kExitPackageNotFound, L"the package was not found", true},
    {kExitUnpackFailed, L"the package could not be unpacked; nothing was installed", true},
    {kExitNoInf, L"the package holds no INF file; nothing was installed", true},
    {kExitInstallFailed, L"the INF installer failed", true},
    {kExitInfCopyFailed,
     L"the INF could not be copied into the system's INF folder, or its receipt could not be "
     L"written",
     true},
    {kExitNoLock,
     L"the install lock or the work folder could not be had; nothing was installed", true},
    {kExitInfNotInstallable, L"the INF cannot be installed here; nothing was installed", true},
    {kExitInstallIncomplete,
     L"the INF installer did not put everything in place; no INF copy is kept", true},
    {kExitInstallerEndedAtBound,
     L"the INF installer ran too long without ending or asking anything and was ended; no INF "
     L"copy is kept", true},
    {kExitBusy, L"another install or removal is in progress; nothing was installed", true},
    {kExitRestartNeeded, L"installed; a restart finishes the install", false},
};

constexpr ExitTable kInstallExits{L"Vantrel", kInstallExitRows, std::size(kInstallExitRows),
                                  kExitRestartNeeded, kExitNoLock, kExitBusy};

}  // namespace vantrel
