// The record of a run: what the event says for each way a run can end, and
// that a record which cannot be written changes nothing.
#include <gtest/gtest.h>

#include "memory_machine.h"

namespace vantrel {
namespace {

const std::wstring& kWork = kWorkFolder;

std::wstring Joined(const std::vector<std::wstring>& lines) {
  std::wstring text;
  for (const auto& line : lines) text += line + L"\n";
  return text;
}

TEST(RunRecord, OneEventNamesTheOutcomeAndTheFirstFailedStep) {
  const std::wstring unpack = L"Command: \"C:\\PROGRA~1\\Vantrel\\7z\" x -y -aoa "
                              L"\"C:\\PACKAG~1\\driver.7z\" -o\"" + kWork + L"\"\n";
  struct Case {
    const char* what;
    void (*arrange)(MemoryMachine&);
    std::uint32_t code;
    std::vector<std::wstring> expected;  // pieces the event's text holds
  };
  for (const Case& c : std::vector<Case>{
           {"installed", [](MemoryMachine&) {}, 0,
            {L"Vantrel 1.0.0: installed (exit code 0).\nPackage: C:\\Package Store\\driver.7z\n"}},
           {"7-Zip missing",
            [](MemoryMachine& p) {
              p.childFor = [](const std::wstring& command) {
                return ChildScript{command.rfind(L"rundll32", 0) == 0, 0, 0};
              };
            },
            3,
            {L": the package could not be unpacked; nothing was installed (exit code 3).\n",
             L"Failed step: 7-Zip unpacking the package\n" + unpack,
             L"Result: did not start: cannot start\n"}},
           {"damaged archive",
            [](MemoryMachine& p) {
              p.childFor = [](const std::wstring& c) { return ChildScript{true, 0, c[0] == L'"' ? 2u : 0u}; };
            },
            3, {L"Failed step: 7-Zip unpacking the package\n" + unpack + L"Result: exit code 2\n"}},
           {"INF installer failed",
            [](MemoryMachine& p) {
              p.childFor = [](const std::wstring& c) { return ChildScript{true, 0, c[0] == L'r' ? 1u : 0u}; };
            },
            5,
            {L"Failed step: the INF installer\nCommand: rundll32 syssetup,SetupInfObjectInstallAction "
             L"DefaultInstall 128 " + kWork + L"\\driver.inf\nResult: exit code 1\n"}},
           {"copy failed", [](MemoryMachine& p) { p.shellResult = 5; }, 6,
            {L"Copy: " + kWork + L"\\driver.inf -> C:\\WINDOWS\\inf\nResult: SHFileOperationW returned 5\n"}},
           {"work folder held",
            [](MemoryMachine& p) {
              p.existingPaths.insert(kWork);
              p.undeletable.insert(kWork);
            },
            7, {L"Failed step: preparing the work folder\nFolder: " + kWork, L"could not be emptied"}},
           {"no INF", [](MemoryMachine& p) { p.firstMatches.clear(); }, 4,
            {L"Result: no INF file in the package\n"}},
           {"package missing", [](MemoryMachine& p) { p.existingPaths.clear(); }, 2,
            {L"Failed step: looking for the package\nPath: C:\\Package Store\\driver.7z\n"}},
       }) {
    MemoryMachine platform = ReadyToInstall();
    c.arrange(platform);
    EXPECT_EQ(platform.RunProgram(), c.code) << c.what;
    ASSERT_EQ(platform.events.size(), 1u) << c.what;
    const std::wstring text = Joined(platform.events[0]);
    for (const auto& piece : c.expected) {
      EXPECT_NE(text.find(piece), std::wstring::npos) << c.what << "\n  missing: " << piece
                                                      << "\n  in: " << text;
    }
    EXPECT_EQ(platform.CallsStartingWith(L"WriteRunEvent"),
              std::vector<std::wstring>{L"WriteRunEvent " +
                                        std::wstring(c.code ? L"error " : L"information ") +
                                        std::to_wstring(c.code)})
        << c.what;
  }

  // A 32-bit install on 64-bit Windows says where WoW64 put things; a
  // native one says nothing of it.
  MemoryMachine wow64 = ReadyToInstall();
  wow64.wow64 = true;
  EXPECT_EQ(wow64.RunProgram(), 0u);
  ASSERT_EQ(wow64.events.size(), 1u);
  EXPECT_EQ(wow64.events[0].back().rfind(L"WoW64: the 32-bit INF installer ran this INF", 0), 0u);
  EXPECT_NE(wow64.events[0].back().find(L"Wow6432Node"), std::wstring::npos);
  MemoryMachine native = ReadyToInstall();
  EXPECT_EQ(native.RunProgram(), 0u);
  EXPECT_EQ(Joined(native.events[0]).find(L"WoW64"), std::wstring::npos);

  // A record that cannot be written changes neither the install nor its code.
  MemoryMachine unrecorded = ReadyToInstall();
  unrecorded.failing = {"WriteRunEvent"};
  EXPECT_EQ(unrecorded.RunProgram(), 0u);
  EXPECT_EQ(unrecorded.launched.size(), 4u);
}

}  // namespace
}  // namespace vantrel
