// The location fields as ReadEnvironment fills them from an environment.
#include <gtest/gtest.h>

#include "form/vantrel.h"
#include "memory_machine.h"

namespace vantrel {
namespace {

struct Scanned {
  MemoryMachine platform;
  Vantrel form{platform};
  explicit Scanned(std::vector<std::wstring> environment) {
    platform.environment = std::move(environment);
    form.ReadEnvironment();
  }
};

TEST(EnvironmentScan, SortedWindowsEnvironmentYieldsTheRealSystemRoot) {
  // Windows keeps its environment sorted, so systemroot and userprofile come
  // after systemdrive; a system installed in D:\WinNT must be found there.
  Scanned s({L"ALLUSERSPROFILE=C:\\ProgramData", L"HOMEDRIVE=C:", L"HOMEPATH=\\Users\\ann",
             L"ProgramFiles=C:\\Program Files (x86)", L"SystemDrive=D:",
             L"SystemRoot=D:\\WinNT", L"USERPROFILE=C:\\Users\\ann"});
  EXPECT_EQ(s.form.SystemDrive, L"D:");
  EXPECT_EQ(s.form.SystemRoot, L"D:\\WinNT");
  EXPECT_EQ(s.form.Temp, L"D:\\WinNT\\Temp\\Vantrel");
  EXPECT_EQ(s.form.UserProfile, L"C:\\Users\\ann");
  EXPECT_EQ(s.form.ProgramFiles, L"C:\\Program Files (x86)");
  EXPECT_EQ(s.form.DefaultUserProfile, L"C:\\Default User");
  EXPECT_EQ(s.form.CDDRIVE, L"");
  EXPECT_EQ(s.form.AppPath, L"C:\\Program Files\\Vantrel");
}

TEST(EnvironmentScan, NamesMatchInAnyCaseAndALaterEntryWins) {
  Scanned s({L"sYsTeMrOoT=C:\\First", L"PATH=C:\\bin", L"SYSTEMROOT=C:\\Second"});
  EXPECT_EQ(s.form.SystemRoot, L"C:\\Second");
  // Entries are read in stored order, one by one, until the first empty one.
  EXPECT_EQ(s.platform.CallsStartingWith(L"EnvironmentEntry"),
            (std::vector<std::wstring>{L"EnvironmentEntry 1", L"EnvironmentEntry 2",
                                       L"EnvironmentEntry 3", L"EnvironmentEntry 4"}));
}

TEST(EnvironmentScan, ValuesLoseSurroundingBlanksAndOneTrailingSeparator) {
  Scanned s({L"systemroot=   C:\\My Windows\\  ", L"homedrive=C:\\\\", L"homepath=\\",
             L"programfiles=C:\\Program Files\\\\"});
  EXPECT_EQ(s.form.SystemRoot, L"C:\\My Windows");
  // The drive loses a separator twice: once as any value, once as a drive.
  EXPECT_EQ(s.form.HomeDrive, L"C:");
  EXPECT_EQ(s.form.HomePath, L"");
  EXPECT_EQ(s.form.ProgramFiles, L"C:\\Program Files\\");
}

TEST(EnvironmentScan, HomeFieldsBuildTheUserProfileWhenNoneIsGiven) {
  Scanned s({L"HOMEDRIVE=C:", L"HOMEPATH=\\Documents and Settings\\Owner",
             L"ALLUSERSPROFILE=C:\\Documents and Settings\\All Users"});
  EXPECT_EQ(s.form.HomeDrive, L"C:");
  EXPECT_EQ(s.form.HomePath, L"Documents and Settings\\Owner");
  EXPECT_EQ(s.form.UserProfile, L"C:\\Documents and Settings\\Owner");
  EXPECT_EQ(s.form.DefaultUserProfile, L"C:\\Documents and Settings\\Default User");
}

TEST(EnvironmentScan, FallbacksWithoutAnyLocationEntries) {
  Scanned s({L"PATH=C:\\bin", L"ALLUSERSPROFILE=AllUsers"});
  EXPECT_EQ(s.form.UserProfile, L"\\");
  EXPECT_EQ(s.form.DefaultUserProfile, L"Default User");

  Scanned drive({L"SystemDrive=E:"});
  EXPECT_EQ(drive.form.SystemRoot, L"E:\\Windows");
  EXPECT_EQ(drive.form.Temp, L"E:\\Windows\\Temp\\Vantrel");
  EXPECT_TRUE(drive.platform.CallsStartingWith(L"WindowsFolder").empty());
}

TEST(EnvironmentScan, WithoutADriveTheSystemNamesTheWindowsFolder) {
  // A drive-relative "\Windows" would put the work folder and the INF copy
  // on whatever drive is current.
  for (const std::vector<std::wstring>& environment :
       {std::vector<std::wstring>{L"PATH=C:\\bin"}, {L"SystemRoot=Windows"},
        {L"SystemRoot=\\Windows"}, {L"SystemRoot=C:"}, {L"SystemDrive=  "}}) {
    MemoryMachine platform;
    platform.environment = environment;
    platform.windowsFolder = L"D:\\WinNT";
    Vantrel form(platform);
    form.ReadEnvironment();
    EXPECT_EQ(form.SystemRoot, L"D:\\WinNT") << environment[0];
    EXPECT_EQ(form.Temp, L"D:\\WinNT\\Temp\\Vantrel") << environment[0];
  }
  // An absolute path from the environment wins, a UNC one too.
  Scanned unc({L"SystemRoot=\\\\server\\win"});
  EXPECT_EQ(unc.form.SystemRoot, L"\\\\server\\win");
}

TEST(EnvironmentScan, EntriesWithoutANameOrWithoutEqualsChangeNothing) {
  Scanned s({L"=C:=C:\\stuff", L"=systemroot=C:\\Wrong", L"SystemRootC:\\Wrong",
             L"SystemRoot=C:\\Right"});
  EXPECT_EQ(s.form.SystemRoot, L"C:\\Right");
  EXPECT_EQ(s.form.SystemDrive, L"");
}

TEST(EnvironmentScan, OnlyTheFirst999EntriesAreExamined) {
  std::vector<std::wstring> environment(998, L"FILLER=x");
  environment.push_back(L"SystemRoot=C:\\Entry999");
  environment.push_back(L"SystemRoot=C:\\Entry1000");
  environment.push_back(L"HOMEDRIVE=Z:");
  Scanned s(environment);
  EXPECT_EQ(s.form.SystemRoot, L"C:\\Entry999");
  EXPECT_EQ(s.form.HomeDrive, L"");
  const auto reads = s.platform.CallsStartingWith(L"EnvironmentEntry");
  ASSERT_EQ(reads.size(), 999u);
  EXPECT_EQ(reads.back(), L"EnvironmentEntry 999");
}

TEST(EnvironmentScan, AFailingServiceLeavesTheOtherFieldsFilled) {
  MemoryMachine platform;
  platform.environment = {L"SystemRoot=C:\\WINDOWS"};
  platform.failing = {"ProgramFolder"};
  Vantrel form(platform);
  form.ReadEnvironment();
  EXPECT_EQ(form.AppPath, L"");
  EXPECT_EQ(form.Temp, L"C:\\WINDOWS\\Temp\\Vantrel");

  MemoryMachine broken;
  broken.failing = {"EnvironmentEntry"};
  Vantrel form2(broken);
  form2.ReadEnvironment();  // must end despite every read failing
  EXPECT_EQ(form2.Temp, L"C:\\WINDOWS\\Temp\\Vantrel");
}

}  // namespace
}  // namespace vantrel
