// How RunAndWait starts a child, waits for it and lets go of it.
#include <gtest/gtest.h>

#include "form/vantrel.h"
#include "memory_platform.h"

namespace vantrel {
namespace {

using Calls = std::vector<std::wstring>;

TEST(RunAndWait, AProgramThatCannotStartCostsOnePass) {
  MemoryPlatform platform;
  platform.childFor = [](const std::wstring&) { return ChildScript{false, 0, 0}; };
  Vantrel form(platform);
  const ChildOutcome outcome = form.RunAndWait(L"missing.exe /x");
  EXPECT_FALSE(outcome.started);
  EXPECT_EQ(platform.calls,
            (Calls{L"LaunchHidden [missing.exe /x]", L"PumpMessages", L"IsProcessRunning 0",
                   L"PumpMessages", L"Sleep 100", L"PumpMessages"}));
}

TEST(RunAndWait, AChildThatHasEndedCostsOnePassAndIsClosedOnce) {
  MemoryPlatform platform;
  platform.childFor = [](const std::wstring&) { return ChildScript{true, 0, 7}; };
  Vantrel form(platform);
  const ChildOutcome outcome = form.RunAndWait(L"\"C:\\A B\\7z\" x -y");
  EXPECT_TRUE(outcome.started);
  EXPECT_EQ(outcome.exitCode, 7u);
  EXPECT_EQ(platform.calls,
            (Calls{L"LaunchHidden [\"C:\\A B\\7z\" x -y]", L"PumpMessages",
                   L"IsProcessRunning 1", L"GetExitCodeProcess 1", L"PumpMessages",
                   L"Sleep 100", L"CloseProcess 1", L"PumpMessages"}));
}

TEST(RunAndWait, KeepsPollingAndPumpingWhileTheChildRuns) {
  MemoryPlatform platform;
  platform.childFor = [](const std::wstring&) { return ChildScript{true, 3, 0}; };
  Vantrel form(platform);
  form.RunAndWait(L"slow.exe");
  EXPECT_EQ(platform.CallsStartingWith(L"IsProcessRunning").size(), 4u);
  EXPECT_EQ(platform.CallsStartingWith(L"Sleep 100").size(), 4u);
  // One pump after the launch, one per pass, one after closing.
  EXPECT_EQ(platform.CallsStartingWith(L"PumpMessages").size(), 6u);
  // Every pass pumps before it sleeps.
  for (std::size_t i = 1; i < platform.calls.size(); ++i) {
    if (platform.calls[i] == L"Sleep 100") {
      EXPECT_EQ(platform.calls[i - 1], L"PumpMessages");
    }
  }
  EXPECT_EQ(platform.calls[platform.calls.size() - 2], L"CloseProcess 1");
}

TEST(RunAndWait, AChildEndingWithTheStillActiveCodeIsNotAwaitedForever) {
  MemoryPlatform platform;
  platform.childFor = [](const std::wstring&) { return ChildScript{true, 1, 259}; };
  Vantrel form(platform);
  const ChildOutcome outcome = form.RunAndWait(L"odd.exe");
  EXPECT_EQ(outcome.exitCode, 259u);
  EXPECT_EQ(platform.CallsStartingWith(L"Sleep").size(), 2u);
}

}  // namespace
}  // namespace vantrel
