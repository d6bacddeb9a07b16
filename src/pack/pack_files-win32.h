// The package builder's files and folders on Windows: the folder packed, the
// package written and the stage folder under the user's temporary folder.
#pragma once

#include <string>
#include <vector>

#include "pack/pack_machine.h"

namespace vantrel {

class Win32PackFiles : public PackFiles {
 public:
  std::wstring FullPath(const std::wstring& path) override;
  bool IsFolder(const std::wstring& path) override;
  bool IsFile(const std::wstring& path) override;
  std::vector<TreeItem> ListTree(const std::wstring& folder) override;
  void CopyFileMakingFolders(const std::wstring& from, const std::wstring& to) override;
  void DeleteIfPresent(const std::wstring& path) override;
  std::wstring MakeStageFolder() override;
  std::wstring FileSha256(const std::wstring& path) override;
};

}  // namespace vantrel
