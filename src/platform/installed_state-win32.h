// What the system holds after an install, asked of the service manager and
// the registry: services, registry entries in the INF installer's view, and
// the renames waiting for the next restart.
#pragma once

#include <string>
#include <vector>

#include "common/restart_renames.h"
#include "inf/install_work.h"

namespace vantrel {

bool ServiceInstalled(const std::wstring& name);
// `sixtyFourBitInstaller`: the INF installer's own view is the 64-bit one.
bool RegistryEntryPresent(const RegistryEntry& entry, bool sixtyFourBitInstaller);
std::vector<RestartRename> RestartRenames();

}  // namespace vantrel
