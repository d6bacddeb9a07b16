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

}  // namespace vantrel
