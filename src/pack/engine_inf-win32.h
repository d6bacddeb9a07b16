// The INF as setupapi reads it, with setupapi's own resolution of where a
// section's files go.
#pragma once

#include <memory>
#include <string>

#include "pack/pack_machine.h"

namespace vantrel {

class Win32EngineInfReader : public EngineInfReader {
 public:
  std::unique_ptr<EngineInf> OpenInf(const std::wstring& path) override;
};

}  // namespace vantrel
