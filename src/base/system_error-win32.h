// Failures that carry what the system said: its error code and the text that
// goes with it, so that whoever reads a failure can tell what happened.
#pragma once

#include <windows.h>

#include <string>

#include "base/failure.h"

namespace vantrel {

// The system's text for an error code, without the trailing line break;
// "error N" where the system has none.
std::string SystemErrorText(DWORD code);

// A PlatformFailure for a call that failed with that error code (by default
// the thread's last error): "<call>: <text> (<code>)".
PlatformFailure SystemFailure(const char* call, DWORD code = GetLastError());

// For the calls that return their error code (the registry's): throws the
// failure of `call` unless the status is ERROR_SUCCESS.
void CheckStatus(const char* call, LONG status);

// Whether such a status, or a last error, says that the file, folder, key or
// value asked for is not there.
bool Absent(LONG status);

}  // namespace vantrel
