// What an install section leaves on the machine once the INF engine has run
// it, as far as it can be checked afterwards: the files its CopyFiles put in
// place, the services its .Services section adds and the registry values its
// AddReg write. Read as Microsoft's INF documentation defines the
// directives; the same reading for the installer's check and its fuzzing.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "inf/inf_source.h"

namespace vantrel {

// Which registry view a value is written to: the INF installer's own (a
// 32-bit installer's is the 32-bit view on 64-bit Windows) or the one an
// AddReg flag names.
enum class RegistryView { kInstallers, k32Bit, k64Bit };

// A registry key, or a value in it, that an AddReg line writes.
struct RegistryEntry {
  std::wstring root;  // HKLM, HKCR, HKCU or HKU
  std::wstring key;
  std::wstring value;  // empty: the key's default value
  bool keyOnly = false;
  RegistryView view = RegistryView::kInstallers;
};

// A numeric INF field, decimal or 0x hexadecimal, as the engine reads it; 0
// where the field is empty or not a number.
std::uint32_t InfNumber(const std::wstring& field);

// "HKLM\Software\Vendor [Name]", "HKLM\Software\Vendor" for a key alone.
std::wstring RegistryEntryName(const RegistryEntry& entry);

// How the version of a file in place compares with that of its source; kNone
// where either has no version resource.
enum class VersionOrder { kNone, kOlder, kSame, kNewer };

// What a copied file's target holds, against the source in the package.
enum class TargetContent {
  kMissing,
  kSourceBytes,
  kOtherBytes,
  // There, but its source is not there to compare with (a compressed
  // source, or one in a cabinet that the engine expands itself).
  kNotComparable,
};

// One file of the section's CopyFiles, as the INF engine queues it, and its
// target as it stands now.
struct CopiedFile {
  std::wstring target;  // full path
  std::wstring source;  // full path
  TargetContent content = TargetContent::kMissing;
  VersionOrder targetVersion = VersionOrder::kNone;
};

struct ExpectedEffects {
  std::vector<std::wstring> services;
  std::vector<RegistryEntry> registry;
  // The CopyFiles flags of each destination file name (lowered).
  std::map<std::wstring, std::uint32_t> copyFlags;
};

// What the install section (as the engine chose it) must have done.
ExpectedEffects ExpectEffects(const InfSource& inf, const std::wstring& section);

// Whether the check tests what one AddReg line writes, and if not, why.
enum class AddRegCheck {
  kChecked,
  kNoRoot,        // HKR (a device's key, which a DefaultInstall has none of) or no known root
  kMayStay,       // no-clobber or overwrite-only: the value may be left as it was
  kDeletes,       // the line deletes the value
};

// One line of an AddReg section: root,[subkey],[value name],[flags],[value].
// `entry` is filled whatever the answer (its root empty where there is none).
AddRegCheck ReadAddRegLine(const InfLine& line, RegistryEntry& entry);

// Whether the file is as its INF wants it: the source's bytes, or what its
// copy flags let it be instead (an existing file kept, no file where only a
// replacement was asked for, a newer version kept).
bool CopyInPlace(const CopiedFile& file, std::uint32_t copyFlags);

// The flags of the copy whose target that is.
std::uint32_t CopyFlagsOf(const ExpectedEffects& work, const std::wstring& target);

}  // namespace vantrel
