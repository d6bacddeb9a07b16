// For which architectures a package can install (the INF's x86 and amd64
// platform sections): each one's engine takes its own install section and
// reads its own source places, so one's files may be all there while
// another's are not.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "inf/inf_source.h"
#include "inf/install_plan.h"

namespace vantrel {

struct ArchitectureVerdict {
  InfArchitecture architecture = InfArchitecture::kX86;
  InstallPlan plan;
  // The places of the sources that are not there, in the INF's order.
  // Places outside the package are left to the engine, which may find them
  // on the target.
  std::vector<std::wstring> lacking;
  bool Installs() const { return !plan.section.empty() && lacking.empty(); }
};

// "the 32-bit bundle", "the 64-bit bundle": the one that installs for it.
std::wstring BundleName(InfArchitecture architecture);

// x86 first, then amd64.
std::vector<ArchitectureVerdict> JudgeArchitectures(
    const InfSource& inf, const std::function<bool(const SourceFile&)>& present);

// Where a source lies in a folder being packed: at its place, or else beside
// the INF. `files` are the folder's files relative to it. Gives its path as
// the folder spells it, empty where it is not there.
std::function<std::wstring(const SourceFile&)> FindInFolder(const std::vector<std::wstring>& files,
                                                            const std::wstring& infName);

// Why a platform cannot install, naming the bundle and, for lacking sources,
// up to ten of them; `holder` is what lacks them ("folder", "package").
std::wstring CannotInstall(const ArchitectureVerdict& verdict, const std::wstring& holder);

// The short reason, for a refusal that names every platform's.
std::wstring FirstReason(const ArchitectureVerdict& verdict);

}  // namespace vantrel
