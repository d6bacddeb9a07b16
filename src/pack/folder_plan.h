// Which file of the folder goes where in the package, and the names of the
// cabinets. Cabinets hold bare names: Vantrel expands them straight into flat
// folders, so a subfolder could never reach the target.
#pragma once

#include <string>
#include <vector>

namespace vantrel {

struct FolderEntry {
  std::wstring name;
  bool isFolder = false;
};

struct FolderPlan {
  std::wstring inf;                   // the one INF
  std::vector<std::wstring> payload;  // every other file, for the cabinet
  std::wstring problem;               // non-empty: the folder is refused
};

FolderPlan PlanFolder(const std::vector<FolderEntry>& entries);

// foo.inf -> foo.in_, the usual name of a compressed file.
std::wstring CompressedInfName(const std::wstring& infName);

// The payload cabinet: the folder's own name with blanks as "_", plus ".cab";
// "payload.cab" for a folder without a name (a drive root).
std::wstring CabinetName(const std::wstring& folderPath);

}  // namespace vantrel
