// What vantrel-remove is given: the name of an INF that Vantrel keeps in
// %SystemRoot%\inf, and, from a deployment tool that removes one package,
// the package whose removal it asks for. It only ever removes what is kept
// there.
#pragma once

#include <string>

#include "run/remove_exits.h"

namespace vantrel {

struct RemovalArgument {
  std::wstring infName;  // "mypackage.inf"; empty when refused
  // The PackageSHA256 the receipt must name for the removal to run, lower
  // case; empty where any package kept under the name goes.
  std::wstring packageSha256;
  RemoveExit refusal = kRemoved;
  std::wstring problem;
};

// Quotes anywhere are dropped, blanks around trimmed, ".inf" added where it
// was left out. A path (any "\", "/" or ":"), wildcards, "." or ".." are
// refused. A last word "/package:<SHA-256>" (kPackageSwitch, any case)
// scopes the removal to that package; the name is what stands before it.
RemovalArgument ParseRemovalArgument(const std::wstring& argumentText);

}  // namespace vantrel
