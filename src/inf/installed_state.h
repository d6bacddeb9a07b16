// What an INF installer left on the machine, looked at once it has ended.
// Each query throws PlatformFailure, with the system's error, when the
// system cannot be asked.
#pragma once

#include <string>
#include <vector>

#include "inf/section_effects.h"
#include "inf/restart_renames.h"

namespace vantrel {

class InstalledState {
 public:
  virtual ~InstalledState() = default;

  virtual bool ServiceExists(const std::wstring& name) = 0;
  // In the view the INF installer wrote, unless the entry names one.
  virtual bool RegistryEntryExists(const RegistryEntry& entry) = 0;
  // The renames and deletions waiting for the next restart, in the order
  // the system keeps them.
  virtual std::vector<RestartRename> PendingRestartRenames() = 0;
};

}  // namespace vantrel
