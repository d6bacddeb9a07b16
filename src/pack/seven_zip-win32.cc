#include "pack/seven_zip-win32.h"

#include <windows.h>

#include "base/system_error-win32.h"
#include "base/text.h"
#include "child/child_watch-win32.h"
#include "child/run_child.h"

namespace vantrel {

namespace {

// 7-Zip stores each name as given, relative to the current folder; the
// builder's one thread makes the stage folder current for the run and puts
// its own back after.
class CurrentFolder {
 public:
  explicit CurrentFolder(const std::wstring& folder) {
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    std::wstring previous(size, L'\0');
    if (size == 0 || GetCurrentDirectoryW(size, &previous[0]) == 0) {
      throw SystemFailure("GetCurrentDirectoryW");
    }
    previous.resize(size - 1);
    if (!SetCurrentDirectoryW(folder.c_str())) throw SystemFailure("SetCurrentDirectoryW");
    previous_ = previous;
  }
  ~CurrentFolder() { SetCurrentDirectoryW(previous_.c_str()); }
  CurrentFolder(const CurrentFolder&) = delete;
  CurrentFolder& operator=(const CurrentFolder&) = delete;

 private:
  std::wstring previous_;
};

}  // namespace

std::uint32_t RunSevenZip(const std::wstring& sevenZip, const std::wstring& folder,
                          const std::wstring& archive, const std::vector<std::wstring>& names) {
  // File names cannot hold quotes; "--" keeps a name that starts with "-"
  // from being read as a switch. Only errors are printed, on the builder's
  // own console.
  std::wstring line = L"\"" + sevenZip + L"\" a -t7z -bd -bso0 -bsp0 -y -- \"" + archive + L"\"";
  for (const std::wstring& name : names) line += L" \"" + name + L"\"";
  Win32Platform platform;
  Win32ChildWatch children(platform);
  CurrentFolder stage(folder);
  const ChildOutcome outcome = RunChild(platform, children, sevenZip, line, ChildStreams::kInherited);
  if (!outcome.started) {
    throw PlatformFailure("7z.exe did not start: " + ToUtf8(outcome.failure));
  }
  return outcome.exitCode;
}

}  // namespace vantrel
