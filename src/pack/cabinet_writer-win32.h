// MSZIP cabinets written by the system's cabinet library (cabinet.dll, FCI),
// the format Windows' own tools expand.
#pragma once

#include <string>
#include <vector>

#include "pack/pack_machine.h"

namespace vantrel {

// The library's temporary files go beside the cabinet.
class Win32CabinetWriter : public CabinetWriter {
 public:
  void WriteCabinet(const std::wstring& cabinetPath,
                    const std::vector<CabinetEntry>& files) override;
};

}  // namespace vantrel
