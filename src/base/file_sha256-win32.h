// The SHA-256 of a file by the system's own cryptography (CNG), read in
// pieces so that a package of any size costs little memory.
#pragma once

#include <string>

#include "base/file_sha256.h"

namespace vantrel {

class Win32FileHasher : public FileHasher {
 public:
  std::wstring FileSha256(const std::wstring& path) override;
};

}  // namespace vantrel
