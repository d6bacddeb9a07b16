// What each deployment tool needs to deploy one package: its detection
// rule, the install and removal commands, what each return code of both
// programs means to it, what it does about a restart and which Windows each
// bundle's app is for, in the tool's own words.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "inf/inf_source.h"
#include "pack/package_view.h"
#include "run/exit_table.h"

namespace vantrel {

struct ToolReturnCode {
  std::uint32_t code;
  ToolOutcome outcome;
};
// Both programs' codes, each once, ordered by outcome, then code: Intune and
// Configuration Manager keep one list for an app's install and uninstall
// commands, and the codes the two share mean the same to both.
std::vector<ToolReturnCode> ToolReturnCodes();

// The Windows a bundle's app is for, as Intune names them ("x86", "x64"):
// the 64-bit bundle is for 64-bit Windows. The 32-bit bundle is for 32-bit
// Windows, and for 64-bit Windows too unless the INF has an install section
// of its own for it, which the 32-bit bundle refuses there. None for a
// bundle that cannot install the package.
std::vector<std::wstring> WindowsArchitectures(const PackageView& view, InfArchitecture bundle);

struct ToolView {
  std::wstring tool;
  std::wstring detection;
  std::wstring install;
  std::wstring uninstall;
  // Each code with what the tool makes of it, in its words.
  std::vector<std::pair<std::uint32_t, std::wstring>> returnCodes;
  std::wstring restart;
  // Each bundle that installs the package, with the Windows it is for.
  std::vector<std::pair<InfArchitecture, std::wstring>> requirements;
};
// Intune, Configuration Manager, Group Policy and Ansible, the order of the
// deployment guide.
std::vector<ToolView> ToolViews(const PackageView& view);

}  // namespace vantrel
