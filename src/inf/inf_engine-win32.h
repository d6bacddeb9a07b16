// The INF engine on Windows: setupapi's parser and file queue, and the
// engine of the system's rundll32 of this program's bitness.
#pragma once

#include "inf/inf_engine.h"

namespace vantrel {

// The platform this program's INF installer installs for: a 32-bit
// program's system folder is SysWOW64 on 64-bit Windows, so its rundll32,
// and with it the INF engine, is 32-bit too.
constexpr InfArchitecture kInstallerArchitecture =
    sizeof(void*) == 8 ? InfArchitecture::kAmd64 : InfArchitecture::kX86;

class Win32InfEngine : public InfEngine {
 public:
  std::unique_ptr<InfSource> OpenInf(const std::wstring& path) override;
  InfArchitecture InstallerArchitecture() override { return kInstallerArchitecture; }
  bool RunsUnderWow64() override;
  std::vector<CopiedFile> FilesOfSection(const std::wstring& infPath,
                                         const std::wstring& section) override;
};

}  // namespace vantrel
