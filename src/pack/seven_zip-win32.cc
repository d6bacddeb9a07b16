#include "pack/seven_zip-win32.h"

#include <windows.h>

#include "base/system_folders-win32.h"
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
  explicit CurrentFolder(const std::wstring& folder)
      : previous_(AskSystemText("GetCurrentDirectoryW", [](wchar_t* buffer, DWORD size) {
          return GetCurrentDirectoryW(size, buffer);
        })) {
    if (!SetCurrentDirectoryW(folder.c_str())) throw SystemFailure("SetCurrentDirectoryW");
  }
  ~CurrentFolder() { SetCurrentDirectoryW(previous_.c_str()); }
  CurrentFolder(const CurrentFolder&) = delete;
  CurrentFolder& operator=(const CurrentFolder&) = delete;

 private:
  std::wstring previous_;
};

// One run of 7-Zip, hidden and inside a job, as the programs run every child.
ChildOutcome RunSevenZipLine(const std::wstring& sevenZip, const std::wstring& line,
                             ChildStreams streams) {
  Win32Platform platform;
  Win32ChildWatch children(platform);
  // The builder runs at a console, where its user can stop it.
  return RunChild(platform, children, sevenZip, line, streams, kNoBound);
}

// One 7-Zip step of unpacking; empty when it ended with 0. Its output is
// captured, so nothing it prints lands among the lines of --show (or inside
// its JSON).
std::wstring Step(const std::wstring& sevenZip, const std::wstring& what,
                  const std::wstring& source, const std::wstring& to) {
  const std::wstring line =
      L"\"" + sevenZip + L"\" x -y -aoa -bd \"" + source + L"\" -o\"" + to + L"\"";
  const ChildOutcome outcome = RunSevenZipLine(sevenZip, line, ChildStreams::kCaptured);
  if (!outcome.started) return what + L": 7z.exe did not start: " + outcome.failure;
  if (outcome.exitCode == 0 && !outcome.declined) return std::wstring();
  std::wstring why = what + L": 7z.exe ended with exit code " + std::to_wstring(outcome.exitCode);
  for (const std::wstring& said : outcome.output) why += L"\n  " + said;
  return why;
}

}  // namespace

std::uint32_t RunSevenZip(const std::wstring& sevenZip, const std::wstring& folder,
                          const std::wstring& archive, const std::vector<std::wstring>& names) {
  // File names cannot hold quotes; "--" keeps a name that starts with "-"
  // from being read as a switch. Only errors are printed, on the builder's
  // own console.
  std::wstring line = L"\"" + sevenZip + L"\" a -t7z -bd -bso0 -bsp0 -y -- \"" + archive + L"\"";
  for (const std::wstring& name : names) line += L" \"" + name + L"\"";
  CurrentFolder stage(folder);
  const ChildOutcome outcome = RunSevenZipLine(sevenZip, line, ChildStreams::kInherited);
  if (!outcome.started) {
    throw PlatformFailure("7z.exe did not start: " + ToUtf8(outcome.failure));
  }
  return outcome.exitCode;
}

std::wstring UnpackPackage(const std::wstring& sevenZip, const std::wstring& package,
                           const std::wstring& folder) {
  Win32Platform platform;
  std::wstring failure = Step(sevenZip, L"unpacking the package", package, folder);
  if (failure.empty() && !platform.FirstMatch(folder + L"\\*.cab").empty()) {
    failure = Step(sevenZip, L"expanding its cabinets", folder + L"\\*.cab", folder + L"\\i386");
  }
  if (failure.empty() && !platform.FirstMatch(folder + L"\\*.in_").empty()) {
    failure = Step(sevenZip, L"expanding its compressed INF", folder + L"\\*.in_", folder);
  }
  return failure;
}

}  // namespace vantrel
