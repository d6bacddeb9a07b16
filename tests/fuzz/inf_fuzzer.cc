// Feeds arbitrary INF text through the INF reading: the plan made before the
// INF installer starts (section, sources, places) and the rules of the check
// after it (services, registry values, copy flags), then through the whole
// install on the recording platform, with the package holding every source
// the plan names and the machine holding everything the check looks for,
// or, by the input's last byte, missing some of it. Bytes are taken as
// Latin-1, plus two-byte sequences after 0xFF as UTF-16 units.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "run/install_exits.h"
#include "inf/install_plan.h"
#include "inf/section_effects.h"
#include "inf_text.h"
#include "memory_machine.h"

namespace {

std::wstring Text(const std::uint8_t* data, std::size_t size) {
  std::wstring text;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0xFF && i + 2 < size) {
      text.push_back(static_cast<wchar_t>(data[i + 1] | (data[i + 2] << 8)));
      i += 2;
    } else {
      text.push_back(static_cast<wchar_t>(data[i]));
    }
  }
  return text;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantrel;
  const std::wstring text = Text(data, size);
  const InfText inf(text);
  for (const InfArchitecture architecture : {InfArchitecture::kX86, InfArchitecture::kAmd64}) {
    const InstallPlan plan = PlanInstall(inf, architecture);
    Check(plan.section.empty() || inf.HasSection(plan.section));
    for (const SourceFile& file : plan.sources) Check(!file.name.empty());
    const ExpectedEffects work = ExpectEffects(inf, plan.section);
    for (const std::wstring& service : work.services) Check(!service.empty());
    for (const RegistryEntry& entry : work.registry) {
      Check(entry.root == L"HKLM" || entry.root == L"HKCR" || entry.root == L"HKCU" ||
            entry.root == L"HKU");
    }
  }

  MemoryMachine platform = ReadyToInstall();
  const std::wstring infPath = kWorkFolder + L"\\driver.inf";
  platform.infTexts[infPath] = text;
  const InstallPlan plan = PlanInstall(inf, platform.architecture);
  for (const SourceFile& file : plan.sources) {
    if (!file.outside) platform.existingPaths.insert(kWorkFolder + L"\\" + PlacePath(file));
  }
  const ExpectedEffects work = ExpectEffects(inf, plan.section);
  const std::uint8_t how = size == 0 ? 0 : data[size - 1];
  // Bit 0: a service missing; bit 1: a registry value missing; bit 2: the
  // files left as they were; bit 3: queued for the restart.
  for (const std::wstring& service : work.services) {
    if (!(how & 1) || service != work.services[0]) platform.services.insert(service);
  }
  for (const RegistryEntry& entry : work.registry) {
    const std::wstring name = RegistryEntryName(entry);
    if (!(how & 2) || name != RegistryEntryName(work.registry[0])) {
      platform.registryEntries.insert(name);
    }
  }
  std::vector<RestartRename> queued;
  for (const auto& copy : work.copyFlags) {
    const std::wstring target = L"C:\\WINDOWS\\system32\\" + copy.first;
    platform.sectionFiles[plan.section].push_back(CopiedFile{
        target, kWorkFolder + L"\\" + copy.first,
        how & 4 ? TargetContent::kOtherBytes : TargetContent::kSourceBytes, VersionOrder::kNone});
    if (how & 8) queued.push_back(RestartRename{L"\\??\\" + target + L".tmp", L"!\\??\\" + target});
  }
  platform.childFor = [&](const std::wstring& command) {
    if (command.rfind(L"rundll32", 0) == 0) platform.pendingRenames = queued;
    return ChildScript();
  };

  const std::uint32_t code = platform.RunProgram();
  Check(kInstallExits.Find(code) != nullptr);
  const bool copied = !platform.CallsStartingWith(L"SHFileOperation 2").empty();
  // The INF is kept exactly where the install is in place or waits for the
  // restart.
  Check(copied == (code == kExitSuccess || code == kExitRestartNeeded));
  if (code == kExitSuccess) {
    Check(!(how & 1) || work.services.empty());
    Check(!(how & 2) || work.registry.empty());
  }
  return 0;
}
