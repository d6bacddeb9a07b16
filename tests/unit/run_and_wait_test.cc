// How RunAndWait starts a child, waits for it and lets go of it.
#include <gtest/gtest.h>

#include <algorithm>

#include "child/output_digest.h"
#include "child/run_child.h"
#include "form/child_bounds.h"
#include "form/vantrel.h"
#include "memory_machine.h"

namespace vantrel {
namespace {

using Calls = std::vector<std::wstring>;

TEST(RunAndWait, AProgramThatCannotStartEndsTheWaitAtOnce) {
  MemoryMachine platform;
  platform.childFor = [](const std::wstring&) { return ChildScript{false, 0, 0}; };
  Vantrel form(platform);
  const ChildOutcome outcome = form.RunAndWait(L"C:\\missing.exe", L"missing.exe /x", kNoBound);
  EXPECT_FALSE(outcome.started);
  EXPECT_EQ(platform.calls,
            (Calls{L"LaunchHidden [missing.exe /x]", L"PumpMessages",
                   L"AwaitProcessOrMessage 0 100", L"PumpMessages", L"GetExitCodeProcess 0",
                   L"PumpMessages"}));
}

TEST(RunAndWait, TheProgramAndItsCommandLineReachTheLaunchUnchanged) {
  MemoryMachine platform;
  platform.childFor = [](const std::wstring&) { return ChildScript{true, 0, 7}; };
  Vantrel form(platform);
  const ChildOutcome outcome =
      form.RunAndWait(L"C:\\A B\\7z.exe", L"\"C:\\A B\\7z\" x -y", kNoBound);
  EXPECT_TRUE(outcome.started);
  EXPECT_EQ(outcome.exitCode, 7u);
  EXPECT_EQ(platform.launchedPrograms, (Calls{L"C:\\A B\\7z.exe"}));
  EXPECT_EQ(platform.launched, (Calls{L"\"C:\\A B\\7z\" x -y"}));
  EXPECT_EQ(platform.CallsStartingWith(L"CloseProcess"), (Calls{L"CloseProcess 1"}));
}

TEST(RunAndWait, WaitsPassByPassAndEndsWhenTheChildEndsWithoutSleeping) {
  // Three waits see the child running, the fourth sees it end; also for a
  // child whose exit code is STILL_ACTIVE (259), which must not look alive.
  for (const std::uint32_t code : {0u, 259u}) {
    MemoryMachine platform;
    platform.childFor = [&](const std::wstring&) { return ChildScript{true, 3, code}; };
    Vantrel form(platform);
    EXPECT_EQ(form.RunAndWait(L"C:\\slow.exe", L"slow.exe", kNoBound).exitCode, code);
    EXPECT_EQ(platform.CallsStartingWith(L"AwaitProcessOrMessage"),
              Calls(4, L"AwaitProcessOrMessage 1 100"));
    EXPECT_TRUE(platform.CallsStartingWith(L"Sleep").empty());
    // Every wait is followed by a pump; once ended, the exit code is read.
    for (std::size_t i = 0; i + 1 < platform.calls.size(); ++i) {
      if (platform.calls[i].rfind(L"AwaitProcessOrMessage", 0) == 0) {
        EXPECT_EQ(platform.calls[i + 1], L"PumpMessages");
      }
    }
    const std::size_t lastWait = platform.calls.size() - 5;
    EXPECT_EQ((Calls{platform.calls.begin() + lastWait, platform.calls.end()}),
              (Calls{L"AwaitProcessOrMessage 1 100", L"PumpMessages", L"GetExitCodeProcess 1",
                     L"CloseProcess 1", L"PumpMessages"}));
  }
}

// A child that asks: how long until a dialog counts as a question, what
// happens to it with nobody and with somebody at the screen, and what the
// record of the run says.
ScriptedDialog Asks(DialogHandle window, const wchar_t* caption, bool showsProgress = false,
                    bool givesIn = true) {
  ScriptedDialog scripted;
  scripted.dialog = ChildDialog{window, caption, L"Insert the disk.", showsProgress};
  scripted.endsChildWhenDeclined = givesIn;
  return scripted;
}

TEST(Questions, UnattendedAQuestionIsDeclinedAfterTwoSecondsAndAStubbornChildEndedTenLater) {
  MemoryMachine platform;
  platform.childFor = [](const std::wstring&) {
    ChildScript child(true, 100000, 0);
    child.dialogs = {Asks(7, L"Files Needed"), Asks(8, L"Copying Files...", true)};
    return child;
  };
  ChildOutcome outcome = Vantrel(platform).RunAndWait(L"C:\\r.exe", L"r", kNoBound);
  // The progress dialog is no question, and nothing is declined before it
  // has stood for 2 s (first seen after the first 100 ms pass).
  EXPECT_EQ(platform.CallsStartingWith(L"Decline"), (Calls{L"DeclineDialog 7 at 2100"}));
  EXPECT_TRUE(outcome.declined);
  ASSERT_EQ(outcome.questions.size(), 1u);
  EXPECT_EQ(QuestionText(outcome.questions[0]), L"Files Needed: Insert the disk.");
  EXPECT_TRUE(platform.CallsStartingWith(L"EndChildJob").empty());

  // One that stays open after Cancel: the job ends 10 s after the decline.
  platform.childFor = [](const std::wstring&) {
    ChildScript child(true, 100000, 0);
    child.dialogs = {Asks(9, L"Question", false, false)};
    return child;
  };
  platform.calls.clear();
  platform.clock = 0;
  outcome = Vantrel(platform).RunAndWait(L"C:\\r.exe", L"r", kNoBound);
  EXPECT_EQ(platform.CallsStartingWith(L"Decline"), (Calls{L"DeclineDialog 9 at 2100"}));
  EXPECT_EQ(platform.CallsStartingWith(L"EndChildJob"), (Calls{L"EndChildJob 2 at 12100"}));
  EXPECT_TRUE(outcome.declined);
}

TEST(Questions, AttendedTheQuestionWaitsForThePersonAndIsNamedInTheRecord) {
  MemoryMachine platform = ReadyToInstall();
  platform.unattended = false;
  // Open past the installer's bound: the time it waits is the person's.
  platform.childFor = [](const std::wstring& command) {
    const int polls = static_cast<int>(BoundOfMinutes(kInfInstallerBoundMinutes) / 100) + 400;
    ChildScript child(true, command.rfind(L"rundll32", 0) == 0 ? polls : 0, 0);
    if (child.runningPolls > 0) child.dialogs = {Asks(5, L"Files Needed")};
    return child;
  };
  EXPECT_EQ(platform.RunProgram(), 0u);
  EXPECT_TRUE(platform.CallsStartingWith(L"Decline").empty());
  EXPECT_TRUE(platform.CallsStartingWith(L"EndChildJob").empty());
  ASSERT_EQ(platform.events.size(), 1u);
  const std::vector<std::wstring>& attended = platform.events[0];
  EXPECT_NE(std::find(attended.begin(), attended.end(),
                      L"Asked: Files Needed: Insert the disk. (left to the person at the screen)"),
            attended.end());

  // Unattended, the same question fails the INF installer's step, whatever
  // rundll32's exit code.
  MemoryMachine unattended = ReadyToInstall();
  unattended.childFor = platform.childFor;
  EXPECT_EQ(unattended.RunProgram(), 5u);
  ASSERT_EQ(unattended.events.size(), 1u);
  const std::vector<std::wstring>& lines = unattended.events[0];
  EXPECT_EQ(lines[2], L"Failed step: the INF installer");
  EXPECT_EQ(lines[4], L"Result: asked: Files Needed: Insert the disk.; nobody can answer an "
                      L"unattended run; declined");
  EXPECT_EQ(lines.size(), 5u);
}

TEST(Questions, AFailing7ZipStepKeepsItsErrorLinesFirstThenItsLastLines) {
  MemoryMachine platform = ReadyToInstall();
  platform.childFor = [](const std::wstring& command) {
    ChildScript child(true, 0, command.rfind(L"rundll32", 0) == 0 ? 0 : 2);
    // Progress redrawn in place, then many lines: only about 1 KB is kept.
    child.output = L"7-Zip 21.07\r\n 12%\b\b\b\b 40%\r\n\r\nERROR: Wrong password : a.dll\r\n";
    for (int i = 0; i < 200; ++i) {
      child.output += L"line " + std::to_wstring(i) + L" of a listing long enough to fill it\r\n";
    }
    child.output += L"Sub items Errors: 1\r\n";
    return child;
  };
  EXPECT_EQ(platform.RunProgram(), 3u);
  ASSERT_EQ(platform.events.size(), 1u);
  const std::vector<std::wstring>& lines = platform.events[0];
  ASSERT_GT(lines.size(), 7u);
  EXPECT_EQ(lines[4], L"Result: exit code 2");
  EXPECT_EQ(lines[5], L"Output: ERROR: Wrong password : a.dll");
  EXPECT_EQ(lines.back(), L"Output: Sub items Errors: 1");
  std::size_t kept = 0;
  for (std::size_t i = 5; i < lines.size(); ++i) kept += lines[i].size() - 8;
  EXPECT_LE(kept, OutputDigest::kBudget);
  // Full: up to the budget, or to the most lines an event has room for.
  EXPECT_LE(lines.size() - 5, OutputDigest::kMostLines);
  EXPECT_TRUE(kept > OutputDigest::kBudget - 60 || lines.size() - 5 == OutputDigest::kMostLines)
      << kept << " characters in " << lines.size() - 5 << " lines";
  // A whole line, never one cut off at the front.
  EXPECT_EQ(lines[6].rfind(L"Output: line ", 0), 0u);
}

}  // namespace
}  // namespace vantrel
