// The system's INF engine, as far as the programs ask it anything: its
// parser, the platform it installs for, and the files it would copy for a
// section.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "inf/inf_source.h"
#include "inf/section_effects.h"

namespace vantrel {

class InfEngine {
 public:
  virtual ~InfEngine() = default;

  // The INF as the system's INF parser reads it. Throws PlatformFailure when
  // the parser refuses it, with the parser's error.
  virtual std::unique_ptr<InfSource> OpenInf(const std::wstring& path) = 0;
  // The platform of the INF installer the program starts: the system's
  // rundll32 of the program's own bitness.
  virtual InfArchitecture InstallerArchitecture() = 0;
  // Whether this is a 32-bit program on 64-bit Windows (WoW64): its INF
  // installer is the 32-bit one, whose registry writes and system files are
  // redirected to the 32-bit views.
  virtual bool RunsUnderWow64() = 0;
  // The files the install section copies, each with its target as it
  // stands now: the engine's own queue for the section, never carried out.
  // The sources are those of the INF's folder. Throws PlatformFailure, with
  // the system's error, when the engine cannot be asked.
  virtual std::vector<CopiedFile> FilesOfSection(const std::wstring& infPath,
                                                 const std::wstring& section) = 0;
};

}  // namespace vantrel
