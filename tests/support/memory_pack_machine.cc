#include "memory_pack_machine.h"

namespace vantrel {

void MemoryPackMachine::CopyFileMakingFolders(const std::wstring& from, const std::wstring& to) {
  Record(L"CopyFileMakingFolders " + Quoted(from) + L" " + Quoted(to));
  existingPaths.insert(to);
}

std::wstring MemoryPackMachine::MakeStageFolder() {
  Record(L"MakeStageFolder");
  return stageFolder;
}

void MemoryPackMachine::WriteCabinet(const std::wstring& cabinetPath,
                                     const std::vector<CabinetEntry>& entries) {
  std::wstring call = L"WriteCabinet " + Quoted(cabinetPath);
  for (const CabinetEntry& entry : entries) call += L" " + entry.name;
  Record(call);
}

}  // namespace vantrel
