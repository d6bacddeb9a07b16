#include "pack/package_view.h"

#include "inf/install_plan.h"
#include "pack/deployment_tools.h"

namespace vantrel {

namespace {

std::wstring Checked(bool checked, const std::wstring& why) {
  return checked ? L"checked" : L"not checked: " + why;
}

}  // namespace

std::wstring ViewText(const PackageView& view) {
  std::wstring text = view.inf + L", read from " + view.from + L"\n";
  for (const PlatformView& platform : view.platforms) {
    text += ArchitectureName(platform.architecture) + L" (" + BundleName(platform.architecture) +
            L"): ";
    if (!platform.installs) {
      text += L"cannot install: " + platform.reason + L"\n";
      continue;
    }
    text += L"[" + platform.section + L"]";
    if (!platform.needs.empty()) text += L" with Needs " + SectionList(platform.needs);
    text += L"\n";
    for (const ViewedFile& file : platform.files) {
      text += L"  file    " + file.destination + L" from " + file.source + L" to DIRID " +
              file.dir.dirid + (file.dir.subfolder.empty() ? L"" : L"\\" + file.dir.subfolder) +
              (file.dir.byDefault ? L" (no DestinationDirs entry)" : L"") + L" = " +
              file.folder + L"\n";
    }
    for (const ViewedValue& value : platform.values) {
      text += L"  value   " + value.root + (value.key.empty() ? L"" : L"\\" + value.key);
      if (value.type != L"key") text += L" [" + value.name + L"]";
      text += L" " + value.type + L", " + Checked(value.checked, value.unchecked) + L"\n";
    }
    for (const ViewedService& service : platform.services) {
      text += L"  service " + service.name + L": " +
              (service.binary.empty() ? L"no ServiceBinary" : service.binary) + L", start " +
              (service.start.empty() ? L"not given" : service.start) + L", " +
              Checked(service.checked, L"no name") + L"\n";
    }
    for (const std::wstring& unseen : platform.unseen) {
      text += L"  unseen  " + unseen + L"\n";
    }
    // A program the install starts: its full path (and where a 32-bit bundle
    // on 64-bit Windows starts it from), then its command line.
    for (const ViewedCommand& command : platform.commands) {
      text += L"  command " + command.program;
      if (!command.programOn64BitWindows.empty()) {
        text += L" (" + command.programOn64BitWindows + L" on 64-bit Windows)";
      }
      text += L": " + command.commandLine + L"\n";
    }
  }
  text += L"DriverVer " + DriverVerText(view.detection) + L"\n";
  text += L"receipt   " + ReceiptKeyPath(view.detection.infName) + L" (native registry view)\n";
  // Per tool what its app or recipe needs; the return codes grouped by
  // what the tool makes of them (the list is ordered so).
  for (const ToolView& tool : ToolViews(view)) {
    text += L"tool      " + tool.tool + L"\n";
    text += L"  detection    " + tool.detection + L"\n";
    text += L"  install      " + tool.install + L"\n";
    text += L"  uninstall    " + tool.uninstall + L"\n";
    std::wstring codes, last;
    for (const auto& [code, outcome] : tool.returnCodes) {
      codes += outcome == last ? std::wstring(L",") : (codes.empty() ? L"" : L"; ") + outcome + L":";
      codes += L" " + std::to_wstring(code);
      last = outcome;
    }
    text += L"  return codes " + codes + L"\n";
    text += L"  restart      " + tool.restart + L"\n";
    std::wstring requirements;
    for (const auto& [bundle, windows] : tool.requirements) {
      requirements += (requirements.empty() ? L"" : L"; ") + BundleName(bundle) + L": " + windows;
    }
    text += L"  requirement  " + (requirements.empty() ? L"none: no bundle installs it" : requirements) +
            L"\n";
  }
  return text;
}

}  // namespace vantrel
