#include "pack/package_view.h"

#include <nlohmann/json.hpp>

#include "base/text.h"
#include "inf/install_plan.h"

namespace vantrel {

namespace {

nlohmann::json Texts(const std::vector<std::wstring>& texts) {
  nlohmann::json list = nlohmann::json::array();
  for (const std::wstring& text : texts) list.push_back(ToUtf8(text));
  return list;
}

nlohmann::json Commands(const std::vector<ViewedCommand>& commands) {
  nlohmann::json list = nlohmann::json::array();
  for (const ViewedCommand& command : commands) {
    nlohmann::json item = {{"program", ToUtf8(command.program)},
                           {"commandLine", ToUtf8(command.commandLine)}};
    if (!command.programOn64BitWindows.empty()) {
      item["programOn64BitWindows"] = ToUtf8(command.programOn64BitWindows);
    }
    list.push_back(item);
  }
  return list;
}

nlohmann::json Platform(const PlatformView& platform) {
  nlohmann::json out = {
      {"platform", ToUtf8(ArchitectureName(platform.architecture))},
      {"bundle", ToUtf8(BundleName(platform.architecture))},
      {"installs", platform.installs},
  };
  if (!platform.installs) {
    out["reason"] = ToUtf8(platform.reason);
    return out;
  }
  out["section"] = ToUtf8(platform.section);
  out["needs"] = Texts(platform.needs);
  nlohmann::json files = nlohmann::json::array();
  for (const ViewedFile& file : platform.files) {
    files.push_back({{"name", ToUtf8(file.destination)},
                     {"source", ToUtf8(file.source)},
                     {"dirid", ToUtf8(file.dirid)},
                     {"subfolder", ToUtf8(file.subfolder)},
                     {"defaultDirid", file.defaultDirid},
                     {"folder", ToUtf8(file.folder)}});
  }
  out["files"] = files;
  nlohmann::json values = nlohmann::json::array();
  for (const ViewedValue& value : platform.values) {
    nlohmann::json item = {{"root", ToUtf8(value.root)},
                           {"key", ToUtf8(value.key)},
                           {"name", ToUtf8(value.name)},
                           {"type", ToUtf8(value.type)},
                           {"checked", value.checked}};
    if (!value.checked) item["unchecked"] = ToUtf8(value.unchecked);
    values.push_back(item);
  }
  out["registry"] = values;
  nlohmann::json services = nlohmann::json::array();
  for (const ViewedService& service : platform.services) {
    services.push_back({{"name", ToUtf8(service.name)},
                        {"binary", ToUtf8(service.binary)},
                        {"start", ToUtf8(service.start)},
                        {"checked", service.checked}});
  }
  out["services"] = services;
  out["unseen"] = Texts(platform.unseen);
  out["commands"] = Commands(platform.commands);
  return out;
}

// Absent parts are null, so a tool can test for them.
nlohmann::json TextOrNull(const std::wstring& text) {
  return text.empty() ? nlohmann::json() : nlohmann::json(ToUtf8(text));
}

nlohmann::json Detection(const DetectionView& detection) {
  const DriverVer& read = detection.driverVer;
  nlohmann::json rules = nlohmann::json::array();
  for (const DetectionRule& rule : DetectionRules(detection)) {
    rules.push_back({{"tool", ToUtf8(rule.tool)}, {"rule", ToUtf8(rule.rule)}});
  }
  return {{"driverVer",
           {{"written", TextOrNull(read.written)},
            {"version", TextOrNull(read.version)},
            {"date", TextOrNull(read.date)},
            {"whyNoVersion", TextOrNull(read.whyNoVersion)},
            {"whyNoDate", TextOrNull(read.whyNoDate)}}},
          {"receiptKey", ToUtf8(ReceiptKeyPath(detection))},
          {"packageSha256", TextOrNull(detection.packageSha256)},
          {"rules", rules}};
}

}  // namespace

std::string ViewJson(const PackageView& view) {
  nlohmann::json platforms = nlohmann::json::array();
  for (const PlatformView& platform : view.platforms) platforms.push_back(Platform(platform));
  const nlohmann::json out = {{"inf", ToUtf8(view.inf)},
                              {"from", ToUtf8(view.from)},
                              {"platforms", platforms},
                              {"detection", Detection(view.detection)}};
  return out.dump(2);
}

}  // namespace vantrel
