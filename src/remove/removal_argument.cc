#include "remove/removal_argument.h"

#include "base/text.h"
#include "inf/driver_store_name.h"
#include "record/receipt.h"

namespace vantrel {

namespace {

bool Sha256Text(const std::wstring& text) {
  if (text.size() != 64) return false;
  for (const wchar_t c : text) {
    if (!((c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f'))) return false;
  }
  return true;
}

// The INF name alone, as the whole argument or what stands before the
// package it is scoped to.
RemovalArgument NameArgument(const std::wstring& name) {
  RemovalArgument argument;
  if (name.empty()) {
    argument.refusal = kRemoveNoInfNamed;
    argument.problem = L"no INF named";
    return argument;
  }
  bool control = false;
  for (const wchar_t c : name) control = control || c < 0x20;
  if (control || name.find_first_of(L"\\/:*?<>|") != std::wstring::npos || name == L"." ||
      name == L"..") {
    argument.refusal = kRemoveNotABareName;
    argument.problem = L"\"" + name + L"\" is not the bare name of an INF in the system's INF "
                       L"folder (no path, no drive, no wildcards)";
    return argument;
  }
  argument.infName = WildcardMatch(L"*.inf", name) ? name : name + L".inf";
  // Vantrel never keeps an INF under such a name: it is another installed
  // driver's, and its uninstall and deletion would be that driver's too.
  if (IsDriverStoreInfName(argument.infName)) {
    argument.refusal = kRemoveNotABareName;
    argument.problem = L"\"" + argument.infName + L"\" is the name Windows gives the INF of an "
                       L"installed driver package; Vantrel never installs one";
    argument.infName.clear();
  }
  return argument;
}

}  // namespace

RemovalArgument ParseRemovalArgument(const std::wstring& argumentText) {
  std::wstring name = TrimBlanks(RemoveDoubleQuotes(argumentText));
  const std::wstring::size_type blank = name.find_last_of(L" \t");
  const std::wstring last = name.substr(blank == std::wstring::npos ? 0 : blank + 1);
  const std::wstring switchText = kPackageSwitch;
  std::wstring packageSha256;
  if (LowerAscii(last.substr(0, switchText.size())) == switchText) {
    packageSha256 = LowerAscii(last.substr(switchText.size()));
    name = blank == std::wstring::npos ? std::wstring() : TrimBlanks(name.substr(0, blank));
    if (!Sha256Text(packageSha256)) {
      RemovalArgument argument;
      argument.refusal = kRemoveNotABareName;
      argument.problem = L"\"" + last + L"\" does not name a package: " + switchText +
                         L" takes the package's SHA-256, 64 hex digits, as its receipt's " +
                         kPackageSha256Value + L" holds it";
      return argument;
    }
  }
  RemovalArgument argument = NameArgument(name);
  if (argument.refusal == kRemoved) argument.packageSha256 = packageSha256;
  return argument;
}

}  // namespace vantrel
