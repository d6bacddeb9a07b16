// vantrel-pack's machine on Windows: every interface by the system's own
// services, made once at the program's start and kept until it ends. The
// machine is itself what only packing needs: the files and folders
// (pack_files-win32.cc), the cabinets (cabinet_writer-win32.cc) and the
// console (console_text-win32.cc).
#pragma once

#include <string>
#include <vector>

#include "base/file_sha256-win32.h"
#include "child/child_watch-win32.h"
#include "inf/inf_engine-win32.h"
#include "pack/pack_machine.h"
#include "platform/folder_tree-win32.h"
#include "platform/platform-win32.h"

namespace vantrel {

class Win32PackMachine : public PackFiles, public CabinetWriter, public Console {
 public:
  Win32PackMachine() : children_(platform_) {}
  Win32PackMachine(const Win32PackMachine&) = delete;
  Win32PackMachine& operator=(const Win32PackMachine&) = delete;

  PackMachine Get() {
    return PackMachine{platform_, children_, *this, hasher_, *this, inf_, *this};
  }

  // The folder packed, the package written and the stage folder under the
  // user's temporary folder.
  std::wstring FullPath(const std::wstring& path) override { return vantrel::FullPath(path); }
  void CopyFileMakingFolders(const std::wstring& from, const std::wstring& to) override;
  std::wstring MakeStageFolder() override;

  // MSZIP cabinets by the system's cabinet library (cabinet.dll, FCI); the
  // library's temporary files go beside the cabinet.
  void WriteCabinet(const std::wstring& cabinetPath,
                    const std::vector<CabinetEntry>& files) override;

  // A console gets the text as it is; a pipe or file gets UTF-8, so no name
  // is lost to a code page.
  void PrintOut(const std::wstring& line) override;
  void PrintError(const std::wstring& line) override;

 private:
  Win32Platform platform_;
  Win32ChildWatch children_;
  Win32InfEngine inf_;
  Win32FileHasher hasher_;
};

}  // namespace vantrel
