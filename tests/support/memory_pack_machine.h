// vantrel-pack's machine in memory: the platform and child watch of the
// other programs, files and folders given by the test, cabinets and console
// lines recorded.
#pragma once

#include <string>
#include <vector>

#include "memory_capabilities.h"
#include "memory_platform.h"
#include "pack/pack_machine.h"

namespace vantrel {

class MemoryPackMachine : public MemoryPlatform,
                          public PackFiles,
                          public MemoryFileHasher,
                          public CabinetWriter,
                          public MemoryInfEngine,
                          public Console {
 public:
  // What the test sets up (the files and folders are the platform's): the
  // folder MakeStageFolder makes.
  std::wstring stageFolder = L"C:\\Temp\\vantrel-pack-1";
  // What the program printed.
  std::vector<std::wstring> out, errors;

  operator PackMachine() { return PackMachine{*this, *this, *this, *this, *this, *this, *this}; }

  std::wstring FullPath(const std::wstring& path) override { return path; }
  void CopyFileMakingFolders(const std::wstring& from, const std::wstring& to) override;
  std::wstring MakeStageFolder() override;
  void WriteCabinet(const std::wstring& cabinetPath,
                    const std::vector<CabinetEntry>& entries) override;
  void PrintOut(const std::wstring& line) override { out.push_back(line); }
  void PrintError(const std::wstring& line) override { errors.push_back(line); }
};

}  // namespace vantrel
