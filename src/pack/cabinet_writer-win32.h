// MSZIP cabinets written by the system's cabinet library (cabinet.dll, FCI),
// the format Windows' own tools expand.
#pragma once

#include <string>
#include <vector>

namespace vantrel {

struct CabinetEntry {
  std::wstring source;  // full path
  std::wstring name;    // as stored: a bare name or a path below the cabinet's folder
};

// One cabinet at `cabinetPath` holding the files. The library's temporary
// files go beside the cabinet. Throws PlatformFailure naming the call, the
// file and the system's error.
void WriteCabinet(const std::wstring& cabinetPath, const std::vector<CabinetEntry>& files);

}  // namespace vantrel
