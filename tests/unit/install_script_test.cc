// The install: the programs and command texts, the order of the steps, the
// work folder, and how a failing step affects the rest and the exit code.
#include <gtest/gtest.h>

#include <algorithm>

#include "child/run_child.h"
#include "form/child_bounds.h"
#include "inf/driver_store_name.h"
#include "child/question_watch.h"
#include "memory_machine.h"

namespace vantrel {
namespace {

using Calls = std::vector<std::wstring>;

const std::wstring& kWork = kWorkFolder;
const std::wstring kShownNul2 = L"\\0\\0";

ChildScript Exits(std::uint32_t code) { return ChildScript{true, 0, code}; }

bool IsSevenZip(const std::wstring& command) { return command.find(L"\\7z\"") != std::wstring::npos; }

std::size_t Copies(const MemoryMachine& platform) {
  return platform.CallsStartingWith(L"SHFileOperation 2").size();
}

TEST(InstallScript, ProgramsByFullPathAndCommandTextsCharacterForCharacter) {
  MemoryMachine platform = ReadyToInstall();
  EXPECT_EQ(platform.RunProgram(), 0u);
  // Never found by a search: a rundll32.exe or 7z.exe planted in the current
  // folder must not run instead.
  const std::wstring sevenZip = L"C:\\PROGRA~1\\Vantrel\\7z.exe";
  EXPECT_EQ(platform.launchedPrograms,
            (Calls{sevenZip, sevenZip, sevenZip, L"C:\\WINDOWS\\system32\\rundll32.exe"}));
  EXPECT_EQ(platform.launched,
            (Calls{L"\"C:\\PROGRA~1\\Vantrel\\7z\" x -y -aoa \"C:\\PACKAG~1\\driver.7z\" "
                   L"-o\"C:\\WINDOWS\\Temp\\Vantrel\"",
                   L"\"C:\\PROGRA~1\\Vantrel\\7z\" x -y -aoa C:\\WINDOWS\\Temp\\Vantrel\\*.cab "
                   L"-o\"C:\\WINDOWS\\Temp\\Vantrel\\i386\"",
                   L"\"C:\\PROGRA~1\\Vantrel\\7z\" x -y -aoa C:\\WINDOWS\\Temp\\Vantrel\\*.in_ "
                   L"-o\"C:\\WINDOWS\\Temp\\Vantrel\"",
                   L"rundll32 syssetup,SetupInfObjectInstallAction DefaultInstall 128 "
                   L"C:\\WINDOWS\\Temp\\Vantrel\\driver.inf"}));
  EXPECT_EQ(platform.CallsStartingWith(L"SHFileOperation 2"),
            (Calls{L"SHFileOperation 2 [" + kWork + L"\\driver.inf" + kShownNul2 +
                   L"] [C:\\WINDOWS\\inf" + kShownNul2 + L"]"}));

  // Without a short form (8.3 names off) the long paths serve, quoted.
  MemoryMachine longNames = ReadyToInstall();
  longNames.shortPaths.clear();
  longNames.existingPaths.insert(L"C:\\Package Store\\driver.7z");
  EXPECT_EQ(longNames.RunProgram(), 0u);
  EXPECT_EQ(longNames.launched.front(),
            L"\"C:\\Program Files\\Vantrel\\7z\" x -y -aoa \"C:\\Package Store\\driver.7z\" "
            L"-o\"C:\\WINDOWS\\Temp\\Vantrel\"");

  // A program folder without a drive would make 7z.exe a path relative to
  // the current folder: not started.
  MemoryMachine relative = ReadyToInstall();
  relative.programFolder = L"Vantrel";
  EXPECT_EQ(relative.RunProgram(), 3u);
  EXPECT_TRUE(relative.launched.empty());
}

TEST(InstallScript, StepsRunInOrderInAFreshPrivateWorkFolderUnderTheInstallLock) {
  MemoryMachine platform = ReadyToInstall();
  platform.existingPaths.insert(kWork);  // an earlier run's leftovers
  EXPECT_EQ(platform.RunProgram(), 0u);
  Calls steps;
  for (const auto& call : platform.calls) {
    for (const wchar_t* kind : {L"OpenNamedMutex", L"ReleaseNamedMutex", L"CreatePrivateFolder",
                                L"LaunchHidden", L"FirstMatch", L"SHFileOperation", L"Sleep",
                                L"EndProcess"}) {
      if (call.rfind(kind, 0) == 0) steps.push_back(call.substr(0, call.find(L' ')));
    }
  }
  EXPECT_EQ(steps, (Calls{L"OpenNamedMutex", L"SHFileOperation", L"CreatePrivateFolder",
                          L"LaunchHidden", L"LaunchHidden", L"LaunchHidden", L"FirstMatch",
                          L"LaunchHidden", L"SHFileOperation", L"Sleep", L"SHFileOperation",
                          L"ReleaseNamedMutex", L"EndProcess"}));
  EXPECT_EQ(platform.CallsStartingWith(L"CreatePrivateFolder"),
            (Calls{L"CreatePrivateFolder [" + kWork + L"]"}));
  // The pause between the INF copy with its receipt and the clean-up pumps
  // on both sides.
  const std::size_t pause = platform.IndexOfCall(L"Sleep 100");
  EXPECT_GT(pause, platform.IndexOfCall(L"WriteReceipt [driver.inf]"));
  EXPECT_EQ((Calls{platform.calls.begin() + pause - 1, platform.calls.begin() + pause + 2}),
            (Calls{L"PumpMessages", L"Sleep 100", L"PumpMessages"}));
}

TEST(InstallScript, AWorkFolderThatCannotBeEmptiedOrMadeStopsTheRun) {
  struct Case {
    const char* what;
    void (*arrange)(MemoryMachine&);
  };
  for (const Case& c : {
           Case{"a foreign file held open in it",
                [](MemoryMachine& p) {
                  p.existingPaths.insert(kWork);
                  p.undeletable.insert(kWork);
                }},
           Case{"made by someone else in the meantime",
                [](MemoryMachine& p) { p.failing.insert("CreatePrivateFolder"); }},
           Case{"no drive to put it on",
                [](MemoryMachine& p) {
                  p.environment = {L"PATH=C:\\bin"};
                  p.failing.insert("WindowsFolder");
                }},
       }) {
    MemoryMachine platform = ReadyToInstall();
    c.arrange(platform);
    EXPECT_EQ(platform.RunProgram(), 7u) << c.what;
    EXPECT_TRUE(platform.launched.empty()) << c.what;
    EXPECT_EQ(Copies(platform), 0u) << c.what;
    // Whatever is in it is left alone after the one try to empty it.
    EXPECT_LE(platform.CallsStartingWith(L"SHFileOperation 3").size(), 1u) << c.what;
    EXPECT_EQ(platform.CallsStartingWith(L"ReleaseNamedMutex").size(), 1u) << c.what;
  }
}

TEST(InstallScript, ExitCodeNamesTheFirstFailureAndAFailedUnpackInstallsNothing) {
  struct Case {
    const char* what;
    std::uint32_t unpackExit, expandExit;
    bool cabinetsThere;
    std::uint32_t installExit;
    bool copyAborts;
    std::uint32_t expected;
  };
  for (const Case& c : {Case{"clean run", 0, 0, true, 0, false, 0},
                        Case{"7-Zip warning only", 1, 1, true, 0, false, 0},
                        // 7-Zip's answer to a wildcard that matches nothing.
                        Case{"package without cabinets", 0, 7, false, 0, false, 0},
                        Case{"archive not unpacked", 2, 0, true, 0, false, 3},
                        Case{"cabinets there but not expanded", 0, 2, true, 0, false, 3},
                        Case{"INF installer failed", 0, 0, true, 1, false, 5},
                        Case{"copy failed", 0, 0, true, 0, true, 6},
                        Case{"unpack failure wins over later ones", 7, 0, true, 1, true, 3}}) {
    MemoryMachine platform = ReadyToInstall();
    platform.childFor = [&](const std::wstring& command) {
      if (command.find(L"-aoa \"") != std::wstring::npos) return Exits(c.unpackExit);
      return IsSevenZip(command) ? Exits(c.expandExit) : Exits(c.installExit);
    };
    if (c.cabinetsThere) platform.firstMatches[kWork + L"\\*.cab"] = L"driver.cab";
    platform.shellAborts = c.copyAborts;
    platform.receipts[L"driver.inf"] = EarlierReceipt(L"1.0.0.0");
    EXPECT_EQ(platform.RunProgram(), c.expected) << c.what;
    // Only a good install changes the receipt: a failed upgrade is retried.
    EXPECT_EQ(platform.receipts[L"driver.inf"].version, c.expected == 0 ? L"2.0.0.0" : L"1.0.0.0")
        << c.what;
    const bool installs = c.expected != 3;
    EXPECT_EQ(platform.launched.size(), installs ? 4u : 3u) << c.what;
    // A failed install keeps no INF copy: the detection rules would take
    // it for an installed package.
    EXPECT_EQ(Copies(platform), c.expected == 0 || c.expected == 6 ? 1u : 0u) << c.what;
    // Whatever failed, the work folder goes at the end.
    EXPECT_EQ(platform.CallsStartingWith(L"SHFileOperation 3").size(), 1u) << c.what;
  }
}

TEST(InstallScript, WithoutSevenZipNothingIsInstalled) {
  MemoryMachine platform = ReadyToInstall();
  platform.childFor = [](const std::wstring& command) {
    return IsSevenZip(command) ? ChildScript{false, 0, 0} : Exits(0);
  };
  platform.firstMatches[kWork + L"\\*.cab"] = L"stale.cab";
  EXPECT_EQ(platform.RunProgram(), 3u);
  EXPECT_EQ(platform.launched.size(), 3u);
  EXPECT_EQ(Copies(platform), 0u);
}

TEST(InstallScript, APackageWithoutAnInfInstallsAndCopiesNothing) {
  MemoryMachine platform = ReadyToInstall();
  platform.firstMatches.clear();
  EXPECT_EQ(platform.RunProgram(), 4u);
  EXPECT_EQ(platform.launched.size(), 3u);
  EXPECT_EQ(Copies(platform), 0u);
  EXPECT_EQ(platform.calls.back(), L"EndProcess 4");
}

TEST(InstallScript, AnInfThatCannotInstallHereStartsNothingAndKeepsNoCopy) {
  // A 64-bit-only INF under the 32-bit build: no section to install.
  MemoryMachine platform = ReadyToInstall();
  platform.infTexts[kWork + L"\\driver.inf"] = L"[DefaultInstall.NTamd64]\n";
  EXPECT_EQ(platform.RunProgram(), 8u);
  EXPECT_EQ(platform.launched.size(), 3u);
  EXPECT_EQ(Copies(platform), 0u);
  EXPECT_EQ(platform.events[0][4],
            L"Result: the INF has no install section for x86 (looked for [DefaultInstall.NTx86], "
            L"[DefaultInstall.NT], [DefaultInstall])");
  // The 64-bit build installs it.
  MemoryMachine wide = ReadyToInstall();
  wide.infTexts = platform.infTexts;
  wide.architecture = InfArchitecture::kAmd64;
  EXPECT_EQ(wide.RunProgram(), 0u);
  EXPECT_EQ(wide.launched.size(), 4u);
  // On 64-bit Windows the 32-bit build would install the undecorated
  // section of an INF made for 64-bit Windows too, into the 32-bit views.
  MemoryMachine undecorated = ReadyToInstall();
  undecorated.wow64 = true;
  EXPECT_EQ(undecorated.RunProgram(), 0u);
  MemoryMachine wow64 = ReadyToInstall();
  wow64.wow64 = true;
  wow64.infTexts[kWork + L"\\driver.inf"] += L"[DefaultInstall.NTamd64]\n";
  EXPECT_EQ(wow64.RunProgram(), 8u);
  EXPECT_EQ(wow64.launched.size(), 3u);
  EXPECT_EQ(Copies(wow64), 0u);
  EXPECT_EQ(wow64.events[0][4],
            L"Result: the INF has an install section for 64-bit Windows ([DefaultInstall.NTamd64]), "
            L"which this 32-bit Vantrel cannot install: install the package with the 64-bit "
            L"bundle, vantrel-1.0.0-win64");

  // Source files the package lacks: at most ten are named. One that is
  // there, and one the INF takes from outside the package, are not.
  MemoryMachine lacking = ReadyToInstall();
  std::wstring inf = L"[DefaultInstall]\nCopyFiles=Files\n[Files]\nthere.sys\nfar.sys\n";
  for (int i = 1; i <= 12; ++i) inf += L"f" + std::to_wstring(i) + L".sys\n";
  inf += L"[SourceDisksNames]\n1=Disk,,,i386\n2=Far,,,D:\\drivers\n"
         L"[SourceDisksFiles]\nfar.sys=2\n";
  for (int i = 1; i <= 12; ++i) inf += L"f" + std::to_wstring(i) + L".sys=1\n";
  lacking.infTexts[kWork + L"\\driver.inf"] = inf;
  lacking.existingPaths.insert(kWork + L"\\there.sys");
  EXPECT_EQ(lacking.RunProgram(), 8u);
  EXPECT_EQ(lacking.launched.size(), 3u);
  EXPECT_EQ(lacking.events[0][2], L"Failed step: checking the INF");
  EXPECT_EQ(lacking.events[0][3], L"INF: " + kWork + L"\\driver.inf");
  EXPECT_EQ(lacking.events[0][4],
            L"Result: [DefaultInstall] copies source files the package lacks, which the INF "
            L"installer would wait for: i386\\f1.sys, i386\\f2.sys, i386\\f3.sys, i386\\f4.sys, "
            L"i386\\f5.sys, i386\\f6.sys, i386\\f7.sys, i386\\f8.sys, i386\\f9.sys, "
            L"i386\\f10.sys and 2 more");

  // An INF the parser cannot read is the INF installer's to judge; what
  // it did cannot be checked, so it is not taken for installed.
  MemoryMachine unreadable = ReadyToInstall();
  unreadable.infTexts.clear();
  EXPECT_EQ(unreadable.RunProgram(), 9u);
  EXPECT_EQ(unreadable.launched.size(), 4u);
  EXPECT_EQ(Copies(unreadable), 0u);
  EXPECT_EQ(unreadable.events[0][4], L"Result: SetupOpenInfFileW: cannot open");
}

// rundll32 ends with 0 whatever the INF engine did: what the section
// copies, adds and writes is looked at before the INF is kept.
TEST(InstallScript, TheInstallersWorkIsCheckedBeforeTheInfIsKept) {
  const std::wstring inf = kWork + L"\\driver.inf";
  const std::wstring target = L"C:\\WINDOWS\\system32\\drv.sys";
  const RestartRename toTarget{L"\\??\\C:\\WINDOWS\\system32\\SET1.tmp", L"!\\??\\" + target};
  struct Case {
    const char* what;
    TargetContent content;
    bool valueThere, serviceThere;
    std::vector<RestartRename> before, queued;
    const char* failing;
    std::uint32_t expected;
    const wchar_t* line;  // a line of the event
  };
  for (const Case& c : std::vector<Case>{
           {"all in place", TargetContent::kSourceBytes, true, true, {}, {}, "", 0,
            L"Vantrel 1.0.0: installed (exit code 0)."},
           {"a value missing", TargetContent::kSourceBytes, false, true, {}, {}, "", 9,
            L"Result: not in place: HKLM\\Software\\Vt [Name]"},
           {"a service missing", TargetContent::kSourceBytes, true, false, {}, {}, "", 9,
            L"Result: not in place: service VtSvc"},
           {"a file left as it was", TargetContent::kOtherBytes, true, true, {}, {}, "", 9,
            L"Result: not in place: C:\\WINDOWS\\system32\\drv.sys"},
           {"a file in use, renamed at the restart", TargetContent::kOtherBytes, true, true, {},
            {toTarget}, "", 3010,
            L"Waiting for the restart: C:\\WINDOWS\\system32\\drv.sys (in use during the install; "
            L"the system puts them in place as it starts again)"},
           // Queued by someone before this install: not what this install left.
           {"a rename from before", TargetContent::kOtherBytes, true, true, {toTarget}, {}, "", 9,
            L"Result: not in place: C:\\WINDOWS\\system32\\drv.sys"},
           {"renames unreadable before", TargetContent::kOtherBytes, true, true, {}, {toTarget},
            "PendingRestartRenames", 9, L"Failed step: checking what the INF installer did"},
           {"the check cannot be made", TargetContent::kSourceBytes, true, true, {}, {},
            "FilesOfSection", 9, L"Result: FilesOfSection"},
       }) {
    MemoryMachine platform = ReadyToInstall();
    platform.infTexts[inf] =
        L"[DefaultInstall]\nCopyFiles=F\nAddReg=R\n[F]\ndrv.sys\n"
        L"[R]\nHKLM,Software\\Vt,Name,0,1\n[DefaultInstall.Services]\nAddService=VtSvc,2,S\n";
    platform.existingPaths.insert(kWork + L"\\drv.sys");
    platform.sectionFiles[L"DefaultInstall"] = {CopiedFile{target, kWork + L"\\drv.sys", c.content}};
    if (c.valueThere) platform.registryEntries.insert(L"HKLM\\Software\\Vt [Name]");
    if (c.serviceThere) platform.services.insert(L"VtSvc");
    platform.pendingRenames = c.before;
    if (*c.failing) platform.failing.insert(c.failing);
    platform.childFor = [&](const std::wstring& command) {
      if (command.rfind(L"rundll32", 0) == 0) {
        platform.failing.erase("PendingRestartRenames");
        platform.pendingRenames.insert(platform.pendingRenames.end(), c.queued.begin(), c.queued.end());
      }
      return ChildScript();
    };
    EXPECT_EQ(platform.RunProgram(), c.expected) << c.what;
    EXPECT_EQ(platform.CallsStartingWith(L"FilesOfSection"),
              Calls{L"FilesOfSection [" + inf + L"] [DefaultInstall]"}) << c.what;
    // The copy after the check, only where everything is in place or
    // waits for the restart.
    EXPECT_EQ(Copies(platform), c.expected == 9 ? 0u : 1u) << c.what;
    EXPECT_LT(platform.IndexOfCall(platform.CallsStartingWith(L"FilesOfSection")[0]),
              platform.IndexOfCall(platform.CallsStartingWith(L"SHFileOperation").back()))
        << c.what;
    EXPECT_EQ(platform.CallsStartingWith(L"WriteRunEvent"),
              Calls{L"WriteRunEvent " + std::wstring(c.expected == 9 ? L"error " : L"information ") +
                    std::to_wstring(c.expected)})
        << c.what;
    const std::vector<std::wstring>& lines = platform.events.at(0);
    EXPECT_NE(std::find(lines.begin(), lines.end(), c.line), lines.end()) << c.what;
    // A receipt only where the install ended 0 or 3010, with that code.
    const auto receipt = platform.receipts.find(L"driver.inf");
    EXPECT_EQ(receipt == platform.receipts.end() ? 9u : receipt->second.exitCode, c.expected) << c.what;
  }

  // What a section that the install section needs copies is checked as its
  // own is.
  MemoryMachine needing = ReadyToInstall();
  needing.infTexts[inf] = L"[DefaultInstall]\nNeeds=Extra\n[Extra]\nCopyFiles=G\n[G]\nextra.dll\n";
  needing.existingPaths.insert(kWork + L"\\extra.dll");
  needing.sectionFiles[L"Extra"] = {
      CopiedFile{L"C:\\WINDOWS\\system32\\extra.dll", kWork + L"\\extra.dll", TargetContent::kMissing}};
  EXPECT_EQ(needing.RunProgram(), 9u);
  EXPECT_EQ(needing.CallsStartingWith(L"FilesOfSection"),
            (Calls{L"FilesOfSection [" + inf + L"] [DefaultInstall]",
                   L"FilesOfSection [" + inf + L"] [Extra]"}));
  EXPECT_EQ(needing.events[0][4], L"Result: not in place: C:\\WINDOWS\\system32\\extra.dll");
}

// An INF installer that neither ends nor asks anything is ended with its job
// at its bound, on the clock its waits move; the run goes on as after a
// failed installer. Only a question somebody can answer holds the bound, and
// for a while only; the wait ends whatever the child does. A question
// declined first still decides the code.
TEST(InstallScript, AnInstallerThatNeitherEndsNorAsksIsEndedAtItsBound) {
  const std::uint64_t boundMs = BoundOfMinutes(kInfInstallerBoundMinutes);
  const int bound = static_cast<int>(boundMs / 100);  // passes
  const auto endedAt = [](std::uint64_t ms) { return L"EndChildJob 4 at " + std::to_wstring(ms); };
  const std::wstring asked = L"Result: asked: Q: Insert the disk.; nobody can answer an unattended "
                             L"run; declined";
  const std::uint64_t ceiling = BoundOfMinutes(QuestionWatch::kHoldCeilingMinutes);
  struct Case {
    const char* what;
    int polls;
    ScriptedDialog dialog;  // window 0: none
    bool attended;
    const char* failing;
    std::uint32_t code;
    std::wstring ended, result;
  };
  const ChildDialog question{3, L"Q", L"Insert the disk."};
  for (const Case& c : std::vector<Case>{
           {"at the bound", 1 << 30, {}, false, "", 10, endedAt(boundMs),
            L"Result: the INF installer ran for " + std::to_wstring(kInfInstallerBoundMinutes) +
                L" minutes without ending or asking anything; it was ended"},
           {"a job that will not end", 1 << 30, {}, false, "EndChildJob", 10, endedAt(boundMs), L""},
           {"just before it", bound - 1, {}, false, "", 0, L"", L""},
           // Declined 3 s before the bound, the question holds nothing.
           {"a question declined before it", 1 << 30, {question, bound - 50, false}, false, "", 5,
            endedAt(boundMs), asked},
           // Declined at 12 s, its job ended 10 s later; the wait ends 10 s
           // after that, whatever the job does.
           {"a declined question left open, its job unending", 1 << 30,
            {question, 100, false}, false, "EndChildJob", 5, endedAt(22000), asked},
           // "Please wait" for 1.5 s every 1.6 s: never a question.
           {"a note it keeps flashing", 1 << 30, {question, 10, false, 15, 16}, true, "", 10,
            endedAt(boundMs), L""},
           // Somebody at the screen answers after a minute: the bound starts
           // afresh from the last look that saw the question open.
           {"a question answered at the screen", 1 << 30, {question, 100, false, 600}, true, "",
            10, endedAt(69900 + boundMs), L""},
           // Nobody answers: the question, asked at 12 s, holds the bound for
           // its ceiling, counted pass by pass from the one before.
           {"a question nobody at the screen answers", 1 << 30, {question, 100, false}, true, "",
            10, endedAt(11900 + ceiling + boundMs), L""},
       }) {
    MemoryMachine platform = ReadyToInstall();
    platform.unattended = !c.attended;
    platform.childFor = [&](const std::wstring& command) {
      ChildScript child(true, IsSevenZip(command) ? 0 : c.polls, 0);
      if (c.dialog.dialog.window != 0 && !IsSevenZip(command)) child.dialogs = {c.dialog};
      return child;
    };
    if (*c.failing) platform.failing.insert(c.failing);
    EXPECT_EQ(platform.RunProgram(), c.code) << c.what;
    EXPECT_EQ(platform.CallsStartingWith(L"EndChildJob"),
              c.ended.empty() ? Calls{} : Calls{c.ended}) << c.what;
    EXPECT_EQ(Copies(platform), c.code == 0 ? 1u : 0u) << c.what;
    EXPECT_EQ(platform.CallsStartingWith(L"SHFileOperation 3").size(), 1u) << c.what;
    if (!c.result.empty()) EXPECT_EQ(platform.events.at(0).at(4), c.result) << c.what;
  }
}

TEST(InstallScript, ALinkInTheWorkFolderOrAnInfOfTheDriverStoresNamingInstallsNothing) {
  // A junction from the package would take the cabinets' files wherever it
  // leads: no later step runs, and the clean-up takes it away as a link.
  MemoryMachine platform = ReadyToInstall();
  platform.childFor = [&](const std::wstring& command) {
    if (command.find(L"-aoa \"") != std::wstring::npos) {
      platform.links.push_back(FolderLink{kWork + L"\\i386", L"junction or mount point"});
    }
    return Exits(0);
  };
  EXPECT_EQ(platform.RunProgram(), 3u);
  EXPECT_TRUE(platform.launched.size() == 1u && Copies(platform) == 0u);
  EXPECT_EQ(platform.events[0][4], L"Result: the package brought a junction or mount point, " +
                                       kWork + L"\\i386; links are refused");
  EXPECT_EQ(platform.CallsStartingWith(L"DeleteTree"), (Calls{L"DeleteTree [" + kWork + L"]"}));
  EXPECT_TRUE(platform.CallsStartingWith(L"SHFileOperation 3").empty());

  // oem<number>.inf is another installed driver's INF in the INF folder.
  MemoryMachine oem = ReadyToInstall();
  oem.firstMatches[kWork + L"\\*.inf"] = L"OEM12.inf";
  EXPECT_EQ(oem.RunProgram(), 6u);
  EXPECT_TRUE(oem.launched.size() == 3u && Copies(oem) == 0u);
  EXPECT_NE(oem.events[0][4].find(L"replace C:\\WINDOWS\\inf\\OEM12.inf"), std::wstring::npos);
  EXPECT_FALSE(IsDriverStoreInfName(L"oem.inf") || IsDriverStoreInfName(L"oem1a.inf") ||
               IsDriverStoreInfName(L"myoem1.inf") || IsDriverStoreInfName(L"oem1.inf.bak"));
}

TEST(InstallScript, FailingStepsAreAbandonedOneByOneAndStillCount) {
  MemoryMachine platform = ReadyToInstall();
  platform.failing = {"SHFileOperation", "SystemFolder"};
  // The installer cannot be found: a failure, though its statement was
  // abandoned without a word.
  EXPECT_EQ(platform.RunProgram(), 5u);
  EXPECT_EQ(platform.launched.size(), 3u);
  // No copy after a failed install; the final delete was attempted although
  // it failed.
  EXPECT_EQ(platform.CallsStartingWith(L"SHFileOperation").size(), 1u);

  // Without the lock another run may be using the work folder: nothing is
  // touched, and the record says why. A lock that cannot be made, or that
  // somebody other than SYSTEM or the administrators made, ends the run at
  // once with 7; one that another run holds past the bound, with 1618.
  struct Locked {
    const char* what;
    void (*arrange)(MemoryMachine&);
    std::uint32_t code;
    std::size_t waits;
    const wchar_t* result;
  };
  for (const Locked& c : std::vector<Locked>{
           {"cannot be made", [](MemoryMachine& p) { p.failing = {"OpenNamedMutex"}; }, 7, 0,
            L"Result: OpenNamedMutex"},
           {"made by a user",
            [](MemoryMachine& p) {
              p.lockMadeBy = L"S-1-5-21-1-2-3-1001";
              p.lockMadeByAdministrators = false;
            },
            7, 0,
            L"Result: the lock was made by S-1-5-21-1-2-3-1001, not by SYSTEM or the "
            L"administrators: not a Vantrel run's; nothing was changed"},
           {"held past the bound",
            [](MemoryMachine& p) {
              p.lockMadeBy = L"S-1-5-32-544";
              p.lockHeldFor = 3600 * 1000;
            },
            1618, 1, L"Result: another run held it: waited 300 s; nothing was changed"},
       }) {
    MemoryMachine unlocked = ReadyToInstall();
    c.arrange(unlocked);
    EXPECT_EQ(unlocked.RunProgram(), c.code) << c.what;
    EXPECT_TRUE(unlocked.launched.empty() && unlocked.shellOperations.empty()) << c.what;
    EXPECT_EQ(unlocked.CallsStartingWith(L"WaitForNamedMutex").size(), c.waits) << c.what;
    EXPECT_EQ(unlocked.CallsStartingWith(L"CreatePrivateFolder").size(), 0u) << c.what;
    ASSERT_GT(unlocked.events[0].size(), 4u) << c.what;
    EXPECT_EQ(unlocked.events[0][2], L"Failed step: taking the install lock") << c.what;
    EXPECT_EQ(unlocked.events[0][4], c.result) << c.what;
  }
  // A run that lets go within the bound is waited for.
  MemoryMachine queued = ReadyToInstall();
  queued.lockMadeBy = L"S-1-5-18";
  queued.lockHeldFor = 60 * 1000;
  EXPECT_EQ(queued.RunProgram(), 0u);
  EXPECT_EQ(queued.CallsStartingWith(L"WaitForNamedMutex"), Calls{L"WaitForNamedMutex 77 300000"});
  EXPECT_EQ(queued.launched.size(), 4u);

  MemoryMachine lostInf = ReadyToInstall();
  lostInf.failing = {"FirstMatch"};
  EXPECT_EQ(lostInf.RunProgram(), 4u);
  EXPECT_EQ(lostInf.launched.size(), 3u);
}

}  // namespace
}  // namespace vantrel
