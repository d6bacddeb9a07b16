// vantrel-pack's machine in memory: the platform and child watch of the
// other programs, files and folders given by the test, cabinets and console
// lines recorded.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "memory_capabilities.h"
#include "memory_platform.h"
#include "pack/pack_machine.h"

namespace vantrel {

class MemoryPackMachine : public MemoryPlatform,
                          public PackFiles,
                          public CabinetWriter,
                          public MemoryInfEngine,
                          public Console {
 public:
  // What the test sets up: the files and folders there are (full paths),
  // what each folder holds and the folder MakeStageFolder makes.
  std::set<std::wstring> files;
  std::set<std::wstring> folders;
  std::map<std::wstring, std::vector<TreeItem>> trees;
  std::wstring stageFolder = L"C:\\Temp\\vantrel-pack-1";
  // What the program printed.
  std::vector<std::wstring> out, errors;

  operator PackMachine() { return PackMachine{*this, *this, *this, *this, *this, *this}; }

  std::wstring FullPath(const std::wstring& path) override { return path; }
  bool IsFolder(const std::wstring& path) override { return folders.count(path) != 0; }
  bool IsFile(const std::wstring& path) override { return files.count(path) != 0; }
  std::vector<TreeItem> ListTree(const std::wstring& folder) override { return trees[folder]; }
  void CopyFileMakingFolders(const std::wstring& from, const std::wstring& to) override;
  void DeleteIfPresent(const std::wstring& path) override;
  std::wstring MakeStageFolder() override;
  std::wstring FileSha256(const std::wstring& path) override { return L"sha256 of " + path; }
  void WriteCabinet(const std::wstring& cabinetPath,
                    const std::vector<CabinetEntry>& entries) override;
  void PrintOut(const std::wstring& line) override { out.push_back(line); }
  void PrintError(const std::wstring& line) override { errors.push_back(line); }
};

}  // namespace vantrel
