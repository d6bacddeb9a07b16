// A package unpacked the way vantrel.exe unpacks it, for reading only: the
// archive, its cabinets into i386, its compressed INFs beside them.
#pragma once

#include <string>

namespace vantrel {

// Runs the 7-Zip console `sevenZip` through the programs' one child runner.
// Returns an empty text, or what went wrong: the step, its exit code or the
// system's error, and what 7-Zip said.
std::wstring UnpackPackage(const std::wstring& sevenZip, const std::wstring& package,
                           const std::wstring& folder);

}  // namespace vantrel
