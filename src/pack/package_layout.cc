#include "pack/package_layout.h"

#include <algorithm>
#include <set>

#include "base/text.h"
#include "inf/driver_store_name.h"
#include "inf/install_plan.h"
#include "pack/architecture_verdict.h"

namespace vantrel {

namespace {

const wchar_t kCabinetFolder[] = L"i386";

// The installer takes the first *.inf beside it as the package's INF and
// expands every *.cab and *.in_ there.
bool TakenByTheInstaller(const std::wstring& name) {
  return WildcardMatch(L"*.inf", name) || WildcardMatch(L"*.cab", name) ||
         WildcardMatch(L"*.in_", name);
}

// Each message once, where several platforms or lists run into the same.
void AddOnce(std::vector<std::wstring>& messages, const std::wstring& message) {
  if (std::find(messages.begin(), messages.end(), message) == messages.end()) {
    messages.push_back(message);
  }
}

}  // namespace

PackageLayout LayOutPackage(const InfSource& inf, const std::wstring& infName,
                            const std::vector<std::wstring>& files) {
  PackageLayout layout;
  const auto find = FindInFolder(files, infName);
  std::vector<std::wstring> missing, faults, cannot, tried, uninstallWarnings;
  std::set<std::wstring> used, destinations;
  // Each destination in the package is filled once, by the first file for it.
  const auto pack = [&](const PackedFile& packed) {
    const std::wstring key = (packed.inCabinet ? L"cab:" : L"7z:") + LowerAscii(packed.to);
    if (destinations.insert(key).second) layout.files.push_back(packed);
  };
  // A platform whose sources the folder lacks is one the package cannot
  // install, as is one without an install section; the others still can.
  const std::vector<ArchitectureVerdict> verdicts =
      JudgeArchitectures(inf, [&](const SourceFile& file) { return !find(file).empty(); });
  std::wstring reasons;
  bool anySection = false;
  for (const ArchitectureVerdict& verdict : verdicts) {
    const InfArchitecture architecture = verdict.architecture;
    const InstallPlan& plan = verdict.plan;
    if (!verdict.Installs()) {
      cannot.push_back(CannotInstall(verdict, L"folder"));
      reasons += (reasons.empty() ? L"" : L"; ") + FirstReason(verdict);
    }
    if (plan.section.empty()) {
      for (const std::wstring& name : plan.tried) AddOnce(tried, name);
      continue;
    }
    anySection = true;
    if (verdict.Installs()) {
      layout.platforms.push_back(ArchitectureName(architecture) + L": " + plan.section + L" (" +
                                 BundleName(architecture) + L")");
      if (PlanInstall(inf, architecture, L"DefaultUninstall").section.empty()) {
        AddOnce(uninstallWarnings, L"the INF has no DefaultUninstall section for " +
                                       ArchitectureName(architecture) +
                                       L": the package cannot be removed with vantrel-remove.exe");
      }
    }
    for (const std::wstring& section : plan.missingSections) {
      AddOnce(faults, L"CopyFiles names the section [" + section + L"], which the INF lacks");
    }
    for (const SourceFile& file : plan.sources) {
      if (file.outside) {
        AddOnce(faults, L"the INF takes \"" + file.name + L"\" from \"" + file.written +
                            L"\", which is outside the package");
        continue;
      }
      const std::wstring place = PlacePath(file);
      const std::wstring from = find(file);
      if (from.empty()) {
        AddOnce(missing, L"the INF names the source file \"" + place +
                             L"\", which the folder lacks (neither there nor beside the INF)");
        continue;
      }
      // What one platform finds travels even where another lacks files:
      // the INF names it, and the package is what the folder holds.
      used.insert(LowerAscii(from));
      PackedFile packed{from, place, false};
      const std::size_t slash = file.folder.find(L'\\');
      if (SameFolder(file.folder.substr(0, slash), kCabinetFolder)) {
        packed.inCabinet = true;
        packed.to = slash == std::wstring::npos ? file.name
                                                : file.folder.substr(slash + 1) + L"\\" + file.name;
      } else if (file.folder.empty()) {
        // The INF itself is beside itself already, unpacked from its .in_.
        if (LowerAscii(file.name) == LowerAscii(infName)) continue;
        if (TakenByTheInstaller(file.name)) {
          AddOnce(faults, L"the INF takes \"" + file.name + L"\" from beside it, where the "
                          L"installer would take it for part of the package (an INF, cabinet "
                          L"or compressed INF of its own)");
          continue;
        }
      }
      pack(packed);
    }
  }

  if (IsDriverStoreInfName(infName)) {
    layout.refusals.push_back(L"\"" + infName + L"\" is the name Windows gives the INF of an "
                              L"installed driver package, which the installer refuses to "
                              L"replace: give the INF a name of its own");
  }
  if (!anySection) {
    layout.refusals.push_back(L"the INF has no install section for any platform (looked for " +
                              SectionList(tried) + L")");
  } else if (layout.platforms.empty()) {
    // The lacking files come first (they decide the code), this line after.
    faults.push_back(L"no platform can install this package: " + reasons);
  } else {
    missing.clear();
    layout.warnings.insert(layout.warnings.end(), cannot.begin(), cannot.end());
    layout.warnings.insert(layout.warnings.end(), uninstallWarnings.begin(),
                           uninstallWarnings.end());
  }
  // As before, what the INF never names still travels: beside the INF it
  // goes into the cabinet, in a subfolder it keeps its place.
  for (const std::wstring& file : files) {
    if (used.count(LowerAscii(file)) != 0) continue;
    layout.warnings.push_back(L"\"" + file + L"\" is in the folder but the INF never names it; "
                              L"it goes into the package all the same");
    pack(PackedFile{file, file, file.find(L'\\') == std::wstring::npos});
  }

  if (!missing.empty()) {
    layout.code = PackExit::kMissingSource;
  } else if (!faults.empty() || !layout.refusals.empty()) {
    layout.code = PackExit::kInfRefused;
  }
  // The missing files decide the code, so they come first.
  layout.refusals.insert(layout.refusals.end(), missing.begin(), missing.end());
  layout.refusals.insert(layout.refusals.end(), faults.begin(), faults.end());
  return layout;
}

}  // namespace vantrel
