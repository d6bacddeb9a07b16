// The 7-Zip console that ships beside the builder, run through the programs'
// one child runner, with the command lines and the reading of its exit code
// that the install uses: it writes the package's 7z archive, and unpacks a
// package exactly as vantrel.exe unpacks it, for reading only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pack/pack_machine.h"

namespace vantrel {

// Runs `7z a` started in `folder` for the named files of that folder
// (`appPath`: the folder 7z.exe lies in) and waits for it; returns its exit
// code. Throws PlatformFailure when it cannot start.
std::uint32_t RunSevenZip(PackMachine& machine, const std::wstring& appPath,
                          const std::wstring& folder, const std::wstring& archive,
                          const std::vector<std::wstring>& names);

// Unpacks the package into the folder: the archive, its cabinets into i386,
// its compressed INFs beside them. Returns an empty text, or what went
// wrong: the step, its exit code or the system's error, and what 7-Zip said.
std::wstring UnpackPackage(PackMachine& machine, const std::wstring& appPath,
                           const std::wstring& package, const std::wstring& folder);

}  // namespace vantrel
