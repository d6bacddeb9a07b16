#include "pack/engine_inf-win32.h"

#include "base/system_entry-win32.h"
#include "base/system_folders-win32.h"
#include "inf/inf_file-win32.h"

namespace vantrel {

namespace {

SystemEntry<decltype(&::SetupGetTargetPathW)> getTargetPath(L"setupapi.dll", "SetupGetTargetPathW");

class Win32EngineInf : public EngineInf {
 public:
  explicit Win32EngineInf(const std::wstring& path) : inf_(path) {}
  bool HasSection(const std::wstring& section) const override { return inf_.HasSection(section); }
  std::vector<InfLine> Lines(const std::wstring& section) const override {
    return inf_.Lines(section);
  }
  // As setupapi itself resolves [DestinationDirs] and its DIRIDs.
  std::wstring TargetFolder(const std::wstring& list) const override {
    const wchar_t* section = list.empty() ? nullptr : list.c_str();
    return AskSetupText("SetupGetTargetPathW", [&](wchar_t* buffer, DWORD size, DWORD* needed) {
      return getTargetPath.get()(inf_.Handle(), nullptr, section, buffer, size, needed);
    });
  }

 private:
  InfFile inf_;
};

}  // namespace

std::unique_ptr<EngineInf> Win32EngineInfReader::OpenInf(const std::wstring& path) {
  return std::unique_ptr<EngineInf>(new Win32EngineInf(path));
}

}  // namespace vantrel
