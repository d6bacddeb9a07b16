#include "pack/seven_zip.h"

#include "base/text.h"
#include "child/run_child.h"
#include "helpers/module1.h"
#include "run/child_commands.h"

namespace vantrel {

std::uint32_t RunSevenZip(PackMachine& machine, const std::wstring& appPath,
                          const std::wstring& folder, const std::wstring& archive,
                          const std::vector<std::wstring>& names) {
  // 7-Zip stores each name as given, relative to the folder it starts in.
  const std::wstring sevenZip = SevenZipProgram(appPath);
  const ChildOutcome outcome =
      RunChild(machine.platform, machine.children,
               {sevenZip, PackArchiveCommand(sevenZip, archive, names), folder,
                ChildStreams::kInherited, kNoBound});
  if (!outcome.started) {
    throw PlatformFailure("7z.exe did not start: " + ToUtf8(outcome.failure));
  }
  return outcome.exitCode;
}

std::wstring UnpackPackage(PackMachine& machine, const std::wstring& appPath,
                           const std::wstring& package, const std::wstring& folder) {
  // The wildcard sources go unquoted, as the install's work folder does; the
  // short form keeps blanks of the user's temporary folder out of them.
  const std::wstring work = ShortFormOrPath(machine.platform, folder);
  for (const UnpackStep& step : UnpackSteps(appPath, package, work)) {
    // Its output is captured, so nothing it prints lands among the lines of
    // --show (or inside its JSON).
    const ChildOutcome outcome =
        RunChild(machine.platform, machine.children,
                 {SevenZipProgram(appPath), step.commandLine, std::wstring(),
                  ChildStreams::kCaptured, kNoBound});
    if (SevenZipUnpacked(machine.platform, outcome, step.sourcePattern)) continue;
    if (!outcome.started) return step.what + L": 7z.exe did not start: " + outcome.failure;
    std::wstring why =
        step.what + L": 7z.exe ended with exit code " + std::to_wstring(outcome.exitCode);
    for (const std::wstring& said : outcome.output) why += L"\n  " + said;
    return why;
  }
  return std::wstring();
}

}  // namespace vantrel
