// Everything vantrel-pack reaches the system through: the Windows services
// and the child runner the installer uses too, and what only packing needs,
// each behind a small interface. The Windows machine is in
// pack_machine-win32.h; the unit tests run the builder on one in memory.
#pragma once

#include <string>
#include <vector>

#include "base/file_sha256.h"
#include "child/child_watch.h"
#include "inf/inf_engine.h"
#include "platform/platform.h"

namespace vantrel {

// Lines for the person or script that ran vantrel-pack.
class Console {
 public:
  virtual ~Console() = default;
  virtual void PrintOut(const std::wstring& line) = 0;
  virtual void PrintError(const std::wstring& line) = 0;
};

// What packing does with files beyond the platform's calls: the paths it
// is given, the package's files copied to their places and the private
// folder the cabinets are made in. Each call throws PlatformFailure, with
// the system's error, where the system cannot do it.
class PackFiles {
 public:
  virtual ~PackFiles() = default;
  // A relative path made absolute against the current folder.
  virtual std::wstring FullPath(const std::wstring& path) = 0;
  // Copies the file to `to`, making the folders on the way.
  virtual void CopyFileMakingFolders(const std::wstring& from, const std::wstring& to) = 0;
  // A new folder of this run's own under the user's temporary folder.
  virtual std::wstring MakeStageFolder() = 0;
};

// A file, not a folder, at the path.
inline bool IsFile(Platform& platform, const std::wstring& path) {
  return platform.PathFileExists(path) == 1 && platform.PathIsDirectory(path) == 0;
}

struct CabinetEntry {
  std::wstring source;  // full path
  std::wstring name;    // as stored: a bare name or a path below the cabinet's folder
};

// MSZIP cabinets, the format Windows' own tools expand.
class CabinetWriter {
 public:
  virtual ~CabinetWriter() = default;
  // One cabinet at `cabinetPath` holding the files. Throws PlatformFailure
  // naming the call, the file and the system's error.
  virtual void WriteCabinet(const std::wstring& cabinetPath,
                            const std::vector<CabinetEntry>& files) = 0;
};

struct PackMachine {
  Platform& platform;
  ChildWatch& children;
  PackFiles& files;
  FileHasher& hashes;
  CabinetWriter& cabinets;
  InfEngine& inf;
  Console& console;
};

}  // namespace vantrel
