// What the command line asks vantrel-pack to do.
#pragma once

#include <string>
#include <vector>

namespace vantrel {

struct PackRequest {
  enum class Action { kHelp, kPack, kShow, kUsageError };
  Action action = Action::kUsageError;
  std::wstring source;  // the folder to pack; for kShow, the folder or the package
  bool json = false;    // kShow as one JSON object
  std::wstring output;
  std::wstring problem;  // for kUsageError
};

// The arguments after the program's name.
PackRequest ParseArguments(const std::vector<std::wstring>& arguments);

// Whether a full path lies inside a full folder path (ASCII case ignored, as
// the file system does). An archive written into the folder being packed
// would be packed itself on the next run.
bool IsInsideFolder(const std::wstring& path, const std::wstring& folder);

// The --help text, exit codes included.
std::wstring HelpText();

}  // namespace vantrel
