#include "memory_pack_machine.h"

#include "inf_text.h"

namespace vantrel {

namespace {

// Every file list goes to the system folder.
class MemoryEngineInf : public EngineInf {
 public:
  explicit MemoryEngineInf(const std::wstring& text) : text_(text) {}
  bool HasSection(const std::wstring& section) const override { return text_.HasSection(section); }
  std::vector<InfLine> Lines(const std::wstring& section) const override {
    return text_.Lines(section);
  }
  std::wstring TargetFolder(const std::wstring&) const override { return L"C:\\WINDOWS\\system32"; }

 private:
  InfText text_;
};

}  // namespace

void MemoryPackMachine::CopyFileMakingFolders(const std::wstring& from, const std::wstring& to) {
  Record(L"CopyFileMakingFolders " + Quoted(from) + L" " + Quoted(to));
  files.insert(to);
}

void MemoryPackMachine::DeleteIfPresent(const std::wstring& path) {
  Record(L"DeleteIfPresent " + Quoted(path));
  files.erase(path);
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

std::unique_ptr<EngineInf> MemoryPackMachine::OpenInf(const std::wstring& path) {
  Record(L"OpenInf " + Quoted(path));
  FailIfTold("OpenInf");
  const auto found = infTexts.find(path);
  if (found == infTexts.end()) throw PlatformFailure("no such INF");
  return std::unique_ptr<EngineInf>(new MemoryEngineInf(found->second));
}

}  // namespace vantrel
