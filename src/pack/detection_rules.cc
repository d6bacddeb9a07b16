#include "pack/detection_rules.h"

#include "record/receipt.h"

namespace vantrel {

namespace {

const wchar_t kHive[] = L"HKEY_LOCAL_MACHINE";

std::wstring ReceiptSubkey(const DetectionView& view) {
  return std::wstring(kReceiptsKey) + L"\\" + view.infName;
}

}  // namespace

std::wstring ReceiptKeyPath(const DetectionView& view) {
  return std::wstring(kHive) + L"\\" + ReceiptSubkey(view);
}

std::wstring DriverVerText(const DetectionView& view) {
  const DriverVer& read = view.driverVer;
  if (read.written.empty()) return L"none: " + read.whyNoVersion;
  return read.written + L" (" +
         (read.version.empty() ? L"no version usable: " + read.whyNoVersion
                               : L"version " + read.version) +
         L"; " + (read.date.empty() ? L"no date: " + read.whyNoDate : L"date " + read.date) + L")";
}

std::vector<DetectionRule> DetectionRules(const DetectionView& view) {
  std::vector<DetectionRule> rules;
  const std::wstring& version = view.driverVer.version;
  // The receipt is in the native registry view, which is where both tools
  // look unless a rule says the app is a 32-bit one.
  if (!version.empty()) {
    rules.push_back({L"Intune", L"Registry; Key path " + ReceiptKeyPath(view) + L"; Value name " +
                                    kVersionValue + L"; Detection method Version comparison; "
                                    L"Operator Greater than or equal to; Value " + version +
                                    L"; Associated with a 32-bit app on 64-bit clients No"});
    rules.push_back({L"Configuration Manager",
                     L"Setting type Registry; Hive " + std::wstring(kHive) + L"; Key " +
                         ReceiptSubkey(view) + L"; Value " + kVersionValue +
                         L"; This registry key is associated with a 32-bit application on 64-bit "
                         L"systems: unchecked; Data Type Version; The registry setting must "
                         L"satisfy the following rule: Greater than or equal to " + version});
  }
  const std::wstring why = version.empty() ? L"the only rule, as the INF gives no usable version"
                                           : L"for tools without a version comparison";
  rules.push_back({L"exact package",
                   L"Registry value " + ReceiptKeyPath(view) + L" [" + kPackageSha256Value +
                       L"] equals " +
                       (view.packageSha256.empty()
                            ? L"the package's SHA-256, known once it is packed "
                              L"(vantrel-pack --show <package>)"
                            : view.packageSha256) +
                       L" (" + why + L")"});
  return rules;
}

}  // namespace vantrel
