// What vantrel-remove is given: the name of an INF that Vantrel keeps in
// %SystemRoot%\inf, nothing else. It only ever removes what is kept there.
#pragma once

#include <string>

#include "run/remove_exits.h"

namespace vantrel {

struct RemovalArgument {
  std::wstring infName;  // "mypackage.inf"; empty when refused
  RemoveExit refusal = kRemoved;
  std::wstring problem;
};

// Quotes anywhere are dropped, blanks around trimmed, ".inf" added where it
// was left out. A path (any "\", "/" or ":"), wildcards, "." or ".." are
// refused.
RemovalArgument ParseRemovalArgument(const std::wstring& argumentText);

}  // namespace vantrel
