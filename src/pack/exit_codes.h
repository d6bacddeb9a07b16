// How vantrel-pack ends. Scripts and administrators act on these numbers, so
// they never change meaning.
#pragma once

namespace vantrel {

enum class PackExit : int {
  kMade = 0,           // the package was written (warnings may have been printed)
  kUsage = 1,          // the arguments are wrong
  kFolderRefused = 2,  // the folder is missing, or holds no INF, several INFs or subfolders
  kInfRefused = 3,     // the system cannot parse the INF, or it would not install from a package
  kMissingSource = 4,  // the INF names a source file the folder lacks
  kWriteFailed = 5,    // a cabinet or the archive could not be written
};

inline int ExitNumber(PackExit code) { return static_cast<int>(code); }

}  // namespace vantrel
