// What a deployment tool's detection rule tests for a package: the receipt
// an install of it writes, by the version its INF claims, or by the exact
// package where the tool compares no versions or the INF gives none.
#pragma once

#include <string>
#include <vector>

#include "inf/driver_version.h"
#include "inf/inf_source.h"

namespace vantrel {

struct DetectionView {
  DriverVer driverVer;  // ReadDriverVer of the INF
  std::wstring infName;        // the receipt's subkey: the INF as kept in %SystemRoot%\inf
  std::wstring packageSha256;  // empty for a folder not yet packed
};

// "HKEY_LOCAL_MACHINE\SOFTWARE\Vantrel\Packages\<INF name>", as the tools
// spell a key.
std::wstring ReceiptKeyPath(const DetectionView& view);
// DriverVer as read: its version and date, or why there is none usable.
std::wstring DriverVerText(const DetectionView& view);

struct DetectionRule {
  std::wstring tool;  // "Intune", "Configuration Manager", "exact package"
  std::wstring rule;  // what to set, in the words of the tool's console
};
// The rules to paste: by version where the INF gives one, always by the
// exact package.
std::vector<DetectionRule> DetectionRules(const DetectionView& view);

}  // namespace vantrel
