#include "pack/architecture_verdict.h"

#include <map>

#include "base/text.h"

namespace vantrel {

std::wstring BundleName(InfArchitecture architecture) {
  return architecture == InfArchitecture::kAmd64 ? L"the 64-bit bundle" : L"the 32-bit bundle";
}

std::vector<ArchitectureVerdict> JudgeArchitectures(
    const InfSource& inf, const std::function<bool(const SourceFile&)>& present) {
  std::vector<ArchitectureVerdict> verdicts;
  for (const InfArchitecture architecture : {InfArchitecture::kX86, InfArchitecture::kAmd64}) {
    const InstallPlan plan = PlanInstall(inf, architecture);
    verdicts.push_back({architecture, plan, LackingSources(plan, present)});
  }
  return verdicts;
}

std::function<std::wstring(const SourceFile&)> FindInFolder(const std::vector<std::wstring>& files,
                                                            const std::wstring& infName) {
  std::map<std::wstring, std::wstring> present;  // lowered path -> path
  for (const std::wstring& file : files) present[LowerAscii(file)] = file;
  present[LowerAscii(infName)] = infName;
  return [present](const SourceFile& file) {
    for (const std::wstring& path : {PlacePath(file), file.name}) {
      const auto found = present.find(LowerAscii(path));
      if (found != present.end()) return found->second;
    }
    return std::wstring();
  };
}

std::wstring CannotInstall(const ArchitectureVerdict& verdict, const std::wstring& holder) {
  const std::wstring platform = ArchitectureName(verdict.architecture);
  const std::wstring bundle = BundleName(verdict.architecture);
  if (verdict.plan.section.empty()) {
    return L"the INF has no install section for " + platform + L" (looked for " +
           SectionList(verdict.plan.tried) + L"): " + bundle + L" cannot install this package";
  }
  return L"the " + holder + L" lacks source files that [" + verdict.plan.section +
         L"] copies on " + platform + L", so " + bundle + L" cannot install this package: " +
         ShortList(verdict.lacking);
}

std::wstring FirstReason(const ArchitectureVerdict& verdict) {
  const std::wstring bundle = BundleName(verdict.architecture);
  if (verdict.plan.section.empty()) {
    return bundle + L" has no install section (looked for " + SectionList(verdict.plan.tried) +
           L")";
  }
  return bundle + L" lacks \"" + verdict.lacking.front() + L"\"";
}

}  // namespace vantrel
