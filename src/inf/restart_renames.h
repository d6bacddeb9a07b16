// The file renames and deletions that the system carries out at the next
// restart, where an installer leaves the files it could not replace while
// they were in use.
#pragma once

#include <string>
#include <vector>

namespace vantrel {

// One pending operation as the system keeps it: "\??\C:\...\x.tmp" to
// "!\??\C:\...\x.sys" ("!": replacing what is there); no destination for a
// deletion.
struct RestartRename {
  std::wstring from;
  std::wstring to;
};

// The operations of `after` that `before` did not hold: the ones queued in
// between.
std::vector<RestartRename> QueuedSince(const std::vector<RestartRename>& before,
                                       const std::vector<RestartRename>& after);

// The file the operation puts in place, or for a deletion the one it
// deletes, as a Win32 path.
std::wstring AffectedPath(const RestartRename& rename);

// Whether one of the operations puts a file at that path.
bool PutsFileAt(const std::vector<RestartRename>& renames, const std::wstring& path);

}  // namespace vantrel
