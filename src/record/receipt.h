// The receipt of a good install: one registry key per INF that Vantrel keeps
// in %SystemRoot%\inf, written beside that copy, which the deployment tools'
// detection rules read. It says which version the INF claims and exactly
// which package put it there; only a good install writes it and only a
// removal that ran deletes it.
#pragma once

#include <cstdint>
#include <string>

namespace vantrel {

// Under HKEY_LOCAL_MACHINE, in the native view (the 64-bit one on 64-bit
// Windows, from the 32-bit program too): where the tools' rules look unless
// told otherwise. One subkey per INF name.
constexpr wchar_t kReceiptsKey[] = L"SOFTWARE\\Vantrel\\Packages";

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

// "HKLM\SOFTWARE\Vantrel\Packages\<INF name>", as records and views name it.
std::wstring ReceiptKeyName(const std::wstring& infName);

struct UtcTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
// "2026-12-08T14:05:09Z".
std::wstring UtcTimeText(const UtcTime& time);

// Where receipts are kept, and what writing one needs of the system: the
// fingerprint of a file and the time. Each call throws PlatformFailure, with
// the system's error, when the system cannot do it.
class ReceiptStore {
 public:
  virtual ~ReceiptStore() = default;

  // The receipt kept for the INF name, its texts only (values it lacks stay
  // empty); false where there is none.
  virtual bool ReadReceipt(const std::wstring& infName, Receipt& receipt) = 0;
  // Replaces whatever the INF name's key held by the receipt. Where that
  // fails, the key is left holding what it held before.
  virtual void WriteReceipt(const std::wstring& infName, const Receipt& receipt) = 0;
  // Deletes the INF name's key; false where there was none.
  virtual bool DeleteReceipt(const std::wstring& infName) = 0;

  // The SHA-256 of the file's bytes, in lowercase hex.
  virtual std::wstring FileSha256(const std::wstring& path) = 0;
  virtual UtcTime UtcNow() = 0;
};

}  // namespace vantrel
