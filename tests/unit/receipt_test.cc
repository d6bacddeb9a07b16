// The receipt of a good install: DriverVer as the tools compare it, what
// the receipt holds, what it replaced, and that nothing but a good install
// changes it.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "inf/driver_version.h"
#include "inf_text.h"
#include "memory_machine.h"

namespace vantrel {
namespace {

const std::wstring kPackage = MemoryFileHasher::Sha256Of(L"C:\\PACKAG~1\\driver.7z");

bool HasLine(const std::vector<std::wstring>& lines, const std::wstring& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(DriverVer, TheFormsInfsWriteAndWhyOneGivesNoVersion) {
  struct Case {
    const wchar_t* version;  // the [Version] section's lines
    const wchar_t* read;
    const wchar_t* date;
    const wchar_t* why;  // part of why there is no version; empty: there is one
  };
  for (const Case& c : std::vector<Case>{
           {L"DriverVer=01/02/2025,1.0.0.0", L"1.0.0.0", L"2025-01-02", L""},
           {L"driverver = 1/2/2025 , 2.1", L"2.1.0.0", L"2025-01-02", L""},
           {L"DriverVer=%D%,%V%\n[Strings]\nD=02/29/2024\nV=3.0.0.1", L"3.0.0.1", L"2024-02-29", L""},
           {L"DriverVer=01/02/2025,1. 02 .3", L"1.2.3.0", L"2025-01-02", L""},
           {L"DriverVer=01/02/2025,1.65535", L"1.65535.0.0", L"2025-01-02", L""},
           {L"DriverVer=02/30/2025,4.0", L"4.0.0.0", L"", L""},
           // A century year is a leap year only where 400 divides it.
           {L"DriverVer=02/29/1900,4.0", L"4.0.0.0", L"", L""},
           {L"DriverVer=02/29/2000,4.0", L"4.0.0.0", L"2000-02-29", L""},
           {L"DriverVer=02/29/2100,4.0", L"4.0.0.0", L"", L""},
           {L"Signature=\"$Windows NT$\"", L"", L"", L"the INF's [Version] section has no DriverVer"},
           {L"DriverVer=01/02/2025", L"", L"2025-01-02", L"DriverVer gives no version after its date"},
           {L"DriverVer=1.0.0.0", L"", L"", L"DriverVer has no comma"},
           {L"DriverVer=01/02/2025,%Ver%", L"", L"2025-01-02", L"a string token the INF does not define"},
           {L"DriverVer=01/02/2025,1.2.3.4.5", L"", L"2025-01-02", L"has 5 parts; Windows compares at most 4"},
           {L"DriverVer=01/02/2025,1.0.beta", L"", L"2025-01-02", L"part \"beta\" is not a decimal number"},
           {L"DriverVer=01/02/2025,1..2", L"", L"2025-01-02", L"part \"\" is not a decimal number"},
           {L"DriverVer=01/02/2025,1.65536", L"", L"2025-01-02", L"part 65536 is above 65535"},
           {L"DriverVer=01/02/2025,99999999999999999999", L"", L"2025-01-02", L"is above 65535"},
       }) {
    const DriverVer read = ReadDriverVer(InfText(L"[Version]\n" + std::wstring(c.version) + L"\n"));
    EXPECT_EQ(read.version, c.read) << c.version;
    EXPECT_EQ(read.date, c.date) << c.version;
    EXPECT_EQ(read.whyNoDate.empty(), !read.date.empty()) << c.version;
    if (*c.why == 0) {
      EXPECT_EQ(read.whyNoVersion, L"") << c.version;
    } else {
      EXPECT_NE(read.whyNoVersion.find(c.why), std::wstring::npos) << read.whyNoVersion;
    }
  }
  EXPECT_EQ(CompareVersions(L"1.0", L"1.0.0.0"), 0);
  EXPECT_GT(CompareVersions(L"1.10", L"1.9.9.9"), 0);
  EXPECT_LT(CompareVersions(L"2.0.0.1", L"10"), 0);
}

TEST(Receipt, AGoodInstallWritesItAndTheEventSaysWhatItReplaced) {
  MemoryMachine first = ReadyToInstall();
  EXPECT_EQ(first.RunProgram(), 0u);
  ASSERT_EQ(first.receipts.count(L"driver.inf"), 1u);
  const Receipt& written = first.receipts[L"driver.inf"];
  EXPECT_EQ(written.version, L"2.0.0.0");
  EXPECT_EQ(written.driverDate, L"2025-01-02");
  EXPECT_EQ(written.packageSha256, kPackage);
  EXPECT_EQ(written.infSha256, MemoryFileHasher::Sha256Of(L"C:\\WINDOWS\\inf\\driver.inf"));
  EXPECT_EQ(written.package, L"C:\\Package Store\\driver.7z");
  EXPECT_EQ(written.installedAt, L"2026-12-08T09:05:07Z");
  EXPECT_EQ(written.exitCode, 0u);
  EXPECT_EQ(written.vantrel, L"1.0.0");
  // The package is read for it before 7-Zip reads it.
  EXPECT_LT(first.IndexOfCall(L"FileSha256 [C:\\PACKAG~1\\driver.7z]"),
            first.IndexOfCall(first.CallsStartingWith(L"LaunchHidden")[0]));
  EXPECT_TRUE(HasLine(first.events[0], L"Version: 2.0.0.0, DriverDate 2025-01-02"));
  EXPECT_TRUE(HasLine(first.events[0],
                      L"Receipt: HKLM\\SOFTWARE\\Vantrel\\Packages\\driver.inf written; there was none before"));

  struct Case {
    const wchar_t* version;  // of the receipt before
    std::wstring package;    // its PackageSHA256
    const wchar_t* inf;      // DriverVer of the INF installed now
    const wchar_t* replaced;
  };
  for (const Case& c : std::vector<Case>{
           {L"1.0.0.0", L"old", L"01/02/2025,2.0.0.0", L"replaced 1.0.0.0"},
           {L"3.0.0.0", L"new", L"01/02/2025,2.0.0.0",
            L"replaced a newer version 3.0.0.0: an older package was installed over a newer one"},
           {L"2.0", kPackage, L"01/02/2025,2.0.0.0", L"the same package again"},
           {L"2.0.0.0", L"twin", L"01/02/2025,2.0.0.0",
            L"replaced another package of the same version 2.0.0.0 (PackageSHA256 twin)"},
           {L"", L"old", L"01/02/2025,2.0.0.0", L"replaced a receipt without a version"},
           {L"1.0.0.0", L"old", L"01/02/2025,2.x",
            L"replaced 1.0.0.0 by a package whose INF gives no usable version"},
       }) {
    MemoryMachine platform = ReadyToInstall();
    platform.infTexts[kWorkFolder + L"\\driver.inf"] =
        L"[Version]\nDriverVer=" + std::wstring(c.inf) + L"\n[DefaultInstall]\nAddReg=R\n";
    platform.receipts[L"driver.inf"] = EarlierReceipt(c.version, c.package);
    EXPECT_EQ(platform.RunProgram(), 0u) << c.replaced;
    EXPECT_TRUE(HasLine(platform.events[0],
                        L"Receipt: HKLM\\SOFTWARE\\Vantrel\\Packages\\driver.inf written; " +
                            std::wstring(c.replaced)))
        << c.replaced;
    // Replaced whole: an old Version never outlives an INF without one.
    EXPECT_EQ(platform.receipts[L"driver.inf"].version,
              std::wstring(c.inf).find(L"2.x") == std::wstring::npos ? L"2.0.0.0" : L"")
        << c.replaced;
  }

  MemoryMachine unversioned = ReadyToInstall();
  unversioned.infTexts[kWorkFolder + L"\\driver.inf"] = L"[Version]\n[DefaultInstall]\nAddReg=R\n";
  EXPECT_EQ(unversioned.RunProgram(), 0u);
  EXPECT_TRUE(HasLine(unversioned.events[0],
                      L"Version: none in the receipt, the INF's [Version] section has no DriverVer; "
                      L"detection rules test PackageSHA256 " + kPackage));
}

TEST(Receipt, WhereItCannotBeWrittenTheRunEndsSixAndTheOldOneStays) {
  struct Case {
    const char* what;
    void (*arrange)(MemoryMachine&);
    const wchar_t* result;
  };
  for (const Case& c : std::vector<Case>{
           {"a key that cannot be opened for writing",
            [](MemoryMachine& p) { p.failing.insert("WriteReceipt"); },
            L"Result: WriteReceipt; the receipt is as it was"},
           {"a package on a share that stopped answering",
            [](MemoryMachine& p) { p.unreadable.insert(L"C:\\PACKAG~1\\driver.7z"); },
            L"Result: ReadFile: The specified network name is no longer available. (64)"},
           {"an INF copy that cannot be read",
            [](MemoryMachine& p) { p.unreadable.insert(L"C:\\WINDOWS\\inf\\driver.inf"); },
            L"Result: ReadFile: The specified network name is no longer available. (64); the "
            L"receipt is as it was"},
       }) {
    MemoryMachine platform = ReadyToInstall();
    c.arrange(platform);
    platform.receipts[L"driver.inf"] = EarlierReceipt(L"1.0.0.0");
    EXPECT_EQ(platform.RunProgram(), 6u) << c.what;
    EXPECT_EQ(platform.receipts[L"driver.inf"].version, L"1.0.0.0") << c.what;
    EXPECT_EQ(platform.receipts[L"driver.inf"].packageSha256, L"old") << c.what;
    EXPECT_EQ(platform.CallsStartingWith(L"WriteRunEvent"), std::vector<std::wstring>{L"WriteRunEvent error 6"})
        << c.what;
    EXPECT_TRUE(HasLine(platform.events[0], c.result)) << c.what;
  }

  // The INF copy goes back with the receipt: the one it replaced, set aside
  // in the private work folder, or none where there was none.
  const std::wstring nul2 = L"\\0\\0", kept = L"C:\\WINDOWS\\inf\\driver.inf";
  const std::wstring aside = kWorkFolder + L"\\~previous INF copy";
  MemoryMachine replaced = ReadyToInstall();
  replaced.existingPaths.insert(kept);
  replaced.failing.insert("WriteReceipt");
  EXPECT_EQ(replaced.RunProgram(), 6u);
  EXPECT_EQ(replaced.CallsStartingWith(L"SHFileOperation 2"),
            (std::vector<std::wstring>{
                L"SHFileOperation 2 [" + kept + nul2 + L"] [" + aside + nul2 + L"]",
                L"SHFileOperation 2 [" + kWorkFolder + L"\\driver.inf" + nul2 +
                    L"] [C:\\WINDOWS\\inf" + nul2 + L"]",
                L"SHFileOperation 2 [" + aside + L"\\driver.inf" + nul2 + L"] [C:\\WINDOWS\\inf" +
                    nul2 + L"]"}));
  EXPECT_TRUE(HasLine(replaced.events[0], L"INF copy: " + kept + L" put back as it was before the run"));
  MemoryMachine first = ReadyToInstall();
  first.failing.insert("WriteReceipt");
  EXPECT_EQ(first.RunProgram(), 6u);
  EXPECT_EQ(first.CallsStartingWith(L"SHFileOperation 3 [" + kept).size(), 1u);
  EXPECT_EQ(first.existingPaths.count(kept), 0u);
  EXPECT_EQ(first.receipts.count(L"driver.inf"), 0u);
  EXPECT_TRUE(HasLine(first.events[0], L"INF copy: " + kept + L" taken away; there was none before the run"));

  // What it held before is only for the event.
  MemoryMachine unread = ReadyToInstall();
  unread.failing.insert("ReadReceipt");
  EXPECT_EQ(unread.RunProgram(), 0u);
  EXPECT_EQ(unread.receipts[L"driver.inf"].version, L"2.0.0.0");
  EXPECT_TRUE(HasLine(unread.events[0], L"Receipt: HKLM\\SOFTWARE\\Vantrel\\Packages\\driver.inf "
                                        L"written; what it held before could not be read (ReadReceipt)"));

  // The key itself, where a write fails half-way: what it held is put back,
  // a value someone else added included, and the first failure reported.
  using Held = std::map<std::wstring, std::pair<std::uint32_t, std::vector<std::uint8_t>>>;
  const auto held = [](const MemoryRegistryKey& key) {
    Held values;
    for (const RegistryValue& value : key.values) values[value.name] = {value.type, value.data};
    return values;
  };
  MemoryRegistryKey key;
  key.values = ReceiptValues(EarlierReceipt(L"1.0.0.0"));
  key.values.push_back(TextValue(L"Note", L"someone else's"));
  const Held before = held(key);
  key.failingSet = 3;
  bool restored = false;
  try {
    ReplaceValues(key, ReceiptValues(unread.receipts[L"driver.inf"]), [&] { restored = true; });
    ADD_FAILURE() << "the failed write was not reported";
  } catch (const PlatformFailure& failure) {
    EXPECT_STREQ(failure.what(), "RegSetValueExW: Access is denied. (5)");
  }
  EXPECT_TRUE(restored);
  EXPECT_EQ(held(key), before);
  EXPECT_EQ(ReceiptOf(key.values).version, L"1.0.0.0");
}

}  // namespace
}  // namespace vantrel
