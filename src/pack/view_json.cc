#include "pack/package_view.h"

#include <nlohmann/json.hpp>

#include "base/text.h"
#include "inf/install_plan.h"
#include "pack/deployment_tools.h"
#include "pack/example_commands.h"
#include "record/receipt.h"

namespace vantrel {

// Each part of the view as JSON; nlohmann/json finds these by the part's
// type, a list of parts becoming an array.
static void to_json(nlohmann::json& out, const ViewedFile& file) {
  out = {{"name", ToUtf8(file.destination)},
         {"source", ToUtf8(file.source)},
         {"dirid", ToUtf8(file.dir.dirid)},
         {"subfolder", ToUtf8(file.dir.subfolder)},
         {"defaultDirid", file.dir.byDefault},
         {"folder", ToUtf8(file.folder)}};
}

static void to_json(nlohmann::json& out, const ViewedValue& value) {
  out = {{"root", ToUtf8(value.root)},
         {"key", ToUtf8(value.key)},
         {"name", ToUtf8(value.name)},
         {"type", ToUtf8(value.type)},
         {"checked", value.checked}};
  if (!value.checked) out["unchecked"] = ToUtf8(value.unchecked);
}

static void to_json(nlohmann::json& out, const ViewedService& service) {
  out = {{"name", ToUtf8(service.name)},
         {"binary", ToUtf8(service.binary)},
         {"start", ToUtf8(service.start)},
         {"checked", service.checked}};
}

static void to_json(nlohmann::json& out, const ViewedCommand& command) {
  out = {{"program", ToUtf8(command.program)}, {"commandLine", ToUtf8(command.commandLine)}};
  if (!command.programOn64BitWindows.empty()) {
    out["programOn64BitWindows"] = ToUtf8(command.programOn64BitWindows);
  }
}

static void to_json(nlohmann::json& out, const ToolView& tool) {
  nlohmann::json codes = nlohmann::json::array();
  for (const auto& [code, outcome] : tool.returnCodes) {
    codes.push_back({{"code", code}, {"outcome", ToUtf8(outcome)}});
  }
  nlohmann::json requirements = nlohmann::json::array();
  for (const auto& [bundle, windows] : tool.requirements) {
    requirements.push_back({{"bundle", ToUtf8(BundleName(bundle))}, {"windows", ToUtf8(windows)}});
  }
  out = {{"tool", ToUtf8(tool.tool)},       {"detection", ToUtf8(tool.detection)},
         {"install", ToUtf8(tool.install)}, {"uninstall", ToUtf8(tool.uninstall)},
         {"returnCodes", codes},            {"restart", ToUtf8(tool.restart)},
         {"requirements", requirements}};
}

namespace {

nlohmann::json Texts(const std::vector<std::wstring>& texts) {
  nlohmann::json list = nlohmann::json::array();
  for (const std::wstring& text : texts) list.push_back(ToUtf8(text));
  return list;
}

// Absent parts are null, so a tool can test for them.
nlohmann::json TextOrNull(const std::wstring& text) {
  return text.empty() ? nlohmann::json() : nlohmann::json(ToUtf8(text));
}

// Graph's names for ToolOutcome's four, in its order.
const char* const kGraphReturnCodeTypes[] = {"success", "softReboot", "retry", "failed"};

// Intune's app for the bundle as the body Microsoft Graph takes to create
// it (a win32LobApp, in Graph's own property names and values), for the
// .intunewin that the Content Prep Tool makes of the bundle folder with
// the package, vantrel.exe its setup file.
nlohmann::json GraphWin32LobApp(const PackageView& view, InfArchitecture bundle,
                                const std::vector<std::wstring>& windows) {
  const DetectionView& detection = view.detection;
  const std::wstring installer = kInstallerFile;
  std::wstring name = view.inf.substr(0, view.inf.rfind(L'.'));
  if (!detection.driverVer.version.empty()) name += L" " + detection.driverVer.version;
  name += bundle == InfArchitecture::kAmd64 ? L" (64-bit bundle)" : L" (32-bit bundle)";
  nlohmann::json codes = nlohmann::json::array();
  for (const ToolReturnCode& code : ToolReturnCodes()) {
    codes.push_back({{"@odata.type", "#microsoft.graph.win32LobAppReturnCode"},
                     {"returnCode", code.code},
                     {"type", kGraphReturnCodeTypes[static_cast<int>(code.outcome)]}});
  }
  return {
      {"@odata.type", "#microsoft.graph.win32LobApp"},
      {"displayName", ToUtf8(name)},
      {"description", ToUtf8(view.inf + L" from " + view.package + L", installed by Vantrel")},
      {"publisher", ToUtf8(view.provider.empty() ? L"Vantrel" : view.provider)},
      {"fileName", ToUtf8(installer.substr(0, installer.rfind(L'.')) + L".intunewin")},
      {"setupFilePath", ToUtf8(installer)},
      {"installCommandLine", ToUtf8(InstallCommand(view.package))},
      {"uninstallCommandLine", ToUtf8(ScopedRemoveCommand(view.inf, detection.packageSha256))},
      // Graph writes a set of its flags comma-separated.
      {"applicableArchitectures", ToUtf8(Join(windows, L","))},
      {"installExperience",
       {{"@odata.type", "#microsoft.graph.win32LobAppInstallExperience"},
        {"runAsAccount", "system"},
        {"deviceRestartBehavior", "basedOnReturnCode"}}},
      {"returnCodes", codes},
      // The receipt is in the native registry view, from the 32-bit
      // vantrel.exe too.
      {"rules", nlohmann::json::array({{
                    {"@odata.type", "#microsoft.graph.win32LobAppRegistryRule"},
                    {"ruleType", "detection"},
                    {"check32BitOn64System", false},
                    {"keyPath", ToUtf8(ReceiptKeyPath(detection.infName))},
                    {"valueName", ToUtf8(kPackageSha256Value)},
                    {"operationType", "string"},
                    {"operator", "equal"},
                    {"comparisonValue", ToUtf8(detection.packageSha256)},
                }})},
  };
}

}  // namespace

static void to_json(nlohmann::json& out, const PlatformView& platform) {
  out = {
      {"platform", ToUtf8(ArchitectureName(platform.architecture))},
      {"bundle", ToUtf8(BundleName(platform.architecture))},
      {"installs", platform.installs},
  };
  if (!platform.installs) {
    out["reason"] = ToUtf8(platform.reason);
    return;
  }
  out["section"] = ToUtf8(platform.section);
  out["needs"] = Texts(platform.needs);
  out["files"] = platform.files;
  out["registry"] = platform.values;
  out["services"] = platform.services;
  out["unseen"] = Texts(platform.unseen);
  out["commands"] = platform.commands;
}

std::string ViewJson(const PackageView& view) {
  const DetectionView& detection = view.detection;
  const DriverVer& read = detection.driverVer;
  nlohmann::json out = {
      {"inf", ToUtf8(view.inf)},
      {"from", ToUtf8(view.from)},
      {"platforms", view.platforms},
      {"detection",
       {{"driverVer",
         {{"written", TextOrNull(read.written)},
          {"version", TextOrNull(read.version)},
          {"date", TextOrNull(read.date)},
          {"whyNoVersion", TextOrNull(read.whyNoVersion)},
          {"whyNoDate", TextOrNull(read.whyNoDate)}}},
        {"receiptKey", ToUtf8(ReceiptKeyPath(detection.infName))},
        {"packageSha256", TextOrNull(detection.packageSha256)}}},
      {"tools", ToolViews(view)}};
  // Only a package has the hash its rule compares: a folder not yet packed
  // has no app to create.
  nlohmann::json apps = nlohmann::json::array();
  for (const PlatformView& platform : view.platforms) {
    const std::vector<std::wstring> windows = WindowsArchitectures(view, platform.architecture);
    if (windows.empty() || detection.packageSha256.empty()) continue;
    apps.push_back({{"bundle", ToUtf8(BundleName(platform.architecture))},
                    {"win32LobApp", GraphWin32LobApp(view, platform.architecture, windows)}});
  }
  out["intuneApps"] = apps;
  return out.dump(2);
}

}  // namespace vantrel
