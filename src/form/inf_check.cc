#include <memory>

#include "form/vantrel.h"
#include "helpers/module1.h"
#include "inf/install_plan.h"

namespace vantrel {

namespace {
// The record names this many missing files; a count stands for the rest.
constexpr std::size_t kMissingNamed = 10;
}  // namespace

std::wstring Vantrel::WhyInfCannotInstall(const std::wstring& infPath) {
  const InfArchitecture architecture = platform_.InstallerArchitecture();
  const std::unique_ptr<InfSource> inf = platform_.OpenInf(infPath);
  const InstallPlan plan = PlanInstall(*inf, architecture);
  if (plan.section.empty()) {
    return L"the INF has no install section for " + ArchitectureName(architecture) +
           L" (looked for " + SectionList(plan.tried) + L")";
  }
  // Places outside the package are the INF's own business: the engine may
  // well find them on the machine.
  std::vector<std::wstring> missing;
  for (const SourceFile& file : plan.sources) {
    if (!file.outside && !FileExists(platform_, Temp + L"\\" + PlacePath(file))) {
      missing.push_back(PlacePath(file));
    }
  }
  if (missing.empty()) return std::wstring();
  std::wstring named;
  for (std::size_t i = 0; i < missing.size() && i < kMissingNamed; ++i) {
    named += (i == 0 ? L"" : L", ") + missing[i];
  }
  if (missing.size() > kMissingNamed) {
    named += L" and " + std::to_wstring(missing.size() - kMissingNamed) + L" more";
  }
  return L"[" + plan.section + L"] copies source files the package lacks, which the INF "
         L"installer would wait for: " + named;
}

}  // namespace vantrel
