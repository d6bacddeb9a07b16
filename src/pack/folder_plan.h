// The folder being packed: its INF, the files beside and below it, and the
// names of the package's cabinets.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace vantrel {

struct FolderPlan {
  std::wstring inf;                   // the one INF beside the others
  std::vector<std::wstring> payload;  // every other file, with its path
  std::wstring problem;               // non-empty: the folder is refused
};

// Only the top of the folder can hold the package's INF; an INF in a
// subfolder is a file like any other. A link is refused: the package would
// carry whatever it leads to, or the installer would refuse the package.
FolderPlan PlanFolder(const std::vector<TreeItem>& entries);

// foo.inf -> foo.in_, the usual name of a compressed file.
std::wstring CompressedInfName(const std::wstring& infName);

// The payload cabinet: the folder's own name with blanks as "_", plus ".cab";
// "payload.cab" for a folder without a name (a drive root).
std::wstring CabinetName(const std::wstring& folderPath);

}  // namespace vantrel
