// The SHA-256 of a file, by the system's own cryptography (CNG), read in
// pieces so that a package of any size costs little memory.
#pragma once

#include <string>

namespace vantrel {

// Lowercase hex. Throws PlatformFailure, with the system's error, when the
// file cannot be opened or read to its end (a share that stops answering),
// or the system cannot hash.
std::wstring FileSha256(const std::wstring& path);

}  // namespace vantrel
