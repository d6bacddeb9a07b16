#include "remove/removal_argument.h"

#include <algorithm>

#include "base/text.h"
#include "inf/driver_store_name.h"
#include "record/receipt.h"

namespace vantrel {

namespace {

bool Sha256Text(const std::wstring& text) {
  return text.size() == 64 && std::all_of(text.begin(), text.end(), [](wchar_t c) {
           return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f');
         });
}

RemovalArgument Refused(RemoveExit refusal, const std::wstring& problem) {
  return RemovalArgument{std::wstring(), std::wstring(), refusal, problem};
}

// The INF name alone, as the whole argument or what stands before the
// package it is scoped to.
RemovalArgument NameArgument(const std::wstring& name) {
  if (name.empty()) return Refused(kRemoveNoInfNamed, L"no INF named");
  const bool control =
      std::any_of(name.begin(), name.end(), [](wchar_t c) { return c < 0x20; });
  if (control || name.find_first_of(L"\\/:*?<>|") != std::wstring::npos || name == L"." ||
      name == L"..") {
    return Refused(kRemoveNotABareName, L"\"" + name +
                                            L"\" is not the bare name of an INF in the system's "
                                            L"INF folder (no path, no drive, no wildcards)");
  }
  const std::wstring infName = WildcardMatch(L"*.inf", name) ? name : name + L".inf";
  // Vantrel never keeps an INF under such a name: it is another installed
  // driver's, and its uninstall and deletion would be that driver's too.
  if (IsDriverStoreInfName(infName)) {
    return Refused(kRemoveNotABareName, L"\"" + infName +
                                            L"\" is the name Windows gives the INF of an "
                                            L"installed driver package; Vantrel never installs one");
  }
  return RemovalArgument{infName, std::wstring(), kRemoved, std::wstring()};
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
      return Refused(kRemoveNotABareName,
                     L"\"" + last + L"\" does not name a package: " + switchText +
                         L" takes the package's SHA-256, 64 hex digits, as its receipt's " +
                         kPackageSha256Value + L" holds it");
    }
  }
  RemovalArgument argument = NameArgument(name);
  if (argument.refusal == kRemoved) argument.packageSha256 = packageSha256;
  return argument;
}

}  // namespace vantrel
