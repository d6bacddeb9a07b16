#include "inf/section_effects.h"

#include <cwchar>

#include "base/text.h"

namespace vantrel {

namespace {

// CopyFiles flags (setupapi.h COPYFLG_*).
constexpr std::uint32_t kCopyNoVersionCheck = 0x4;
constexpr std::uint32_t kCopyNoOverwrite = 0x10;
constexpr std::uint32_t kCopyOverwriteOlderOnly = 0x40;
constexpr std::uint32_t kCopyReplaceOnly = 0x400;

// AddReg flags (setupapi.h FLG_ADDREG_*).
constexpr std::uint32_t kRegNoClobber = 0x2;
constexpr std::uint32_t kRegDeleteValue = 0x4;
constexpr std::uint32_t kRegKeyOnly = 0x10;
constexpr std::uint32_t kRegOverwriteOnly = 0x20;
constexpr std::uint32_t kReg64BitKey = 0x1000;
constexpr std::uint32_t kRegKeyOnlyCommon = 0x2000;
constexpr std::uint32_t kReg32BitKey = 0x4000;
constexpr std::uint32_t kRegDeleteBit = 0x8000;

// Only the machine's and the users' hives; HKR is relative to a device's
// key, which a DefaultInstall has none of.
std::wstring Root(const std::wstring& written) {
  const std::wstring root = LowerAscii(written);
  if (root == L"hklm" || root == L"hkey_local_machine") return L"HKLM";
  if (root == L"hkcr" || root == L"hkey_classes_root") return L"HKCR";
  if (root == L"hkcu" || root == L"hkey_current_user") return L"HKCU";
  if (root == L"hku" || root == L"hkey_users") return L"HKU";
  return std::wstring();
}

}  // namespace

std::uint32_t InfNumber(const std::wstring& field) {
  return static_cast<std::uint32_t>(std::wcstoul(field.c_str(), nullptr, 0));
}

std::wstring RegistryEntryName(const RegistryEntry& entry) {
  std::wstring name = entry.root + (entry.key.empty() ? L"" : L"\\" + entry.key);
  if (!entry.keyOnly) name += L" [" + entry.value + L"]";
  return name;
}

ExpectedEffects ExpectEffects(const InfSource& inf, const std::wstring& chosen) {
  ExpectedEffects effects;
  // What the sections it needs do is the install's too, as the plan reads it.
  for (const std::wstring& section : ProcessedSections(inf, chosen)) {
    for (const std::wstring& list : DirectiveFields(inf, section, L"CopyFiles")) {
      // "@file" copies that one file, without flags.
      if (list[0] == L'@') {
        effects.copyFlags.emplace(LowerAscii(list.substr(1)), 0);
        continue;
      }
      // destination[,source[,unused[,flags]]]
      for (const InfLine& file : inf.Lines(list)) {
        if (file.Field(1).empty()) continue;
        effects.copyFlags[LowerAscii(file.Field(1))] |= InfNumber(file.Field(4));
      }
    }

    // AddService=name,[flags],install-section[,...]
    for (const InfLine& line : inf.Lines(section + L".Services")) {
      if (LowerAscii(line.key) == L"addservice" && !line.Field(1).empty()) {
        effects.services.push_back(line.Field(1));
      }
    }

    for (const std::wstring& list : DirectiveFields(inf, section, L"AddReg")) {
      for (const InfLine& line : inf.Lines(list)) {
        RegistryEntry entry;
        if (ReadAddRegLine(line, entry) == AddRegCheck::kChecked) effects.registry.push_back(entry);
      }
    }
  }
  return effects;
}

AddRegCheck ReadAddRegLine(const InfLine& line, RegistryEntry& entry) {
  // root,[subkey],[value name],[flags],[value]
  entry.root = Root(line.Field(1));
  const std::uint32_t flags = InfNumber(line.Field(4));
  entry.key = line.Field(2);
  entry.value = line.Field(3);
  // A line without a value name or data only makes the key.
  entry.keyOnly = (flags & (kRegKeyOnly | kRegKeyOnlyCommon)) != 0 ||
                  (entry.value.empty() && line.Field(5).empty());
  if ((flags & kReg64BitKey) != 0) entry.view = RegistryView::k64Bit;
  if ((flags & kReg32BitKey) != 0) entry.view = RegistryView::k32Bit;
  if (entry.root.empty()) return AddRegCheck::kNoRoot;
  // A value that may be left as it was, or is deleted, is not the
  // install's to prove.
  if ((flags & (kRegDeleteValue | kRegDeleteBit)) != 0) return AddRegCheck::kDeletes;
  if ((flags & (kRegNoClobber | kRegOverwriteOnly)) != 0) return AddRegCheck::kMayStay;
  return AddRegCheck::kChecked;
}

bool CopyInPlace(const CopiedFile& file, std::uint32_t copyFlags) {
  if (file.content == TargetContent::kSourceBytes ||
      file.content == TargetContent::kNotComparable) {
    return true;
  }
  // Only a file that was there before is replaced.
  if (file.content == TargetContent::kMissing) return (copyFlags & kCopyReplaceOnly) != 0;
  if ((copyFlags & kCopyNoOverwrite) != 0) return true;
  // The engine keeps a newer version in place unless told to ignore
  // versions; told to overwrite only older ones, it keeps the same too.
  if ((copyFlags & kCopyNoVersionCheck) != 0) return false;
  return file.targetVersion == VersionOrder::kNewer ||
         (file.targetVersion == VersionOrder::kSame && (copyFlags & kCopyOverwriteOlderOnly) != 0);
}

std::uint32_t CopyFlagsOf(const ExpectedEffects& effects, const std::wstring& target) {
  const auto found = effects.copyFlags.find(LowerAscii(FileNameOf(target)));
  return found == effects.copyFlags.end() ? 0 : found->second;
}

}  // namespace vantrel
