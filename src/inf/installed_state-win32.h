// What the system holds after an install, asked of the service manager and
// the registry: services, registry entries in the INF installer's view, and
// the renames waiting for the next restart.
#pragma once

#include <string>
#include <vector>

#include "inf/installed_state.h"

namespace vantrel {

class Win32InstalledState : public InstalledState {
 public:
  bool ServiceExists(const std::wstring& name) override;
  // The INF installer's own view is that of this program's bitness.
  bool RegistryEntryExists(const RegistryEntry& entry) override;
  std::vector<RestartRename> PendingRestartRenames() override;
};

}  // namespace vantrel
