// What a deployment tool's detection rule tests for a package: the receipt
// an install of it writes, naming exactly that package. A rule by version
// would also find a newer package under the same INF name, or miss a
// rebuilt one of the same version; the package's SHA-256 finds this one
// only, so a rule never matches two packages and supersedence cannot loop.
#pragma once

#include <string>
#include <vector>

#include "inf/driver_version.h"
#include "inf/inf_source.h"
#include "record/receipt.h"

namespace vantrel {

struct DetectionView {
  DriverVer driverVer;  // ReadDriverVer of the INF
  std::wstring infName;        // the receipt's subkey: the INF as kept in %SystemRoot%\inf
  std::wstring packageSha256;  // empty for a folder not yet packed
};

// DriverVer as read: its version and date, or why there is none usable.
std::wstring DriverVerText(const DetectionView& view);
// The package's SHA-256, or for a folder not yet packed, where to find it.
std::wstring PackageSha256Text(const DetectionView& view);

struct DetectionRule {
  std::wstring tool;  // "Intune", "Configuration Manager", "Group Policy", "Ansible"
  std::wstring rule;  // what to set, in the words of the tool's console or recipe
};
// Every tool's rule, in the order of the deployment guide.
std::vector<DetectionRule> DetectionRules(const DetectionView& view);

}  // namespace vantrel
