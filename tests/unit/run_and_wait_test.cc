// How RunAndWait starts a child, waits for it and lets go of it.
#include <gtest/gtest.h>

#include "form/vantrel.h"
#include "memory_platform.h"

namespace vantrel {
namespace {

using Calls = std::vector<std::wstring>;

TEST(RunAndWait, AProgramThatCannotStartEndsTheWaitAtOnce) {
  MemoryPlatform platform;
  platform.childFor = [](const std::wstring&) { return ChildScript{false, 0, 0}; };
  Vantrel form(platform);
  const ChildOutcome outcome = form.RunAndWait(L"C:\\missing.exe", L"missing.exe /x");
  EXPECT_FALSE(outcome.started);
  EXPECT_EQ(platform.calls,
            (Calls{L"LaunchHidden [missing.exe /x]", L"PumpMessages",
                   L"AwaitProcessOrMessage 0 100", L"PumpMessages", L"GetExitCodeProcess 0",
                   L"PumpMessages"}));
}

TEST(RunAndWait, TheProgramAndItsCommandLineReachTheLaunchUnchanged) {
  MemoryPlatform platform;
  platform.childFor = [](const std::wstring&) { return ChildScript{true, 0, 7}; };
  Vantrel form(platform);
  const ChildOutcome outcome = form.RunAndWait(L"C:\\A B\\7z.exe", L"\"C:\\A B\\7z\" x -y");
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
    MemoryPlatform platform;
    platform.childFor = [&](const std::wstring&) { return ChildScript{true, 3, code}; };
    Vantrel form(platform);
    EXPECT_EQ(form.RunAndWait(L"C:\\slow.exe", L"slow.exe").exitCode, code);
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

}  // namespace
}  // namespace vantrel
