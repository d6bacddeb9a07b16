#include "inf/restart_renames.h"

#include <algorithm>

#include "base/text.h"

namespace vantrel {

namespace {

// The Win32 path of a stored one: without the replace mark and the
// "\??\" of the system's own namespace.
std::wstring Win32Path(const std::wstring& stored) {
  std::wstring path = stored;
  if (!path.empty() && path[0] == L'!') path.erase(0, 1);
  if (path.compare(0, 4, L"\\??\\") == 0) path.erase(0, 4);
  return path;
}

std::wstring Comparable(const std::wstring& stored) { return LowerAscii(Win32Path(stored)); }

}  // namespace

std::vector<RestartRename> QueuedSince(const std::vector<RestartRename>& before,
                                       const std::vector<RestartRename>& after) {
  std::vector<RestartRename> earlier = before;
  std::vector<RestartRename> queued;
  for (const RestartRename& rename : after) {
    const auto found = std::find_if(earlier.begin(), earlier.end(), [&](const RestartRename& old) {
      return old.from == rename.from && old.to == rename.to;
    });
    // The same operation queued twice is two operations.
    if (found != earlier.end()) earlier.erase(found);
    else queued.push_back(rename);
  }
  return queued;
}

std::wstring AffectedPath(const RestartRename& rename) {
  return Win32Path(rename.to.empty() ? rename.from : rename.to);
}

bool PutsFileAt(const std::vector<RestartRename>& renames, const std::wstring& path) {
  const std::wstring wanted = Comparable(path);
  return std::any_of(renames.begin(), renames.end(), [&](const RestartRename& rename) {
    return !rename.to.empty() && Comparable(rename.to) == wanted;
  });
}

}  // namespace vantrel
