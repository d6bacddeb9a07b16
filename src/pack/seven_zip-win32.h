// The 7z archive, written by the 7-Zip console that ships beside the program.
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

}  // namespace vantrel
