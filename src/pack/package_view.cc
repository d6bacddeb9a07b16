#include "pack/package_view.h"

#include <set>

#include "base/text.h"
#include "inf/section_effects.h"

namespace vantrel {

namespace {

// The line as "key=field,field" and the section it stands in.
std::wstring LineIn(const InfLine& line, const std::wstring& section) {
  std::wstring fields;
  for (const std::wstring& field : line.fields) fields += L"," + field;
  // By position: an empty first field still keeps its comma; only the one
  // before the first field goes.
  return line.key + L"=" + fields.substr(fields.empty() ? 0 : 1) + L" in [" + section + L"]";
}

std::wstring WhyUnchecked(AddRegCheck check, const std::wstring& root) {
  switch (check) {
    case AddRegCheck::kNoRoot:
      return LowerAscii(root) == L"hkr" ? L"HKR has no key outside a device install"
                                        : L"no registry root the check knows";
    case AddRegCheck::kMayStay:
      return L"no-clobber or overwrite-only: it may stay as it was";
    case AddRegCheck::kDeletes:
      return L"the line deletes it";
    case AddRegCheck::kChecked:
      break;
  }
  return std::wstring();
}

void ViewValues(const InfSource& inf, const std::wstring& section, PlatformView& view) {
  for (const std::wstring& list : DirectiveFields(inf, section, L"AddReg")) {
    for (const InfLine& line : inf.Lines(list)) {
      RegistryEntry entry;
      const AddRegCheck check = ReadAddRegLine(line, entry);
      const ViewedValue value{entry.root.empty() ? line.Field(1) : entry.root, entry.key,
                              entry.keyOnly ? std::wstring() : entry.value,
                              entry.keyOnly ? L"key" : AddRegTypeName(line.Field(4)),
                              check == AddRegCheck::kChecked, WhyUnchecked(check, line.Field(1))};
      if (LowerAscii(line.Field(1)) == L"hkr") {
        view.unseen.push_back(L"AddReg " + line.Field(1) + L"," + line.Field(2) + L"," +
                              line.Field(3) + L" in [" + list + L"]: " + value.unchecked);
      }
      view.values.push_back(value);
    }
  }
}

void ViewServices(const InfSource& inf, const std::wstring& section,
                  const std::set<std::wstring>& checked, PlatformView& view) {
  const std::wstring services = section + L".Services";
  for (const InfLine& line : inf.Lines(services)) {
    if (LowerAscii(line.key) != L"addservice") {
      view.unseen.push_back(LineIn(line, services));
      continue;
    }
    // AddService=name,[flags],service-install-section[,...]
    ViewedService service;
    service.name = line.Field(1);
    service.checked = checked.count(LowerAscii(service.name)) != 0;
    for (const InfLine& setting : inf.Lines(line.Field(3))) {
      const std::wstring key = LowerAscii(setting.key);
      if (key == L"servicebinary") service.binary = setting.Field(1);
      if (key == L"starttype") service.start = ServiceStartName(setting.Field(1));
    }
    view.services.push_back(service);
  }
}

}  // namespace

PackageView ViewPackage(const InfSource& inf, const std::vector<ArchitectureVerdict>& verdicts,
                        const std::function<std::wstring(const std::wstring& list)>& folderOf,
                        const std::wstring& holder) {
  PackageView package;
  for (const ArchitectureVerdict& verdict : verdicts) {
    const InstallPlan& plan = verdict.plan;
    PlatformView& view = package.platforms.emplace_back();
    view.architecture = verdict.architecture;
    view.installs = verdict.Installs();
    if (!view.installs) view.reason = CannotInstall(verdict, holder);
    view.section = plan.section;
    view.needs = plan.needs;
    if (plan.section.empty()) continue;
    for (const InstallPlan::Copy& copy : plan.copies) {
      const SourceFile& source = plan.sources[copy.source];
      view.files.push_back({copy.destination,
                            source.outside ? source.written + L"\\" + source.name
                                           : PlacePath(source),
                            DestinationOf(inf, copy.list), folderOf(copy.list)});
    }
    // The check reads what the same sections write and add.
    const std::vector<std::wstring> sections = ProcessedSections(inf, plan.section);
    std::set<std::wstring> checkedServices;
    for (const std::wstring& name : ExpectEffects(inf, plan.section).services) {
      checkedServices.insert(LowerAscii(name));
    }
    for (const std::wstring& section : sections) ViewValues(inf, section, view);
    for (const std::wstring& section : sections) ViewServices(inf, section, checkedServices, view);

    // Every other directive of the sections the engine runs.
    for (const std::wstring& section : sections) {
      const bool needed = section != plan.section;
      for (const InfLine& line : inf.Lines(section)) {
        const std::wstring key = LowerAscii(line.key);
        if (key == L"copyfiles" || key == L"addreg" || key == L"include") continue;
        const std::wstring what = LineIn(line, section);
        if (key != L"needs") {
          view.unseen.push_back(what);
        } else if (needed) {
          view.unseen.push_back(what + L": the engine does not follow a needed section's Needs");
        } else {
          for (const std::wstring& name : line.fields) {
            if (!name.empty() && !inf.HasSection(name)) {
              view.unseen.push_back(L"Needs=" + name + L" in [" + section +
                                    L"]: a section of an included system INF, which the engine "
                                    L"reads on the target");
            }
          }
        }
      }
    }
  }
  return package;
}

}  // namespace vantrel
