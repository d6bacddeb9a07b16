// The folders the system itself names, never taken from the environment.
#pragma once

#include <string>

namespace vantrel {

// GetSystemDirectoryW: where the system's own programs and libraries are.
std::wstring SystemDirectory();
// GetSystemWindowsDirectoryW: the Windows folder shared by every session.
std::wstring WindowsDirectory();
// GetModuleFileNameW: the full path of this program's executable, at any
// length.
std::wstring ProgramPath();

}  // namespace vantrel
