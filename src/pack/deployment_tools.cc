#include "pack/deployment_tools.h"

#include <algorithm>
#include <map>

#include "base/text.h"
#include "inf/install_plan.h"
#include "pack/detection_rules.h"
#include "pack/example_commands.h"
#include "run/install_exits.h"
#include "run/remove_exits.h"

namespace vantrel {

namespace {

struct ToolWords {
  const wchar_t* tool;
  // Success, soft reboot, retry, failed: ToolOutcome's order.
  const wchar_t* outcomes[4];
  const wchar_t* restart;
  bool architectureNames;  // "x64" rather than "64-bit Windows"
};

// Group Policy and Ansible take no list of codes: these are what the
// deployment guide's script and playbook do on each.
const ToolWords kTools[] = {
    {L"Intune",
     {L"Success", L"Soft reboot", L"Retry", L"Failed"},
     L"Device restart behavior: Determine behavior based on return codes",
     true},
    {L"Configuration Manager",
     {L"Success (no reboot)", L"Soft Reboot", L"Fast retry", L"Failure (no reboot)"},
     L"User experience, enforce specific behavior: Determine behavior based on return codes",
     false},
    {L"Group Policy",
     {L"done", L"done, the next start finishes it", L"run once more after a pause",
      L"failed (the event says why)"},
     L"none from the script: a code of a restart waits for the machine's next start",
     false},
    {L"Ansible",
     {L"ok or changed", L"changed, then ansible.windows.win_reboot", L"retried (until)",
      L"failed"},
     L"ansible.windows.win_reboot where the command ends with a code of a restart",
     false},
};

std::wstring WindowsOf(const std::vector<std::wstring>& architectures, bool names) {
  std::wstring text;
  for (const std::wstring& architecture : architectures) {
    if (!text.empty()) text += names ? L", " : L" and ";
    text += names ? architecture : (architecture == L"x64" ? L"64-bit" : L"32-bit");
  }
  return names ? L"Operating system architecture " + text : text + L" Windows";
}

}  // namespace

std::vector<ToolReturnCode> ToolReturnCodes() {
  std::map<std::uint32_t, ToolOutcome> outcomes;
  for (const ExitTable* table : {&kInstallExits, &kRemoveExits}) {
    for (std::size_t i = 0; i < table->count; ++i) {
      outcomes.emplace(table->rows[i].code, table->ToolsTake(table->rows[i]));
    }
  }
  std::vector<ToolReturnCode> codes;
  for (const auto& [code, outcome] : outcomes) codes.push_back({code, outcome});
  std::stable_sort(codes.begin(), codes.end(), [](const ToolReturnCode& a, const ToolReturnCode& b) {
    return a.outcome < b.outcome;
  });
  return codes;
}

std::vector<std::wstring> WindowsArchitectures(const PackageView& view, InfArchitecture bundle) {
  bool installs = false, own64BitSection = false;
  for (const PlatformView& platform : view.platforms) {
    if (platform.architecture == bundle) installs = platform.installs;
    if (platform.architecture == InfArchitecture::kAmd64) {
      own64BitSection = WildcardMatch(L"?*.ntamd64", platform.section);
    }
  }
  if (!installs) return {};
  if (bundle == InfArchitecture::kAmd64) return {L"x64"};
  if (own64BitSection) return {L"x86"};
  return {L"x86", L"x64"};
}

std::vector<ToolView> ToolViews(const PackageView& view) {
  const std::vector<DetectionRule> rules = DetectionRules(view.detection);
  const std::vector<ToolReturnCode> codes = ToolReturnCodes();
  std::vector<ToolView> tools;
  for (const ToolWords& words : kTools) {
    ToolView& tool = tools.emplace_back();
    tool.tool = words.tool;
    for (const DetectionRule& rule : rules) {
      if (rule.tool == tool.tool) tool.detection = rule.rule;
    }
    tool.install = InstallCommand(view.package);
    tool.uninstall = ScopedRemoveCommand(view.inf, PackageSha256Text(view.detection));
    for (const ToolReturnCode& code : codes) {
      tool.returnCodes.emplace_back(code.code, words.outcomes[static_cast<int>(code.outcome)]);
    }
    tool.restart = words.restart;
    for (const PlatformView& platform : view.platforms) {
      const std::vector<std::wstring> windows = WindowsArchitectures(view, platform.architecture);
      if (!windows.empty()) {
        tool.requirements.emplace_back(platform.architecture,
                                       WindowsOf(windows, words.architectureNames));
      }
    }
  }
  return tools;
}

}  // namespace vantrel
