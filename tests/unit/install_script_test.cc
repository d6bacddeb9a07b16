// The install: the command texts, the order of every step, and how a failing
// step affects the rest and the exit code.
#include <gtest/gtest.h>

#include "memory_platform.h"

namespace vantrel {
namespace {

using Calls = std::vector<std::wstring>;

const std::wstring kWork = L"C:\\WINDOWS\\Temp\\Vantrel";

// A machine with the package at hand and, unless a test says otherwise, an
// INF in the work folder after the extraction.
MemoryPlatform ReadyToInstall() {
  MemoryPlatform platform;
  platform.environment = {L"SystemDrive=C:", L"SystemRoot=C:\\WINDOWS"};
  platform.argumentText = L"\"C:\\Package Store\\driver.7z\"";
  platform.shortPaths[L"C:\\Package Store\\driver.7z"] = L"C:\\PACKAG~1\\driver.7z";
  platform.shortPaths[L"C:\\Program Files\\Vantrel"] = L"C:\\PROGRA~1\\Vantrel";
  platform.existingPaths = {L"C:\\PACKAG~1\\driver.7z", kWork + L"\\driver.inf"};
  platform.firstMatches[kWork + L"\\*.inf"] = L"driver.inf";
  return platform;
}

ChildScript Exits(std::uint32_t code) { return ChildScript{true, 0, code}; }

bool IsSevenZip(const std::wstring& command) { return command.find(L"\\7z\"") != std::wstring::npos; }

TEST(InstallScript, CommandTextsCharacterForCharacter) {
  MemoryPlatform platform = ReadyToInstall();
  EXPECT_EQ(platform.RunProgram(), 0u);
  EXPECT_EQ(platform.launched,
            (Calls{L"\"C:\\PROGRA~1\\Vantrel\\7z\" x -y -aoa \"C:\\PACKAG~1\\driver.7z\" "
                   L"-o\"C:\\WINDOWS\\Temp\\Vantrel\"",
                   L"\"C:\\PROGRA~1\\Vantrel\\7z\" x -y -aoa C:\\WINDOWS\\Temp\\Vantrel\\*.cab "
                   L"-o\"C:\\WINDOWS\\Temp\\Vantrel\\i386\"",
                   L"\"C:\\PROGRA~1\\Vantrel\\7z\" x -y -aoa C:\\WINDOWS\\Temp\\Vantrel\\*.in_ "
                   L"-o\"C:\\WINDOWS\\Temp\\Vantrel\"",
                   L"rundll32 syssetup,SetupInfObjectInstallAction DefaultInstall 128 "
                   L"C:\\WINDOWS\\Temp\\Vantrel\\driver.inf"}));
  ASSERT_EQ(platform.shellOperations.size(), 1u);
  EXPECT_EQ(platform.shellOperations[0].pFrom, kWork + L"\\driver.inf" + std::wstring(2, L'\0'));
  EXPECT_EQ(platform.shellOperations[0].pTo, L"C:\\WINDOWS\\inf" + std::wstring(2, L'\0'));
}

TEST(InstallScript, StepsRunInOrderUnderTheInstallLock) {
  MemoryPlatform platform = ReadyToInstall();
  platform.existingPaths.insert(kWork);  // an earlier run's leftovers
  EXPECT_EQ(platform.RunProgram(), 0u);
  Calls steps;
  for (const auto& call : platform.calls) {
    for (const wchar_t* kind : {L"AcquireNamedMutex", L"ReleaseNamedMutex", L"LaunchHidden",
                                L"FirstMatch", L"SHFileOperation", L"Sleep", L"EndProcess"}) {
      if (call.rfind(kind, 0) == 0) steps.push_back(call);
    }
  }
  const std::wstring sevenZip = L"LaunchHidden [\"C:\\PROGRA~1\\Vantrel\\7z\" x -y -aoa ";
  const std::wstring noNul = std::wstring(L"\\0\\0");
  EXPECT_EQ(steps, (Calls{
                       L"AcquireNamedMutex [Global\\Vantrel.Install]",
                       L"SHFileOperation 3 [" + kWork + noNul + L"] []",
                       sevenZip + L"\"C:\\PACKAG~1\\driver.7z\" -o\"" + kWork + L"\"]",
                       L"Sleep 100",
                       sevenZip + kWork + L"\\*.cab -o\"" + kWork + L"\\i386\"]",
                       L"Sleep 100",
                       sevenZip + kWork + L"\\*.in_ -o\"" + kWork + L"\"]",
                       L"Sleep 100",
                       L"FirstMatch [" + kWork + L"\\*.inf]",
                       L"LaunchHidden [rundll32 syssetup,SetupInfObjectInstallAction "
                       L"DefaultInstall 128 " + kWork + L"\\driver.inf]",
                       L"Sleep 100",
                       L"SHFileOperation 2 [" + kWork + L"\\driver.inf" + noNul +
                           L"] [C:\\WINDOWS\\inf" + noNul + L"]",
                       L"Sleep 100",
                       L"SHFileOperation 3 [" + kWork + noNul + L"] []",
                       L"ReleaseNamedMutex 77",
                       L"EndProcess 0",
                   }));
  // The pause between the copy and the clean-up pumps on both sides.
  const std::size_t copy = platform.IndexOfCall(L"SHFileOperation 2 [" + kWork +
                                                L"\\driver.inf" + noNul + L"] [C:\\WINDOWS\\inf" +
                                                noNul + L"]");
  EXPECT_EQ((Calls{platform.calls.begin() + copy + 1, platform.calls.begin() + copy + 4}),
            (Calls{L"PumpMessages", L"Sleep 100", L"PumpMessages"}));
}

TEST(InstallScript, WithoutSevenZipEveryLaterStepStillRuns) {
  MemoryPlatform platform = ReadyToInstall();
  platform.childFor = [](const std::wstring& command) {
    return IsSevenZip(command) ? ChildScript{false, 0, 0} : Exits(0);
  };
  platform.firstMatches.clear();
  platform.existingPaths.insert(kWork);
  EXPECT_EQ(platform.RunProgram(), 3u);
  EXPECT_EQ(platform.launched.size(), 3u);
  EXPECT_EQ(platform.CallsStartingWith(L"FirstMatch").size(), 1u);
  // No INF: nothing is installed and the work folder is not copied into the
  // system's INF folder; it is still removed.
  for (const auto& op : platform.shellOperations) EXPECT_EQ(op.wFunc, 3u);
  EXPECT_EQ(platform.shellOperations.size(), 2u);
}

TEST(InstallScript, APackageWithoutAnInfInstallsAndCopiesNothing) {
  MemoryPlatform platform = ReadyToInstall();
  platform.firstMatches.clear();
  EXPECT_EQ(platform.RunProgram(), 4u);
  EXPECT_EQ(platform.launched.size(), 3u);
  EXPECT_TRUE(platform.CallsStartingWith(L"SHFileOperation 2").empty());
  EXPECT_EQ(platform.calls.back(), L"EndProcess 4");
}

TEST(InstallScript, ExitCodeNamesTheFirstFailure) {
  struct Case {
    const char* what;
    std::uint32_t unpackExit, installExit;
    bool copyAborts;
    std::uint32_t expected;
  };
  for (const Case& c : {Case{"clean run", 0, 0, false, 0},
                        Case{"7-Zip warning only", 1, 0, false, 0},
                        Case{"archive not unpacked", 2, 0, false, 3},
                        Case{"INF installer failed", 0, 1, false, 5},
                        Case{"copy failed", 0, 0, true, 6},
                        Case{"unpack failure wins over later ones", 7, 1, true, 3}}) {
    MemoryPlatform platform = ReadyToInstall();
    platform.childFor = [&](const std::wstring& command) {
      if (command.find(L"-aoa \"") != std::wstring::npos) return Exits(c.unpackExit);
      return IsSevenZip(command) ? Exits(2) : Exits(c.installExit);
    };
    platform.shellAborts = c.copyAborts;
    EXPECT_EQ(platform.RunProgram(), c.expected) << c.what;
    // Whatever failed, the install went on to the end.
    EXPECT_EQ(platform.launched.size(), 4u) << c.what;
    EXPECT_EQ(platform.CallsStartingWith(L"SHFileOperation 2").size(), 1u) << c.what;
  }
}

TEST(InstallScript, FailingStepsAreAbandonedOneByOne) {
  MemoryPlatform platform = ReadyToInstall();
  platform.existingPaths.insert(kWork);
  platform.failing = {"AcquireNamedMutex", "SHFileOperation"};
  EXPECT_EQ(platform.RunProgram(), 0u);
  EXPECT_EQ(platform.launched.size(), 4u);
  // Copy and both deletes were attempted although each one failed.
  EXPECT_EQ(platform.CallsStartingWith(L"SHFileOperation").size(), 3u);
  EXPECT_TRUE(platform.CallsStartingWith(L"ReleaseNamedMutex").empty());
}

TEST(InstallScript, ALostInfDoesNotHaltTheRun) {
  MemoryPlatform platform = ReadyToInstall();
  platform.failing = {"FirstMatch"};
  EXPECT_EQ(platform.RunProgram(), 4u);
  EXPECT_EQ(platform.launched.size(), 3u);
}

}  // namespace
}  // namespace vantrel
