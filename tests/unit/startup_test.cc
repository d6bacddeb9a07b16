// The start-up decisions: whether there is anything to install, and what the
// package path becomes.
#include <gtest/gtest.h>

#include "memory_machine.h"

namespace vantrel {
namespace {

using Calls = std::vector<std::wstring>;

MemoryMachine WindowsLike() {
  MemoryMachine platform;
  platform.environment = {L"SystemDrive=C:", L"SystemRoot=C:\\WINDOWS"};
  platform.shortPaths[L"C:\\Program Files\\Vantrel"] = L"C:\\PROGRA~1\\Vantrel";
  return platform;
}

TEST(Startup, NoArgumentEndsBeforeTheEnvironmentIsRead) {
  for (const std::wstring argument : {L"", L"    "}) {
    MemoryMachine platform = WindowsLike();
    platform.argumentText = argument;
    EXPECT_EQ(platform.RunProgram(), 1u);
    EXPECT_EQ(platform.calls, (Calls{L"CreateHiddenWindow [Vantrel]", L"ArgumentText",
                                     L"WriteRunEvent error 1", L"EndProcess 1"}));
  }
}

TEST(Startup, QuotesAndBlanksAloneNameNoPackage) {
  // Not an empty argument, so the environment is read as usual; but nothing
  // was named, which the exit code tells apart from a package not found.
  MemoryMachine platform = WindowsLike();
  platform.argumentText = L"\" \"\"";
  EXPECT_EQ(platform.RunProgram(), 1u);
  EXPECT_FALSE(platform.CallsStartingWith(L"EnvironmentEntry").empty());
  EXPECT_EQ(platform.CallsStartingWith(L"GetShortPathName").front(), L"GetShortPathName [] 255");
  EXPECT_TRUE(platform.launched.empty());
}

TEST(Startup, MissingPackageEndsBeforeTheWorkFolderIsTouched) {
  MemoryMachine platform = WindowsLike();
  platform.argumentText = L"\"C:\\Downloads\\gone.7z\"";
  EXPECT_EQ(platform.RunProgram(), 2u);
  // The program folder is shortened even so, before the existence check.
  EXPECT_EQ(platform.CallsStartingWith(L"GetShortPathName"),
            (Calls{L"GetShortPathName [C:\\Downloads\\gone.7z] 255",
                   L"GetShortPathName [C:\\Program Files\\Vantrel] 255"}));
  EXPECT_EQ(platform.calls.back(), L"EndProcess 2");
  // No short form: the long path is looked for as it stands.
  EXPECT_EQ(platform.calls[platform.calls.size() - 3], L"PathFileExists [C:\\Downloads\\gone.7z]");
  EXPECT_TRUE(platform.CallsStartingWith(L"OpenNamedMutex").empty());
  EXPECT_TRUE(platform.launched.empty());
  EXPECT_TRUE(platform.shellOperations.empty());
}

TEST(Startup, TheWholeArgumentIsOnePathWithoutItsQuotes) {
  MemoryMachine platform = WindowsLike();
  platform.argumentText = L"\"C:\\My Packages\\\"app\".7z\"  ";
  EXPECT_EQ(platform.RunProgram(), 2u);
  EXPECT_EQ(platform.CallsStartingWith(L"GetShortPathName").front(),
            L"GetShortPathName [C:\\My Packages\\app.7z] 255");

  MemoryMachine two = WindowsLike();
  two.argumentText = L"C:\\a.7z C:\\b.7z";
  two.shortPaths[L"C:\\a.7z"] = L"C:\\a.7z";
  two.existingPaths = {L"C:\\a.7z", L"C:\\b.7z"};
  EXPECT_EQ(two.RunProgram(), 2u);
  EXPECT_EQ(two.CallsStartingWith(L"GetShortPathName").front(),
            L"GetShortPathName [C:\\a.7z C:\\b.7z] 255");
  // A relative path is the current folder's (a deployment tool's content
  // folder): 7-Zip is given the file itself, whatever folder it starts in.
  MemoryMachine relative = ReadyToInstall();
  relative.argumentText = L"\"driver.7z\"";
  relative.currentFolder = L"C:\\Package Store";
  EXPECT_EQ(relative.RunProgram(), 0u);
  EXPECT_NE(relative.launched.at(0).find(L" \"C:\\PACKAG~1\\driver.7z\" "), std::wstring::npos)
      << relative.launched.at(0);
  EXPECT_EQ(relative.events.at(0).at(1), L"Package: C:\\Package Store\\driver.7z");
}

TEST(Startup, AnExistingPackageStartsTheInstallWithShortForms) {
  MemoryMachine platform = WindowsLike();
  platform.argumentText = L"\"C:\\My Packages\\app.7z\"";
  platform.shortPaths[L"C:\\My Packages\\app.7z"] = L"C:\\MYPACK~1\\app.7z";
  platform.existingPaths = {L"C:\\MYPACK~1\\app.7z"};
  platform.firstMatches[L"C:\\WINDOWS\\Temp\\Vantrel\\*.inf"] = L"app.inf";
  platform.existingPaths.insert(L"C:\\WINDOWS\\Temp\\Vantrel\\app.inf");
  platform.infTexts[L"C:\\WINDOWS\\Temp\\Vantrel\\app.inf"] = L"[DefaultInstall]\n";
  EXPECT_EQ(platform.RunProgram(), 0u);
  ASSERT_FALSE(platform.launched.empty());
  EXPECT_EQ(platform.launched[0],
            L"\"C:\\PROGRA~1\\Vantrel\\7z\" x -y -aoa \"C:\\MYPACK~1\\app.7z\" "
            L"-o\"C:\\WINDOWS\\Temp\\Vantrel\"");
}

TEST(Startup, TheInstallRunsWhereNoWindowCanBeMade) {
  MemoryMachine platform = WindowsLike();
  platform.windowCanBeCreated = false;
  platform.argumentText = L"C:\\p.7z";
  platform.shortPaths[L"C:\\p.7z"] = L"C:\\p.7z";
  platform.existingPaths = {L"C:\\p.7z"};
  platform.firstMatches[L"C:\\WINDOWS\\Temp\\Vantrel\\*.inf"] = L"p.inf";
  platform.existingPaths.insert(L"C:\\WINDOWS\\Temp\\Vantrel\\p.inf");
  platform.infTexts[L"C:\\WINDOWS\\Temp\\Vantrel\\p.inf"] = L"[DefaultInstall]\n";
  EXPECT_EQ(platform.RunProgram(), 0u);
  EXPECT_EQ(platform.launched.size(), 4u);
}

TEST(Startup, AGuardThatCannotBeEvaluatedEndsTheProcess) {
  // Not knowing whether there is an argument, or whether the package
  // exists, is not a reason to go on installing.
  MemoryMachine noArgument = WindowsLike();
  noArgument.failing = {"ArgumentText"};
  EXPECT_EQ(noArgument.RunProgram(), 1u);

  MemoryMachine noProbe = WindowsLike();
  noProbe.argumentText = L"C:\\p.7z";
  noProbe.shortPaths[L"C:\\p.7z"] = L"C:\\p.7z";
  noProbe.failing = {"PathFileExists"};
  EXPECT_EQ(noProbe.RunProgram(), 2u);
  EXPECT_TRUE(noProbe.launched.empty());
}

}  // namespace
}  // namespace vantrel
