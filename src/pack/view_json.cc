#include "pack/view_json.h"

#include <cstdint>

#include <nlohmann/json.hpp>

#include "inf/install_plan.h"

namespace vantrel {

namespace {

// The JSON library takes UTF-8. Wide text is UTF-16 on Windows (a pair of
// surrogates one character) and UTF-32 on the machines the unit tests run
// on; an unpaired surrogate becomes U+FFFD.
std::string Utf8(const std::wstring& text) {
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t code = static_cast<std::uint32_t>(text[i]);
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() &&
        static_cast<std::uint32_t>(text[i + 1]) >= 0xDC00 &&
        static_cast<std::uint32_t>(text[i + 1]) <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (static_cast<std::uint32_t>(text[++i]) - 0xDC00);
    } else if ((code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
      code = 0xFFFD;
    }
    if (code < 0x80) {
      bytes += static_cast<char>(code);
    } else if (code < 0x800) {
      bytes += static_cast<char>(0xC0 | (code >> 6));
      bytes += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      bytes += static_cast<char>(0xE0 | (code >> 12));
      bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      bytes += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      bytes += static_cast<char>(0xF0 | (code >> 18));
      bytes += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      bytes += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return bytes;
}

nlohmann::json Texts(const std::vector<std::wstring>& texts) {
  nlohmann::json list = nlohmann::json::array();
  for (const std::wstring& text : texts) list.push_back(Utf8(text));
  return list;
}

nlohmann::json Platform(const PlatformView& platform) {
  nlohmann::json out = {
      {"platform", Utf8(ArchitectureName(platform.architecture))},
      {"bundle", Utf8(BundleName(platform.architecture))},
      {"installs", platform.installs},
  };
  if (!platform.installs) {
    out["reason"] = Utf8(platform.reason);
    return out;
  }
  out["section"] = Utf8(platform.section);
  out["needs"] = Texts(platform.needs);
  nlohmann::json files = nlohmann::json::array();
  for (const ViewedFile& file : platform.files) {
    files.push_back({{"name", Utf8(file.destination)},
                     {"source", Utf8(file.source)},
                     {"dirid", Utf8(file.dirid)},
                     {"subfolder", Utf8(file.subfolder)},
                     {"defaultDirid", file.defaultDirid},
                     {"folder", Utf8(file.folder)}});
  }
  out["files"] = files;
  nlohmann::json values = nlohmann::json::array();
  for (const ViewedValue& value : platform.values) {
    nlohmann::json item = {{"root", Utf8(value.root)},
                           {"key", Utf8(value.key)},
                           {"name", Utf8(value.name)},
                           {"type", Utf8(value.type)},
                           {"checked", value.checked}};
    if (!value.checked) item["unchecked"] = Utf8(value.unchecked);
    values.push_back(item);
  }
  out["registry"] = values;
  nlohmann::json services = nlohmann::json::array();
  for (const ViewedService& service : platform.services) {
    services.push_back({{"name", Utf8(service.name)},
                        {"binary", Utf8(service.binary)},
                        {"start", Utf8(service.start)},
                        {"checked", service.checked}});
  }
  out["services"] = services;
  out["unseen"] = Texts(platform.unseen);
  return out;
}

}  // namespace

std::string ViewJson(const PackageView& view) {
  nlohmann::json platforms = nlohmann::json::array();
  for (const PlatformView& platform : view.platforms) platforms.push_back(Platform(platform));
  const nlohmann::json out = {
      {"inf", Utf8(view.inf)}, {"from", Utf8(view.from)}, {"platforms", platforms}};
  return out.dump(2);
}

}  // namespace vantrel
