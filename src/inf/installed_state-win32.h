// What the system holds after an install, asked of the service manager and
// the registry: services, registry entries in the INF installer's view, and
// the renames waiting for the next restart.
#pragma once

#include <string>
#include <vector>

#include "inf/inf_engine-win32.h"
#include "inf/installed_state.h"

namespace vantrel {

bool ServiceInstalled(const std::wstring& name);
// `sixtyFourBitInstaller`: the INF installer's own view is the 64-bit one.
bool RegistryEntryPresent(const RegistryEntry& entry, bool sixtyFourBitInstaller);
std::vector<RestartRename> RestartRenames();

class Win32InstalledState : public InstalledState {
 public:
  bool ServiceExists(const std::wstring& name) override { return ServiceInstalled(name); }
  // This program's INF installer has its own bitness.
  bool RegistryEntryExists(const RegistryEntry& entry) override {
    return RegistryEntryPresent(entry, kInstallerArchitecture == InfArchitecture::kAmd64);
  }
  std::vector<RestartRename> PendingRestartRenames() override { return RestartRenames(); }
};

}  // namespace vantrel
