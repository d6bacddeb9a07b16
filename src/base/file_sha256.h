// The fingerprint of a file: what a receipt records of the package and the
// INF copy, and what the package builder's detection rules compare.
#pragma once

#include <string>

namespace vantrel {

class FileHasher {
 public:
  virtual ~FileHasher() = default;
  // The SHA-256 of the file's bytes, in lowercase hex. Throws
  // PlatformFailure, with the system's error, when the file cannot be
  // opened or read to its end (a share that stops answering), or the system
  // cannot hash.
  virtual std::wstring FileSha256(const std::wstring& path) = 0;
};

}  // namespace vantrel
