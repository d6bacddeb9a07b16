#include "pack/detection_rules.h"

#include "record/receipt.h"

namespace vantrel {

std::wstring DriverVerText(const DetectionView& view) {
  const DriverVer& read = view.driverVer;
  if (read.written.empty()) return L"none: " + read.whyNoVersion;
  return read.written + L" (" +
         (read.version.empty() ? L"no version usable: " + read.whyNoVersion
                               : L"version " + read.version) +
         L"; " + (read.date.empty() ? L"no date: " + read.whyNoDate : L"date " + read.date) + L")";
}

std::wstring PackageSha256Text(const DetectionView& view) {
  return view.packageSha256.empty()
             ? L"<the package's SHA-256, known once it is packed: vantrel-pack --show <package>>"
             : view.packageSha256;
}

std::vector<DetectionRule> DetectionRules(const DetectionView& view) {
  const std::wstring sha = PackageSha256Text(view);
  // The receipt is in the native registry view, which is where the tools
  // look unless a rule says the app is a 32-bit one.
  const std::wstring exact = L"Registry value " + ReceiptKeyPath(view.infName) + L" [" +
                             kPackageSha256Value + L"] equals " + sha;
  return {
      {L"Intune", L"Registry; Key path " + ReceiptKeyPath(view.infName) + L"; Value name " +
                      kPackageSha256Value + L"; Detection method String comparison; Operator "
                      L"Equals; Value " + sha + L"; Associated with a 32-bit app on 64-bit "
                      L"clients No"},
      {L"Configuration Manager",
       L"Setting type Registry; Hive " + std::wstring(kReceiptsHive) + L"; Key " + ReceiptSubkey(view.infName) +
           L"; Value " + kPackageSha256Value +
           L"; This registry key is associated with a 32-bit application on 64-bit systems: "
           L"unchecked; Data Type String; The registry setting must satisfy the following rule: "
           L"Equals " + sha},
      {L"Group Policy", exact},
      {L"Ansible", exact},
  };
}

}  // namespace vantrel
