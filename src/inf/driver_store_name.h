// The names Windows gives the INFs of installed driver packages.
#pragma once

#include <string>

namespace vantrel {

// oem<digits>.inf (any case): %SystemRoot%\inf holds such a file for each
// driver package the system installed, so a package's INF copy of that name
// would replace another driver's INF.
bool IsDriverStoreInfName(const std::wstring& name);

}  // namespace vantrel
