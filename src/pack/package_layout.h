// Where each file of the folder goes in the package, so that every source
// file lies, once the installer has unpacked it, where the INF engine looks
// for it: the package's cabinet is expanded into the work folder's i386
// subfolder, everything else of the archive is unpacked with its path into
// the work folder beside the INF.
#pragma once

#include <string>
#include <vector>

#include "inf/inf_source.h"
#include "pack/exit_codes.h"

namespace vantrel {

struct PackedFile {
  std::wstring from;  // path relative to the folder
  std::wstring to;    // path in the package: inside i386 when inCabinet
  bool inCabinet = false;
};

struct PackageLayout {
  std::vector<PackedFile> files;
  // One line a platform the package installs on, e.g.
  // "x86: DefaultInstall.NTx86 (the 32-bit bundle)".
  std::vector<std::wstring> platforms;
  // The reason the exit code gives comes first.
  std::vector<std::wstring> refusals;
  std::vector<std::wstring> warnings;
  PackExit code = PackExit::kMade;
};

// `files`: every file of the folder but the INF, as paths relative to it.
// A source file is taken from where the INF says it is, relative to the INF;
// where it is not there, from beside the INF (a flat folder).
PackageLayout LayOutPackage(const InfSource& inf, const std::wstring& infName,
                            const std::vector<std::wstring>& files);

}  // namespace vantrel
