#include "inf/install_shortfall.h"

#include <memory>

#include "inf/section_effects.h"

namespace vantrel {

InstallShortfall FindInstallShortfall(InfEngine& engine, InstalledState& installed,
                                      const std::wstring& infPath, const std::wstring& section,
                                      const std::vector<RestartRename>& queued) {
  InstallShortfall found;
  const std::unique_ptr<InfSource> inf = engine.OpenInf(infPath);
  const ExpectedEffects expected = ExpectEffects(*inf, section);
  // The engine copies what the sections the install section needs copy too.
  for (const std::wstring& processed : ProcessedSections(*inf, section)) {
    for (const CopiedFile& file : engine.FilesOfSection(infPath, processed)) {
      if (CopyInPlace(file, CopyFlagsOf(expected, file.target))) continue;
      (PutsFileAt(queued, file.target) ? found.waiting : found.missing).push_back(file.target);
    }
  }
  for (const std::wstring& service : expected.services) {
    if (!installed.ServiceExists(service)) found.missing.push_back(L"service " + service);
  }
  for (const RegistryEntry& entry : expected.registry) {
    if (!installed.RegistryEntryExists(entry)) found.missing.push_back(RegistryEntryName(entry));
  }
  return found;
}

}  // namespace vantrel
