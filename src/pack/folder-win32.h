// The folder being packed, and the private folder the cabinets are made in.
#pragma once

#include <string>

#include "platform/folder_tree-win32.h"

namespace vantrel {

bool IsFolder(const std::wstring& path);
bool IsFile(const std::wstring& path);
// Copies the file to `to`, making the folders on the way. Throws
// PlatformFailure.
void CopyFileMakingFolders(const std::wstring& from, const std::wstring& to);
// Deletes the file if it is there; throws PlatformFailure when it cannot.
void DeleteIfPresent(const std::wstring& path);

// A new folder under the user's temporary folder, removed with what it holds
// when the owner goes, whichever way the program leaves.
class StageFolder {
 public:
  StageFolder();
  ~StageFolder();
  StageFolder(const StageFolder&) = delete;
  StageFolder& operator=(const StageFolder&) = delete;
  const std::wstring& path() const { return path_; }

 private:
  std::wstring path_;
};

}  // namespace vantrel
