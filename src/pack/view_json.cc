#include "pack/package_view.h"

#include <nlohmann/json.hpp>

#include "base/text.h"
#include "inf/install_plan.h"

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

static void to_json(nlohmann::json& out, const DetectionRule& rule) {
  out = {{"tool", ToUtf8(rule.tool)}, {"rule", ToUtf8(rule.rule)}};
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
  const nlohmann::json out = {
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
        {"receiptKey", ToUtf8(ReceiptKeyPath(detection))},
        {"packageSha256", TextOrNull(detection.packageSha256)},
        {"rules", DetectionRules(detection)}}}};
  return out.dump(2);
}

}  // namespace vantrel
