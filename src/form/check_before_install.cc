#include <memory>

#include "base/text.h"
#include "form/vantrel.h"
#include "helpers/module1.h"
#include "inf/install_plan.h"

namespace vantrel {

std::wstring Vantrel::WhyInfCannotInstall(const std::wstring& infPath, std::wstring& section) {
  const InfArchitecture architecture = machine_.inf.InstallerArchitecture();
  const std::unique_ptr<InfSource> inf = machine_.inf.OpenInf(infPath);
  const InstallPlan plan = PlanInstall(*inf, architecture);
  section = plan.section;
  if (plan.section.empty()) {
    return L"the INF has no install section for " + ArchitectureName(architecture) +
           L" (looked for " + SectionList(plan.tried) + L")";
  }
  const std::vector<std::wstring> missing = LackingSources(plan, [&](const SourceFile& file) {
    return FileExists(platform_, Temp + L"\\" + PlacePath(file));
  });
  if (missing.empty()) return std::wstring();
  return L"[" + plan.section + L"] copies source files the package lacks, which the INF "
         L"installer would wait for: " + ShortList(missing);
}

}  // namespace vantrel
