// The process exit codes, so that a deployment tool can tell a failed run
// from a good one. The first failure seen decides.
#pragma once

#include <cstdint>

namespace vantrel {

enum ExitStatus : std::uint32_t {
  kExitSuccess = 0,
  kExitNoArgument = 1,
  kExitPackageNotFound = 2,
  kExitUnpackFailed = 3,
  kExitNoInf = 4,
  kExitInstallFailed = 5,
  kExitInfCopyFailed = 6,
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
  // Installed, but what is missing waits for a rename at the next restart.
  // The number deployment tools take for "soft restart needed"; not a
  // failure.
  kExitRestartNeeded = 3010,
};

constexpr ExitStatus kLastExitStatus = kExitInstallIncomplete;

constexpr bool IsFailure(ExitStatus status) {
  return status != kExitSuccess && status != kExitRestartNeeded;
}

}  // namespace vantrel
