// vantrel-remove: what it accepts as an argument, and what it does for each
// state of the kept INF and each way the uninstall can end.
#include <gtest/gtest.h>

#include <cwctype>

#include "memory_machine.h"
#include "remove/removal_argument.h"
#include "remove/remover.h"
#include "remove/uninstall_bound.h"

namespace vantrel {
namespace {

using Calls = std::vector<std::wstring>;

const std::wstring kSha = L"0d2db379574dd63e02f6be713a601e06ee41e0fbab06457293d007c78bc2a878";

TEST(RemovalArgument, ABareInfNameOrARefusal) {
  struct Case {
    std::wstring argument;
    const wchar_t* infName;
    RemoveExit refusal;
  };
  for (const Case& c : std::vector<Case>{
           {L"mypackage.inf", L"mypackage.inf", kRemoved},
           {L"  \"my package\"  ", L"my package.inf", kRemoved},
           {L"DRIVER.INF", L"DRIVER.INF", kRemoved},
           {L"driver.information", L"driver.information.inf", kRemoved},
           {L"", L"", kRemoveNoInfNamed},
           {L" \"\" ", L"", kRemoveNoInfNamed},
           {L"C:\\Windows\\inf\\driver.inf", L"", kRemoveNotABareName},
           {L"sub\\driver.inf", L"", kRemoveNotABareName},
           {L"../driver.inf", L"", kRemoveNotABareName},
           {L"C:driver.inf", L"", kRemoveNotABareName},
           {L"*.inf", L"", kRemoveNotABareName},
           {L"..", L"", kRemoveNotABareName},
           {L"a\tb.inf", L"", kRemoveNotABareName},
           {L"\"my package\" /PACKAGE:ABC", L"", kRemoveNotABareName},
           {L"/package:" + kSha, L"", kRemoveNoInfNamed},
       }) {
    const RemovalArgument parsed = ParseRemovalArgument(c.argument);
    EXPECT_EQ(parsed.infName, c.infName) << c.argument;
    EXPECT_EQ(parsed.refusal, c.refusal) << c.argument;
    EXPECT_EQ(parsed.packageSha256, L"") << c.argument;
  }
  // One package: the hash the receipt keeps, in any case.
  std::wstring upper = kSha;
  for (wchar_t& c : upper) c = static_cast<wchar_t>(std::towupper(c));
  const RemovalArgument scoped = ParseRemovalArgument(L"\"my package\"  /Package:" + upper);
  EXPECT_EQ(scoped.infName, L"my package.inf");
  EXPECT_EQ(scoped.packageSha256, kSha);
}

const std::wstring kKept = L"C:\\WINDOWS\\inf\\pkg.inf";
const wchar_t kUninstall[] =
    L"rundll32 setupapi,InstallHinfSection DefaultUninstall 128 C:\\WINDOWS\\inf\\pkg.inf";

MemoryMachine WithKeptInf() {
  MemoryMachine platform;
  platform.argumentText = L"pkg";
  platform.existingPaths = {kKept, L"C:\\WINDOWS\\inf\\pkg.pnf"};
  platform.infTexts[kKept] = L"[DefaultInstall]\n[DefaultUninstall]\nDelReg=R\n";
  platform.receipts[L"pkg.inf"] = EarlierReceipt(L"1.0");
  return platform;
}

std::uint32_t RunRemover(MemoryMachine& platform) {
  try {
    Remover(platform).Run();
  } catch (const ProcessEnded& ended) {
    return ended.exitCode;
  }
  throw std::logic_error("Run returned without ending the process");
}

TEST(Remover, TheCopyGoesOnlyWhenTheUninstallRan) {
  MemoryMachine removed = WithKeptInf();
  EXPECT_EQ(RunRemover(removed), 0u);
  EXPECT_EQ(removed.launchedPrograms, Calls{L"C:\\WINDOWS\\system32\\rundll32.exe"});
  EXPECT_EQ(removed.launched, Calls{kUninstall});
  // The copy and setupapi's precompiled form of it, after the uninstall,
  // under the lock the install takes too.
  EXPECT_EQ(removed.CallsStartingWith(L"SHFileOperation 3"),
            (Calls{L"SHFileOperation 3 [" + kKept + L"\\0\\0] []",
                   L"SHFileOperation 3 [C:\\WINDOWS\\inf\\pkg.pnf\\0\\0] []"}));
  EXPECT_LT(removed.IndexOfCall(L"LaunchHidden [" + std::wstring(kUninstall) + L"]"),
            removed.IndexOfCall(L"DeleteReceipt [pkg.inf]"));
  // The receipt before the copy: no receipt ever names a copy that is gone.
  EXPECT_LT(removed.IndexOfCall(L"DeleteReceipt [pkg.inf]"),
            removed.IndexOfCall(L"SHFileOperation 3 [" + kKept + L"\\0\\0] []"));
  EXPECT_EQ(removed.CallsStartingWith(L"OpenNamedMutex"),
            Calls{L"OpenNamedMutex [Global\\Vantrel.Install] [O:BAD:P(A;;GA;;;SY)(A;;GA;;;BA)]"});
  EXPECT_EQ(removed.CallsStartingWith(L"ReleaseNamedMutex").size(), 1u);
  EXPECT_EQ(removed.CallsStartingWith(L"WriteRunEvent"), Calls{L"WriteRunEvent information 0"});
  EXPECT_EQ(removed.events[0][0], L"Vantrel remove 1.0.0: removed (exit code 0).");
  EXPECT_EQ(removed.events[0][1], L"INF: pkg.inf");
  // Its receipt goes with the copy.
  EXPECT_EQ(removed.receipts.count(L"pkg.inf"), 0u);
  EXPECT_EQ(removed.events[0].back(), L"Receipt: HKLM\\SOFTWARE\\Vantrel\\Packages\\pkg.inf deleted");

  // Files in use go at the next restart: removed, the restart finishes it.
  // A deletion queued before the uninstall is not its own.
  MemoryMachine waiting = WithKeptInf();
  waiting.pendingRenames = {{L"\\??\\C:\\old.tmp", L""}};
  waiting.childFor = [&](const std::wstring&) {
    waiting.pendingRenames.push_back({L"\\??\\C:\\WINDOWS\\system32\\pkg.dll", L""});
    return ChildScript();
  };
  EXPECT_EQ(RunRemover(waiting), 3010u);
  EXPECT_EQ(waiting.CallsStartingWith(L"SHFileOperation 3").size(), 2u);
  EXPECT_EQ(waiting.CallsStartingWith(L"WriteRunEvent"), Calls{L"WriteRunEvent information 3010"});
  EXPECT_EQ(waiting.events[0][0],
            L"Vantrel remove 1.0.0: removed; a restart finishes the removal (exit code 3010).");
  EXPECT_EQ(waiting.events[0].back(),
            L"Waiting for the restart: C:\\WINDOWS\\system32\\pkg.dll (in use during the uninstall)");

  const std::wstring endedAtBound = L"Result: the INF uninstall ran for " +
                                   std::to_wstring(kUninstallBoundMinutes) +
                                   L" minutes without ending or asking anything; it was ended";
  struct Case {
    const char* what;
    void (*arrange)(MemoryMachine&);
    std::uint32_t code;
    bool runs;
    const wchar_t* result;
  };
  for (const Case& c : std::vector<Case>{
           {"nothing to remove",
            [](MemoryMachine& p) {
              p.existingPaths.clear();
              p.receipts.clear();
            },
            13, false, nullptr},
           {"no DefaultUninstall",
            [](MemoryMachine& p) { p.infTexts[kKept] = L"[DefaultInstall]\n"; }, 14, false,
            L"Result: no uninstall section for x86 (looked for [DefaultUninstall.NTx86], "
            L"[DefaultUninstall.NT], [DefaultUninstall])"},
           {"unreadable INF", [](MemoryMachine& p) { p.infTexts.clear(); }, 14, false,
            L"Result: SetupOpenInfFileW: cannot open"},
           {"uninstall failed",
            [](MemoryMachine& p) {
              p.childFor = [](const std::wstring&) { return ChildScript(true, 0, 1); };
            },
            15, true, L"Result: exit code 1"},
           {"question declined",
            [](MemoryMachine& p) {
              p.childFor = [](const std::wstring&) {
                ChildScript child(true, 1000, 0);
                ScriptedDialog box;
                box.dialog = ChildDialog{4, L"Remove", L"Remove the component?", false};
                child.dialogs = {box};
                return child;
              };
            },
            15, true,
            L"Result: asked: Remove: Remove the component?; nobody can answer an unattended run; "
            L"declined"},
           {"receipt not deleted", [](MemoryMachine& p) { p.failing = {"DeleteReceipt"}; }, 16, true,
            L"Result: DeleteReceipt; the INF copy is kept"},
           {"neither ends nor asks",
            [](MemoryMachine& p) {
              p.childFor = [](const std::wstring&) { return ChildScript(true, 1 << 30, 0); };
            },
            17, true, endedAtBound.c_str()},
           {"a path", [](MemoryMachine& p) { p.argumentText = L"C:\\WINDOWS\\inf\\pkg.inf"; }, 12,
            false, nullptr},
           {"another driver's INF", [](MemoryMachine& p) { p.argumentText = L"oem3"; }, 12, false,
            nullptr},
           {"no lock", [](MemoryMachine& p) { p.failing = {"OpenNamedMutex"}; }, 7, false,
            L"Result: OpenNamedMutex"},
           {"busy lock",
            [](MemoryMachine& p) {
              p.lockMadeBy = L"S-1-5-32-544";
              p.lockHeldFor = 3600 * 1000;
            },
            1618, false,
            L"Result: another run held it: waited 300 s; nothing was changed"},
       }) {
    MemoryMachine platform = WithKeptInf();
    c.arrange(platform);
    EXPECT_EQ(RunRemover(platform), c.code) << c.what;
    EXPECT_EQ(platform.launched.size(), c.runs ? 1u : 0u) << c.what;
    // The copy and the receipt are kept: what the detection rules see stays
    // true to the machine.
    EXPECT_EQ(platform.CallsStartingWith(L"SHFileOperation"), Calls{}) << c.what;
    EXPECT_EQ(platform.receipts.count(L"pkg.inf"), c.code == 13 ? 0u : 1u) << c.what;
    ASSERT_EQ(platform.events.size(), 1u) << c.what;
    EXPECT_EQ(platform.CallsStartingWith(L"WriteRunEvent"),
              Calls{L"WriteRunEvent " + std::wstring(c.code == 13 ? L"information " : L"error ") +
                    std::to_wstring(c.code)})
        << c.what;
    if (c.result != nullptr) {
      ASSERT_GT(platform.events[0].size(), 4u) << c.what;
      EXPECT_EQ(platform.events[0][4], c.result) << c.what;
    }
  }
}

// What a deployment tool asks for is one package, whatever name reaches it;
// the detection rules read the receipt, so a receipt without its copy goes.
TEST(Remover, OnePackageByAnyNameOfItsInf) {
  const auto removing = [](const std::wstring& argument, const std::wstring& installed) {
    MemoryMachine platform = WithKeptInf();
    platform.argumentText = argument;
    platform.receipts[L"pkg.inf"].packageSha256 = installed;
    return platform;
  };
  MemoryMachine own = removing(L"pkg /package:" + kSha, kSha);
  EXPECT_EQ(RunRemover(own), 0u);
  EXPECT_EQ(own.launched, Calls{kUninstall});
  EXPECT_EQ(own.receipts.count(L"pkg.inf"), 0u);

  // Version 1's uninstall where version 2 is, or where no receipt says
  // which package the copy is: nothing runs, nothing goes.
  for (const std::wstring& installed : {std::wstring(L"version 2"), std::wstring()}) {
    MemoryMachine other = removing(L"pkg.inf /package:" + kSha, installed);
    if (installed.empty()) other.receipts.clear();
    EXPECT_EQ(RunRemover(other), 19u) << installed;
    EXPECT_EQ(other.launched, Calls{}) << installed;
    EXPECT_EQ(other.CallsStartingWith(L"SHFileOperation"), Calls{}) << installed;
    EXPECT_EQ(other.CallsStartingWith(L"DeleteReceipt"), Calls{}) << installed;
    EXPECT_EQ(other.CallsStartingWith(L"WriteRunEvent"), Calls{L"WriteRunEvent information 19"});
  }

  // The 8.3 name finds the receipt of the long one.
  MemoryMachine shortName = removing(L"PKG~1.INF", L"any");
  shortName.longPaths[L"C:\\WINDOWS\\inf\\PKG~1.INF"] = kKept;
  EXPECT_EQ(RunRemover(shortName), 0u);
  EXPECT_EQ(shortName.launched, Calls{kUninstall});
  EXPECT_EQ(shortName.receipts.count(L"pkg.inf"), 0u);
  EXPECT_EQ(shortName.events[0][1], L"INF: PKG~1.INF (kept as pkg.inf)");

  // A receipt whose copy is gone would claim the package for ever.
  MemoryMachine orphan = removing(L"pkg /package:" + kSha, kSha);
  orphan.existingPaths.clear();
  EXPECT_EQ(RunRemover(orphan), 18u);
  EXPECT_EQ(orphan.launched, Calls{});
  EXPECT_EQ(orphan.receipts.count(L"pkg.inf"), 0u);
  EXPECT_EQ(orphan.CallsStartingWith(L"WriteRunEvent"), Calls{L"WriteRunEvent information 18"});
  EXPECT_EQ(orphan.events[0].back(),
            L"Receipt: HKLM\\SOFTWARE\\Vantrel\\Packages\\pkg.inf deleted (its INF copy was gone)");
  // One that cannot be deleted is a failure, not "nothing to remove".
  MemoryMachine stuck = removing(L"pkg", kSha);
  stuck.existingPaths.clear();
  stuck.failing = {"DeleteReceipt"};
  EXPECT_EQ(RunRemover(stuck), 16u);
  EXPECT_EQ(stuck.receipts.count(L"pkg.inf"), 1u);
  EXPECT_EQ(stuck.events[0][2], L"Failed step: deleting the receipt of an INF copy that is gone");
}

}  // namespace
}  // namespace vantrel
