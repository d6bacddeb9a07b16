#include "remove/removal_argument.h"

#include "base/text.h"
#include "inf/driver_store_name.h"

namespace vantrel {

RemovalArgument ParseRemovalArgument(const std::wstring& argumentText) {
  RemovalArgument argument;
  const std::wstring name = TrimBlanks(RemoveDoubleQuotes(argumentText));
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

}  // namespace vantrel
