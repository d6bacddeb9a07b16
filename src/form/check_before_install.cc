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
  // The 32-bit INF engine on 64-bit Windows takes the x86 or undecorated
  // section and writes into the 32-bit views: where the INF has a section
  // made for 64-bit Windows (for a driver, the only right one), that is the
  // wrong install, and the receipt would call it installed.
  if (architecture == InfArchitecture::kX86 && machine_.inf.RunsUnderWow64()) {
    const InstallPlan native = PlanInstall(*inf, InfArchitecture::kAmd64);
    if (!native.section.empty() && native.section == native.tried.front()) {
      return L"the INF has an install section for 64-bit Windows ([" + native.section +
             L"]), which this 32-bit Vantrel cannot install: install the package with the "
             L"64-bit bundle, vantrel-" VANTREL_VERSION_TEXT L"-win64";
    }
  }
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
