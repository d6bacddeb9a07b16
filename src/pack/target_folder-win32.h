// Where the INF engine puts a file-list section's files on this machine, as
// setupapi itself resolves [DestinationDirs] and its DIRIDs.
#pragma once

#include <string>

#include "inf/inf_file-win32.h"

namespace vantrel {

// `list` empty: the folder of "@file" copies (DefaultDestDir). Throws
// PlatformFailure naming setupapi's error.
std::wstring TargetFolder(const InfFile& inf, const std::wstring& list);

}  // namespace vantrel
