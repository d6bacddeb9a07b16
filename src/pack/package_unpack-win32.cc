#include "pack/package_unpack-win32.h"

#include "child/child_watch-win32.h"
#include "child/run_child.h"

namespace vantrel {

namespace {

// One 7-Zip step; empty when it ended with 0. Its output is captured, so
// nothing it prints lands among the lines of --show (or inside its JSON).
std::wstring Step(Platform& platform, ChildWatch& children, const std::wstring& sevenZip, const std::wstring& what,
                  const std::wstring& source, const std::wstring& to) {
  const std::wstring line = L"\"" + sevenZip + L"\" x -y -aoa -bd \"" + source + L"\" -o\"" + to + L"\"";
  const ChildOutcome outcome = RunChild(platform, children, sevenZip, line, ChildStreams::kCaptured);
  if (!outcome.started) return what + L": 7z.exe did not start: " + outcome.failure;
  if (outcome.exitCode == 0 && !outcome.declined) return std::wstring();
  std::wstring why = what + L": 7z.exe ended with exit code " + std::to_wstring(outcome.exitCode);
  for (const std::wstring& said : outcome.output) why += L"\n  " + said;
  return why;
}

}  // namespace

std::wstring UnpackPackage(const std::wstring& sevenZip, const std::wstring& package,
                           const std::wstring& folder) {
  Win32Platform platform;
  Win32ChildWatch children(platform);
  std::wstring failure = Step(platform, children, sevenZip, L"unpacking the package", package, folder);
  if (failure.empty() && !platform.FirstMatch(folder + L"\\*.cab").empty()) {
    failure = Step(platform, children, sevenZip, L"expanding its cabinets", folder + L"\\*.cab",
                   folder + L"\\i386");
  }
  if (failure.empty() && !platform.FirstMatch(folder + L"\\*.in_").empty()) {
    failure = Step(platform, children, sevenZip, L"expanding its compressed INF", folder + L"\\*.in_", folder);
  }
  return failure;
}

}  // namespace vantrel
