// The 7-Zip console that ships beside the program, run through the programs'
// one child runner: it writes the package's 7z archive, and unpacks a package
// the way vantrel.exe unpacks it, for reading only: the archive, its cabinets
// into i386, its compressed INFs beside them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vantrel {

// Runs `<sevenZip> a -t7z` in `folder` for the named files of that folder and
// waits for it; returns its exit code. Throws PlatformFailure when it cannot
// start.
std::uint32_t RunSevenZip(const std::wstring& sevenZip, const std::wstring& folder,
                          const std::wstring& archive, const std::vector<std::wstring>& names);

// Unpacks the package into the folder. Returns an empty text, or what went
// wrong: the step, its exit code or the system's error, and what 7-Zip said.
std::wstring UnpackPackage(const std::wstring& sevenZip, const std::wstring& package,
                           const std::wstring& folder);

}  // namespace vantrel
