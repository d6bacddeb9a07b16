// MSZIP cabinets written by the system's cabinet library (cabinet.dll, FCI),
// the format Windows' own tools expand.
#pragma once

#include <string>
#include <vector>

namespace vantrel {

// One cabinet at `cabinetPath` holding the files (full paths) under their
// bare names. The library's temporary files go beside the cabinet. Throws
// PlatformFailure naming the call, the file and the system's error.
void WriteCabinet(const std::wstring& cabinetPath, const std::vector<std::wstring>& files);

}  // namespace vantrel
