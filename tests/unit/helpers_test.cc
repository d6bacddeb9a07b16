// What the path and shell helpers hand the system, and when they call nothing.
#include <gtest/gtest.h>

#include "helpers/module1.h"
#include "memory_platform.h"

namespace vantrel {
namespace {

const std::wstring kNul(1, L'\0');

TEST(ShortPathHelper, ShortFormOrEmptyText) {
  MemoryPlatform platform;
  platform.shortPaths[L"C:\\Program Files\\app.7z"] = L"C:\\PROGRA~1\\app.7z";
  EXPECT_EQ(ShortPath(platform, L"C:\\Program Files\\app.7z"), L"C:\\PROGRA~1\\app.7z");
  EXPECT_EQ(ShortPath(platform, L"C:\\missing.7z"), L"");
  EXPECT_EQ(ShortPath(platform, L""), L"");
  EXPECT_EQ(platform.calls.front(), L"GetShortPathName [C:\\Program Files\\app.7z] 255");
}

TEST(ShortPathHelper, ShortFormsBeyondTheFirstBufferAreReturnedWhole) {
  MemoryPlatform platform;
  const std::wstring fits(254, L'a');
  const std::wstring longer = L"\\\\?\\C:\\" + std::wstring(300, L'b');
  platform.shortPaths[L"fits"] = fits;
  platform.shortPaths[L"longer"] = longer;
  EXPECT_EQ(ShortPath(platform, L"fits"), fits);
  EXPECT_EQ(ShortPath(platform, L"longer"), longer);
  EXPECT_EQ(platform.CallsStartingWith(L"GetShortPathName [longer]"),
            (std::vector<std::wstring>{L"GetShortPathName [longer] 255",
                                       L"GetShortPathName [longer] 308"}));
}

TEST(FileExistsHelper, OnlyAnAnswerOfOneCounts) {
  MemoryPlatform platform;
  platform.existingPaths = {L"C:\\WINDOWS"};
  EXPECT_TRUE(FileExists(platform, L"C:\\WINDOWS"));
  EXPECT_FALSE(FileExists(platform, L"C:\\nothing"));
  EXPECT_FALSE(FileExists(platform, L""));
}

TEST(CopyFilesHelper, WildcardSetIsCopiedWithoutALiteralFile) {
  MemoryPlatform platform;
  EXPECT_TRUE(CopyFiles(platform, L"C:\\dir\\*.inf", L"C:\\WINDOWS\\inf"));
  // Both conditions are evaluated even though the first already holds.
  EXPECT_EQ(platform.calls.front(), L"PathFileExists [C:\\dir\\*.inf]");
  ASSERT_EQ(platform.shellOperations.size(), 1u);
  const ShellFileOperation& op = platform.shellOperations[0];
  EXPECT_EQ(op.wFunc, 2u);
  EXPECT_EQ(op.pFrom, L"C:\\dir\\*.inf" + kNul + kNul);
  EXPECT_EQ(op.pTo, L"C:\\WINDOWS\\inf" + kNul + kNul);
  EXPECT_EQ(op.fFlags, 0x610);  // 0x400: no error dialog that nobody could answer
}

TEST(CopyFilesHelper, StarAtTheStartNeedsAnExistingSource) {
  MemoryPlatform platform;
  EXPECT_FALSE(CopyFiles(platform, L"*.inf", L"C:\\WINDOWS\\inf"));
  EXPECT_FALSE(CopyFiles(platform, L"a*.inf", L"C:\\WINDOWS\\inf"));
  EXPECT_FALSE(CopyFiles(platform, L"C:\\missing.inf", L"C:\\WINDOWS\\inf"));
  EXPECT_TRUE(platform.shellOperations.empty());

  platform.existingPaths = {L"C:\\w\\setup.inf"};
  EXPECT_TRUE(CopyFiles(platform, L"C:\\w\\setup.inf", L"C:\\WINDOWS\\inf"));
  EXPECT_EQ(platform.shellOperations.size(), 1u);
}

TEST(CopyFilesHelper, AFailedOrAbortedCopyIsNotASuccess) {
  MemoryPlatform platform;
  platform.existingPaths = {L"C:\\w\\setup.inf"};
  platform.shellAborts = true;
  EXPECT_FALSE(CopyFiles(platform, L"C:\\w\\setup.inf", L"C:\\WINDOWS\\inf"));
  platform.shellAborts = false;
  platform.shellResult = 5;  // access denied: no abort flag, but nothing copied
  EXPECT_FALSE(CopyFiles(platform, L"C:\\w\\setup.inf", L"C:\\WINDOWS\\inf"));

  platform.failing = {"SHFileOperation"};
  EXPECT_THROW(CopyFiles(platform, L"C:\\w\\setup.inf", L"C:\\WINDOWS\\inf"), PlatformFailure);
}

TEST(DeleteFolderHelper, SilentPermanentDeleteOfAnExistingFolderOnly) {
  MemoryPlatform platform;
  EXPECT_FALSE(DeleteFolder(platform, L"C:\\WINDOWS\\Temp\\Vantrel"));
  EXPECT_TRUE(platform.shellOperations.empty());

  platform.existingPaths = {L"C:\\WINDOWS\\Temp\\Vantrel"};
  EXPECT_TRUE(DeleteFolder(platform, L"C:\\WINDOWS\\Temp\\Vantrel"));
  ASSERT_EQ(platform.shellOperations.size(), 1u);
  const ShellFileOperation& op = platform.shellOperations[0];
  EXPECT_EQ(op.wFunc, 3u);
  EXPECT_EQ(op.pFrom, L"C:\\WINDOWS\\Temp\\Vantrel" + kNul + kNul);
  EXPECT_EQ(op.pTo, L"");
  EXPECT_EQ(op.fFlags, 0x614);  // no undo (nothing goes to the recycle bin), no error dialog

  platform.shellAborts = true;
  EXPECT_FALSE(DeleteFolder(platform, L"C:\\WINDOWS\\Temp\\Vantrel"));

  // What the shell leaves goes without it. A tree with a link or a path too
  // long for the shell never reaches it: it would delete what the link leads
  // to, or (Wine's) the current folder.
  MemoryPlatform left, linked, deep;
  left.existingPaths = linked.existingPaths = deep.existingPaths = {L"C:\\W"};
  left.shellResult = 0x7C;
  EXPECT_TRUE(DeleteFolder(left, L"C:\\W") && left.existingPaths.empty());
  linked.links = {FolderLink{L"C:\\W\\i386", L"junction or mount point"}};
  deep.existingPaths.insert(L"C:\\W\\" + std::wstring(kLongestShellPath - 4, L'x'));
  for (MemoryPlatform* platform : {&linked, &deep}) {
    EXPECT_TRUE(DeleteFolder(*platform, L"C:\\W"));
    EXPECT_TRUE(platform->shellOperations.empty());
    EXPECT_EQ(platform->CallsStartingWith(L"DeleteTree"), (std::vector<std::wstring>{L"DeleteTree [C:\\W]"}));
  }
}

}  // namespace
}  // namespace vantrel
