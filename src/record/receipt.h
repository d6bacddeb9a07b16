// The receipt of a good install: one registry key per INF that Vantrel keeps
// in %SystemRoot%\inf, written beside that copy, which the deployment tools'
// detection rules read. It says which version the INF claims and exactly
// which package put it there; only a good install writes it and only a
// removal that ran deletes it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/registry_values.h"
#include "base/utc_clock.h"

namespace vantrel {

// The hive of every receipt, as the deployment tools spell it. The keys are
// in its native view (the 64-bit one on 64-bit Windows, from the 32-bit
// program too): where the tools' rules look unless told otherwise.
constexpr wchar_t kReceiptsHive[] = L"HKEY_LOCAL_MACHINE";
// The INF name's key below the hive: "SOFTWARE\Vantrel\Packages\<INF name>".
// Every other spelling of it is made from this one.
std::wstring ReceiptSubkey(const std::wstring& infName);
// "HKLM\SOFTWARE\Vantrel\Packages\<INF name>", as the run's records name it.
std::wstring ReceiptKeyName(const std::wstring& infName);
// "HKEY_LOCAL_MACHINE\SOFTWARE\...", as the deployment tools spell a key.
std::wstring ReceiptKeyPath(const std::wstring& infName);

// The values of a receipt's key, by the names the detection rules use.
constexpr wchar_t kVersionValue[] = L"Version";
constexpr wchar_t kDriverDateValue[] = L"DriverDate";
constexpr wchar_t kPackageSha256Value[] = L"PackageSHA256";
constexpr wchar_t kInfSha256Value[] = L"InfSHA256";
constexpr wchar_t kPackageValue[] = L"Package";
constexpr wchar_t kInstalledAtValue[] = L"InstalledAt";
constexpr wchar_t kExitCodeValue[] = L"ExitCode";
constexpr wchar_t kVantrelValue[] = L"Vantrel";

// What a deployment tool's uninstall command adds to the INF name to remove
// one package only: "vantrel-remove.exe mypackage.inf /package:<PackageSHA256>".
// The tool keeps that command per package; it must never take away the
// package a later version put under the same INF name.
constexpr wchar_t kPackageSwitch[] = L"/package:";

// Each field is one value of the key, all REG_SZ but the exit code; an
// empty text is a value not written.
struct Receipt {
  std::wstring version;        // DriverVer's version, where usable
  std::wstring driverDate;     // yyyy-mm-dd, where valid
  std::wstring packageSha256;  // of the package file as given
  std::wstring infSha256;      // of the INF copy
  std::wstring package;        // the package as named, made a full path
  std::wstring installedAt;    // yyyy-mm-ddThh:mm:ssZ, UTC
  std::uint32_t exitCode = 0;  // REG_DWORD: 0 or 3010
  std::wstring vantrel;        // the version of the program that wrote it
};

// The key's values: the fields with a text, and the exit code.
std::vector<RegistryValue> ReceiptValues(const Receipt& receipt);
// The receipt a key's values hold, its texts only: a value that is missing
// or no REG_SZ leaves its field empty.
Receipt ReceiptOf(const std::vector<RegistryValue>& values);

// "2026-12-08T14:05:09Z", as InstalledAt holds the time.
std::wstring UtcTimeText(const UtcTime& time);

}  // namespace vantrel
