// The receipt of a good install, and what the install's event says of it:
// the version the INF claims and what the receipt it replaced said.
#include <memory>

#include "base/text.h"
#include "form/vantrel.h"
#include "inf/driver_version.h"
#include "record/receipt.h"

namespace vantrel {

namespace {

// How the new receipt stands to the one the INF name had before.
std::wstring WhatItReplaced(bool hadOne, const Receipt& before, const Receipt& now) {
  if (!hadOne) return L"there was none before";
  if (now.version.empty() && !before.version.empty()) {
    return L"replaced " + before.version + L" by a package whose INF gives no usable version";
  }
  if (before.version.empty() && !now.version.empty()) return L"replaced a receipt without a version";
  // Both with a version, or both without.
  const int order = before.version.empty() ? 0 : CompareVersions(now.version, before.version);
  if (order > 0) return L"replaced " + before.version;
  if (order < 0) {
    return L"replaced a newer version " + before.version +
           L": an older package was installed over a newer one";
  }
  if (before.packageSha256 == now.packageSha256) return L"the same package again";
  const std::wstring other = L" (PackageSHA256 " + before.packageSha256 + L")";
  return before.version.empty()
             ? L"replaced the receipt of another package" + other
             : L"replaced another package of the same version " + before.version + other;
}

}  // namespace

bool Vantrel::KeepReceipt(const std::wstring& infName, const std::wstring& infPath,
                          const std::wstring& keptInf) {
  const std::wstring key = ReceiptKeyName(infName);
  if (packageHashing_) {
    run_.NoteFailure(kExitInfCopyFailed, StepFailure{L"reading the package for the receipt",
                                                     L"Package: " + packageNamed_,
                                                     FromUtf8(packageHashing_.failure)});
    return false;
  }

  // Read from the work folder's INF, the same bytes as the copy: the engine
  // may leave a precompiled file beside an INF it opens in the INF folder.
  DriverVer driverVer;
  const StatementResult parsing =
      Resume([&] { driverVer = ReadDriverVer(*machine_.inf.OpenInf(infPath)); });
  if (parsing) driverVer.whyNoVersion = driverVer.whyNoDate = FromUtf8(parsing.failure);
  Receipt receipt;
  receipt.version = driverVer.version;
  receipt.driverDate = driverVer.date;
  receipt.packageSha256 = packageSha256_;
  receipt.package = packageNamed_;
  receipt.exitCode = run_.WaitingForRestart() ? kExitRestartNeeded : kExitSuccess;
  receipt.vantrel = VANTREL_VERSION_TEXT;

  Receipt before;
  bool hadOne = false;
  const StatementResult lookingBack =
      Resume([&] { hadOne = machine_.receipts.ReadReceipt(infName, before); });
  const StatementResult writing = Resume([&] {
    receipt.infSha256 = machine_.hashes.FileSha256(keptInf);
    receipt.installedAt = UtcTimeText(machine_.clock.UtcNow());
    machine_.receipts.WriteReceipt(infName, receipt);
  });
  if (writing) {
    run_.NoteFailure(kExitInfCopyFailed, StepFailure{L"writing the receipt", L"Key: " + key,
                                                     FromUtf8(writing.failure) +
                                                         L"; the receipt is as it was"});
    return false;
  }
  run_.NoteLine(
      receipt.version.empty()
          ? L"Version: none in the receipt, " + driverVer.whyNoVersion +
                L"; detection rules test PackageSHA256 " + receipt.packageSha256
          : L"Version: " + receipt.version +
                (receipt.driverDate.empty() ? L" (no DriverDate: " + driverVer.whyNoDate + L")"
                                            : L", DriverDate " + receipt.driverDate));
  run_.NoteLine(L"Receipt: " + key + L" written; " +
                          (lookingBack ? L"what it held before could not be read (" +
                                             FromUtf8(lookingBack.failure) + L")"
                                       : WhatItReplaced(hadOne, before, receipt)));
  return true;
}

}  // namespace vantrel
