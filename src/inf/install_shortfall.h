// What an install section's effects lack once the INF installer has ended:
// the files, services and registry values it should have put in place.
#pragma once

#include <string>
#include <vector>

#include "inf/inf_engine.h"
#include "inf/installed_state.h"

namespace vantrel {

struct InstallShortfall {
  std::vector<std::wstring> missing;
  // Files that a rename at the next restart puts in place.
  std::vector<std::wstring> waiting;
};

// Reads the section's effects from the INF (its sources beside it) and the
// system; `queued` are the restart renames the INF installer added.
InstallShortfall FindInstallShortfall(InfEngine& engine, InstalledState& installed,
                                      const std::wstring& infPath, const std::wstring& section,
                                      const std::vector<RestartRename>& queued);

}  // namespace vantrel
