// What the values of an INF's directives mean, as an administrator reads
// them and as the engine takes them: where a file list's files go
// ([DestinationDirs]), the registry type an AddReg flags field writes, a
// service's start type.
#pragma once

#include <string>

#include "inf/inf_source.h"

namespace vantrel {

struct DestinationDir {
  std::wstring dirid;      // "11" where the INF names none
  std::wstring subfolder;  // below the DIRID's folder
  bool byDefault = false;  // no entry for the list, nor DefaultDestDir
};
// The entry of [DestinationDirs] for the file list (empty: "@file" copies),
// else DefaultDestDir, else the engine's default, the system folder.
DestinationDir DestinationOf(const InfSource& inf, const std::wstring& list);

// "REG_DWORD", "REG_EXPAND_SZ", ...: the type an AddReg line's flags write.
std::wstring AddRegTypeName(const std::wstring& flags);

// "boot", "system", "auto", "demand", "disabled"; otherwise as written.
std::wstring ServiceStartName(const std::wstring& written);

}  // namespace vantrel
