// The Windows platform layer against the real system calls.
#include <gtest/gtest.h>

#include "run/machine-win32.h"

#include <aclapi.h>
#include <tlhelp32.h>
#include <sddl.h>

#include "child/run_child.h"
#include "form/vantrel.h"
#include "helpers/module1.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <thread>
#include <string>
#include <vector>

namespace vantrel {
namespace {

ChildStart Start(const std::wstring& program, const std::wstring& commandLine,
                 ChildStreams streams) {
  ChildStart start;
  start.program = program;
  start.commandLine = commandLine;
  start.streams = streams;
  return start;
}

// A scratch folder of its own per test, removed afterwards by the shell.
class Win32PlatformTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    root_ = std::wstring(temp) + L"vantrel platform test " +
            std::to_wstring(GetCurrentProcessId()) + L"-" + std::wstring(name.begin(), name.end());
    ASSERT_TRUE(CreateDirectoryW(root_.c_str(), nullptr));
  }
  void TearDown() override { DeleteFolder(platform_, root_); }

  std::wstring Path(const std::wstring& relative) const { return root_ + L"\\" + relative; }
  void MakeFolder(const std::wstring& relative) {
    ASSERT_TRUE(CreateDirectoryW(Path(relative).c_str(), nullptr));
  }
  void WriteFile(const std::wstring& relative, const std::string& content,
                 DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    HANDLE file = CreateFileW(Path(relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              attributes, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
  }
  std::string ReadFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    char buffer[256];
    DWORD read = 0;
    ::ReadFile(file, buffer, sizeof buffer, &read, nullptr);
    CloseHandle(file);
    return std::string(buffer, read);
  }

  Win32Machine machine_;
  Win32Platform& platform_ = machine_.platform();
  Machine system_ = machine_.Get();
  std::wstring root_;
};

TEST_F(Win32PlatformTest, ShortFormOfALongPathWithBlanks) {
  MakeFolder(L"Long Folder Name With Blanks");
  WriteFile(L"Long Folder Name With Blanks\\A long package name.7z", "x");
  const std::wstring shortForm =
      ShortPath(platform_, Path(L"Long Folder Name With Blanks\\A long package name.7z"));
  ASSERT_FALSE(shortForm.empty());
  const std::wstring tail = shortForm.substr(shortForm.rfind(L'\\') + 1);
  EXPECT_EQ(tail.find(L' '), std::wstring::npos) << tail;
  EXPECT_LE(tail.size(), 12u) << tail;
  EXPECT_TRUE(FileExists(platform_, shortForm));
  EXPECT_EQ(ShortPath(platform_, Path(L"no such file.7z")), L"");
}

TEST_F(Win32PlatformTest, NamesOutsideTheAnsiCodePageSurvive) {
  // Cyrillic and CJK are not in code page 1252: through the narrow calls they
  // would arrive as "?", a wildcard to the shell.
  MakeFolder(L"\u041f\u0430\u043a\u0435\u0442 \u5305");
  WriteFile(L"\u041f\u0430\u043a\u0435\u0442 \u5305\\\u0434\u0440\u0430\u0439\u0432\u0435\u0440.inf", "cyr");
  WriteFile(L"\u041f\u0430\u043a\u0435\u0442 \u5305\\xx.inf", "other");
  const std::wstring file = Path(L"\u041f\u0430\u043a\u0435\u0442 \u5305\\\u0434\u0440\u0430\u0439\u0432\u0435\u0440.inf");
  EXPECT_TRUE(FileExists(platform_, file));
  EXPECT_TRUE(FileExists(platform_, ShortPath(platform_, file)));
  MakeFolder(L"out");
  EXPECT_TRUE(CopyFiles(platform_, file, Path(L"out")));
  EXPECT_EQ(ReadFile(Path(L"out\\\u0434\u0440\u0430\u0439\u0432\u0435\u0440.inf")), "cyr");
  EXPECT_FALSE(FileExists(platform_, Path(L"out\\xx.inf")));
}

TEST_F(Win32PlatformTest, ExistenceOfFilesAndFolders) {
  MakeFolder(L"folder");
  WriteFile(L"file.txt", "x");
  EXPECT_TRUE(FileExists(platform_, Path(L"folder")));
  EXPECT_TRUE(FileExists(platform_, Path(L"file.txt")));
  EXPECT_FALSE(FileExists(platform_, Path(L"missing")));
  EXPECT_FALSE(FileExists(platform_, L""));
}

TEST_F(Win32PlatformTest, ShellCopyOfAWildcardSetOverwritingWithoutAsking) {
  MakeFolder(L"work");
  WriteFile(L"work\\a.inf", "new a");
  WriteFile(L"work\\b.inf", "new b");
  WriteFile(L"work\\c.txt", "text");
  MakeFolder(L"inf");
  WriteFile(L"inf\\a.inf", "old a");
  EXPECT_TRUE(CopyFiles(platform_, Path(L"work\\*.inf"), Path(L"inf")));
  EXPECT_EQ(ReadFile(Path(L"inf\\a.inf")), "new a");
  EXPECT_EQ(ReadFile(Path(L"inf\\b.inf")), "new b");
  EXPECT_FALSE(FileExists(platform_, Path(L"inf\\c.txt")));
}

TEST_F(Win32PlatformTest, ShellDeleteRemovesAWholeTree) {
  MakeFolder(L"tree");
  MakeFolder(L"tree\\i386");
  WriteFile(L"tree\\i386\\payload.sys", "p");
  WriteFile(L"tree\\setup.inf", "s", FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(DeleteFolder(platform_, Path(L"tree")));
  EXPECT_FALSE(FileExists(platform_, Path(L"tree")));
  EXPECT_FALSE(DeleteFolder(platform_, Path(L"tree")));
}

TEST_F(Win32PlatformTest, TreesPastMaxPathOrWithLinksAreDeletedWithoutFollowingALink) {
  // Made through the "\\?\" form, as 7-Zip makes them.
  std::wstring deep = L"\\\\?\\" + Path(L"deep");
  ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
  for (int i = 1; i <= 6; ++i) {
    deep += L"\\a rather long folder name number " + std::to_wstring(i) + L" for the test";
    ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
  }
  ASSERT_TRUE(SetFileAttributesW(deep.c_str(), FILE_ATTRIBUTE_READONLY));
  const TreeSurvey survey = platform_.SurveyTree(Path(L"deep"));
  EXPECT_TRUE(survey.link.path.empty() && survey.pathBeyondShell.size() > kLongestShellPath);
  EXPECT_EQ(survey.pathBeyondShell.rfind(Path(L"deep\\a rather long"), 0), 0u);
  // Its full form is longer than the first buffer the system is asked with.
  const std::wstring ordinary = deep.substr(4);
  EXPECT_EQ(FullPath(ordinary + L"\\.\\"), ordinary);
  EXPECT_TRUE(DeleteFolder(platform_, Path(L"deep")));
  EXPECT_FALSE(FileExists(platform_, Path(L"deep")));

  // The test runner's link, C:\link-test\tree\link -> C:\link-test\target.
  const std::wstring tree = L"C:\\link-test\\tree";
  if (!FileExists(platform_, tree)) GTEST_SKIP() << "no link made for the test (run-under-wine.sh)";
  EXPECT_EQ(platform_.SurveyTree(tree).link.path, tree + L"\\link");
  // Windows removes a link as a link; Wine cannot (it finds the target's
  // folder not empty). What it leads to stays, where the shell emptied it.
  try {
    DeleteFolder(platform_, tree);
  } catch (const PlatformFailure&) {
  }
  EXPECT_TRUE(FileExists(platform_, L"C:\\link-test\\target\\keep.txt"));
}

TEST_F(Win32PlatformTest, FirstMatchTakesOnlyOrdinaryFilesWithTheRealName) {
  MakeFolder(L"folder.inf");
  WriteFile(L"hidden.inf", "h", FILE_ATTRIBUTE_HIDDEN);
  WriteFile(L"system.inf", "s", FILE_ATTRIBUTE_SYSTEM);
  WriteFile(L"readme.information", "i");
  EXPECT_EQ(platform_.FirstMatch(Path(L"*.inf")), L"");
  WriteFile(L"driver.inf", "d", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(platform_.FirstMatch(Path(L"*.inf")), L"driver.inf");
  EXPECT_EQ(platform_.FirstMatch(Path(L"missing folder\\*.inf")), L"");
}

TEST_F(Win32PlatformTest, EnvironmentEntriesInStoredOrder) {
  ASSERT_TRUE(SetEnvironmentVariableW(L"VANTREL_PROBE", L" C:\\probe\\ "));
  std::vector<std::wstring> expected;
  wchar_t* block = GetEnvironmentStringsW();
  for (const wchar_t* entry = block; *entry != L'\0'; entry += wcslen(entry) + 1) {
    expected.push_back(entry);
  }
  FreeEnvironmentStringsW(block);
  ASSERT_FALSE(expected.empty());
  std::vector<std::wstring> read;
  for (int n = 1; n <= static_cast<int>(expected.size()); ++n) {
    read.push_back(platform_.EnvironmentEntry(n));
  }
  EXPECT_EQ(read, expected);
  EXPECT_EQ(platform_.EnvironmentEntry(static_cast<int>(expected.size()) + 1), L"");
  EXPECT_NE(std::find(read.begin(), read.end(), L"VANTREL_PROBE= C:\\probe\\ "), read.end());

  // The scan over the real environment finds the system folder wherever
  // Wine or Windows stores it.
  Vantrel form(machine_.Get());
  form.ReadEnvironment();
  wchar_t windows[MAX_PATH];
  ASSERT_GT(GetWindowsDirectoryW(windows, MAX_PATH), 0u);
  EXPECT_EQ(_wcsicmp(form.SystemRoot.c_str(), windows), 0) << form.SystemRoot;
  EXPECT_EQ(form.Temp, form.SystemRoot + L"\\Temp\\Vantrel");
}

TEST_F(Win32PlatformTest, ProgramFolderHoldsTheExecutable) {
  wchar_t module[MAX_PATH];
  ASSERT_GT(GetModuleFileNameW(nullptr, module, MAX_PATH), 0u);
  const std::wstring folder = platform_.ProgramFolder();
  EXPECT_EQ(std::wstring(module).rfind(folder + L"\\", 0), 0u) << folder;
  EXPECT_NE(folder.back(), L'\\');
  EXPECT_EQ(std::wstring(module).find(L'\\', folder.size() + 1), std::wstring::npos);
}

TEST_F(Win32PlatformTest, ChildrenAreAwaitedByTheirOwnHandleInsideTheProgramsJob) {
  Vantrel form(machine_.Get());
  const std::wstring cmd = platform_.SystemFolder() + L"\\cmd.exe";
  ChildOutcome outcome = form.RunAndWait(cmd, L"cmd /c exit 3", kNoBound);
  EXPECT_TRUE(outcome.started);
  EXPECT_EQ(outcome.exitCode, 3u);
  // STILL_ACTIVE as an exit code must not look like a child still running.
  outcome = form.RunAndWait(cmd, L"cmd /c exit 259", kNoBound);
  EXPECT_TRUE(outcome.started);
  EXPECT_EQ(outcome.exitCode, 259u);

  // A child that cannot outlive the program: it is in a job from its first
  // instruction on.
  const ProcessHandle child =
      platform_.LaunchHidden(Start(cmd, L"cmd /c exit 0", ChildStreams::kInherited));
  BOOL inJob = FALSE;
  EXPECT_TRUE(IsProcessInJob(reinterpret_cast<HANDLE>(child), nullptr, &inJob));
  EXPECT_TRUE(inJob);
  while (!platform_.AwaitProcessOrMessage(child, 100)) platform_.PumpMessages();
  platform_.CloseProcess(child);

  outcome = form.RunAndWait(Path(L"no such program.exe"), L"\"no such program\" /x", kNoBound);
  EXPECT_FALSE(outcome.started);
  // The failure says what the system said.
  try {
    platform_.LaunchHidden(Start(Path(L"no such program.exe"), L"x", ChildStreams::kInherited));
    ADD_FAILURE() << "a missing program started";
  } catch (const PlatformFailure& failure) {
    EXPECT_EQ(failure.systemError(), static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(std::string(failure.what()).rfind("CreateProcessW: ", 0), 0u) << failure.what();
    EXPECT_NE(std::string(failure.what()).find("(2)"), std::string::npos) << failure.what();
  }
}

TEST_F(Win32PlatformTest, ALongRunningChildIsAwaitedToItsEnd) {
  Vantrel form(machine_.Get());
  const ULONGLONG start = GetTickCount64();
  const ChildOutcome outcome =
      form.RunAndWait(platform_.SystemFolder() + L"\\cmd.exe",
                      L"cmd /c ping -n 3 127.0.0.1 >nul & exit 4", kNoBound);
  const ULONGLONG elapsed = GetTickCount64() - start;
  EXPECT_EQ(outcome.exitCode, 4u);
  EXPECT_GE(elapsed, 1000u);
}

// Whether a process of that program's file name runs now.
bool ProcessRuns(const wchar_t* name) {
  UniqueKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    if (_wcsicmp(entry.szExeFile, name) == 0) return true;
  }
  return false;
}

TEST_F(Win32PlatformTest, AChildThatNeitherEndsNorAsksIsEndedWithItsJobAtItsBound) {
  // cmd says so and waits for the process it starts, which sleeps for a
  // day. (Started without a console, cmd gives that console program a
  // console of its own, whose output the pipe never sees.)
  const std::wstring sleeper = platform_.ProgramFolder() + L"\\console_child.exe";
  const ULONGLONG start = GetTickCount64();
  const ChildOutcome outcome = Vantrel(machine_.Get()).RunAndWait(
      platform_.SystemFolder() + L"\\cmd.exe",
      L"cmd /c \"echo sleeping for a day&\"" + sleeper + L"\" sleep\"", 2000,
      ChildStreams::kCaptured);
  const ULONGLONG elapsed = GetTickCount64() - start;
  EXPECT_TRUE(outcome.endedAtBound);
  EXPECT_TRUE(elapsed >= 2000 && elapsed < 12000) << elapsed;
  EXPECT_EQ(outcome.output, std::vector<std::wstring>{L"sleeping for a day"});
  // What the child started is ended with it.
  bool left = true;
  for (int pass = 0; pass < 50 && left; ++pass, Sleep(100)) {
    left = ProcessRuns(L"console_child.exe");
  }
  EXPECT_FALSE(left);
}

// A deployment tool that reads its children's output starts the program
// holding an inheritable handle of its own; a child inherits its own pipes
// only, and no console (nor the console host that comes with one).
TEST_F(Win32PlatformTest, ACapturedChildInheritsItsPipesOnlyAndNoConsole) {
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
  const HANDLE mapping =
      CreateFileMappingW(INVALID_HANDLE_VALUE, &inheritable, PAGE_READWRITE, 0, 64, nullptr);
  ASSERT_NE(mapping, nullptr);
  char* view = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 64));
  ASSERT_NE(view, nullptr);
  std::strcpy(view, "the starting tool's handle");
  UnmapViewOfFile(view);
  const std::wstring value = std::to_wstring(reinterpret_cast<std::uintptr_t>(mapping));
  const ChildOutcome outcome = Vantrel(machine_.Get()).RunAndWait(
      platform_.ProgramFolder() + L"\\console_child.exe", L"console_child handle " + value,
      kNoBound, ChildStreams::kCaptured);
  CloseHandle(mapping);
  EXPECT_EQ(outcome.output, (std::vector<std::wstring>{L"handle: not inherited", L"console: none"}));
}

TEST_F(Win32PlatformTest, ACapturedConsoleChildReadsEndOfInputAndAllItsOutputArrives) {
  const std::wstring child = platform_.ProgramFolder() + L"\\console_child.exe";
  // A megabyte is far more than the pipe holds: a wait that did not drain it
  // would never see the child end.
  const ProcessHandle process =
      platform_.LaunchHidden(Start(child, L"console_child output 1048576", ChildStreams::kCaptured));
  std::wstring output;
  bool ended = false;
  for (int pass = 0; pass < 600 && !ended; ++pass) {
    ended = platform_.AwaitProcessOrMessage(process, 100);
    platform_.PumpMessages();
    output += system_.children.TakeChildOutput(process);
  }
  output += system_.children.TakeChildOutput(process);
  ASSERT_TRUE(ended) << "the child did not end within 60 s";
  EXPECT_EQ(platform_.GetExitCodeProcess(process), 2u);
  platform_.CloseProcess(process);
  // A Windows console program ends its lines with CR LF.
  EXPECT_EQ(output.rfind(L"input: 0 bytes, then end of file\r\n", 0), 0u) << output.substr(0, 80);
  EXPECT_GE(output.size(), 1048576u);
  EXPECT_NE(output.find(L"ERROR: the test child's error line\r\n"), std::wstring::npos);
  EXPECT_EQ(output.substr(output.size() - 15), L"the last line\r\n");

  // Through the runner, the record keeps the error line first, then the end.
  Vantrel form(machine_.Get());
  const ChildOutcome outcome =
      form.RunAndWait(child, L"console_child output 300000", kNoBound, ChildStreams::kCaptured);
  EXPECT_EQ(outcome.exitCode, 2u);
  ASSERT_FALSE(outcome.output.empty());
  EXPECT_EQ(outcome.output.front(), L"ERROR: the test child's error line");
  EXPECT_EQ(outcome.output.back(), L"the last line");
}

// "Please wait" for 1.5 s every 1.6 s, for ever: no question, nothing that
// holds the bound, attended or not.
TEST_F(Win32PlatformTest, AChildThatKeepsFlashingANoteIsEndedAtItsBound) {
  if (!platform_.CreateHiddenWindow(L"Vantrel platform test notes")) {
    GTEST_SKIP() << "no display: the system makes no windows";
  }
  const ULONGLONG start = GetTickCount64();
  const ChildOutcome outcome = Vantrel(machine_.Get()).RunAndWait(
      platform_.ProgramFolder() + L"\\console_child.exe", L"console_child flash", 5000);
  const ULONGLONG elapsed = GetTickCount64() - start;
  EXPECT_TRUE(outcome.endedAtBound);
  EXPECT_TRUE(outcome.questions.empty());
  EXPECT_TRUE(elapsed >= 5000 && elapsed < 15000) << elapsed;
}

TEST_F(Win32PlatformTest, AChildsQuestionIsFoundReadDeclinedOrEndedWithItsJob) {
  if (!platform_.CreateHiddenWindow(L"Vantrel platform test questions")) {
    GTEST_SKIP() << "no display: the system makes no windows";
  }
  // The display's station is the one a person sees.
  EXPECT_FALSE(system_.children.RunsUnattended());
  const std::wstring child = platform_.ProgramFolder() + L"\\console_child.exe";
  // A box being made is there before its texts are: wait for those too.
  const auto question = [&](ProcessHandle process) {
    for (int pass = 0; pass < 100; ++pass) {
      const std::vector<ChildDialog> open = system_.children.OpenDialogsOfChild(process);
      if (!open.empty() && !open[0].caption.empty() && !open[0].text.empty()) return open;
      platform_.AwaitProcessOrMessage(process, 100);
    }
    return std::vector<ChildDialog>();
  };

  ProcessHandle process =
      platform_.LaunchHidden(Start(child, L"console_child box", ChildStreams::kInherited));
  std::vector<ChildDialog> open = question(process);
  ASSERT_EQ(open.size(), 1u);
  EXPECT_EQ(open[0].caption, L"Test question");
  EXPECT_EQ(open[0].text, L"Continue with the test?");
  EXPECT_FALSE(open[0].showsProgress);
  system_.children.DeclineDialog(open[0].window);
  for (int pass = 0; pass < 100 && !platform_.AwaitProcessOrMessage(process, 100); ++pass) {
  }
  EXPECT_EQ(platform_.GetExitCodeProcess(process), static_cast<std::uint32_t>(IDCANCEL));
  platform_.CloseProcess(process);

  // A child that will not give in ends with everything in its job.
  process = platform_.LaunchHidden(Start(child, L"console_child box", ChildStreams::kInherited));
  ASSERT_EQ(question(process).size(), 1u);
  system_.children.EndChildJob(process);
  for (int pass = 0; pass < 100 && !platform_.AwaitProcessOrMessage(process, 100); ++pass) {
  }
  EXPECT_EQ(platform_.GetExitCodeProcess(process), static_cast<std::uint32_t>(ERROR_CANCELLED));
  platform_.CloseProcess(process);
}

// The access list of a file or folder in the system's own notation.
std::wstring AccessList(const std::wstring& path) {
  DWORD size = 0;
  GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
  std::vector<unsigned char> descriptor(size);
  if (size == 0 || !GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(),
                                     size, &size)) {
    return L"<unreadable>";
  }
  wchar_t* text = nullptr;
  if (!ConvertSecurityDescriptorToStringSecurityDescriptorW(
          descriptor.data(), SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr)) {
    return L"<unconvertible>";
  }
  std::wstring result(text);
  LocalFree(text);
  return result;
}

bool RunningUnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

TEST_F(Win32PlatformTest, PrivateFolderForAdministratorsOnlyAndNeverOneThatExists) {
  const std::wstring work = Path(L"Temp\\Vantrel");  // its parent is missing too
  platform_.CreatePrivateFolder(work);
  EXPECT_TRUE(FileExists(platform_, work));
  WriteFile(L"Temp\\Vantrel\\setup.inf", "x");
  const std::wstring folder = AccessList(work);
  if (RunningUnderWine()) {
    // Wine keeps no access list of its own: it turns the one given into the
    // Unix mode (nothing for others) and reports one made from that mode.
    // Everyone has no entry, unlike in a folder made the ordinary way.
    EXPECT_EQ(folder.find(L";WD)"), std::wstring::npos) << folder;
    EXPECT_EQ(folder.rfind(L"D:(A;OICI;FA;;;SY)", 0), 0u) << folder;
    EXPECT_NE(AccessList(Path(L"Temp")).find(L";WD)"), std::wstring::npos);
  } else {
    // Protected (nothing from the parent), SYSTEM and Administrators only,
    // passed on to everything inside.
    EXPECT_EQ(folder, L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)");
    EXPECT_EQ(AccessList(Path(L"Temp\\Vantrel\\setup.inf")), L"D:(A;ID;FA;;;SY)(A;ID;FA;;;BA)");
  }

  try {
    platform_.CreatePrivateFolder(work);
    ADD_FAILURE() << "a folder that exists was taken as new";
  } catch (const PlatformFailure& failure) {
    EXPECT_EQ(failure.systemError(), static_cast<std::uint32_t>(ERROR_ALREADY_EXISTS));
  }
}

// What an install left, read from the system: setupapi's queue for a
// section with each target against its source, services, registry values
// and the renames queued for the next restart.
TEST_F(Win32PlatformTest, WhatAnInstallLeftIsReadFromTheSystem) {
  const std::string targets(root_.begin(), root_.end());
  WriteFile(L"check.inf",
            "[Version]\r\nSignature=\"$Windows NT$\"\r\n[Install]\r\nCopyFiles=Files\r\n"
            "[Files]\r\nsame.txt\r\nother.txt\r\nabsent.txt\r\n"
            "[DestinationDirs]\r\nFiles=-1,\"" + targets + "\\target\"\r\n"
            "[SourceDisksNames]\r\n1=\"disk\",,,\r\n"
            "[SourceDisksFiles]\r\nsame.txt=1\r\nother.txt=1\r\nabsent.txt=1\r\n");
  MakeFolder(L"target");
  for (const wchar_t* name : {L"same.txt", L"other.txt", L"absent.txt"}) WriteFile(name, "new");
  WriteFile(L"target\\same.txt", "new");
  WriteFile(L"target\\other.txt", "old");
  std::vector<std::wstring> found;
  for (const CopiedFile& file : system_.inf.FilesOfSection(Path(L"check.inf"), L"Install")) {
    found.push_back(file.target.substr(root_.size() + 1) + L" " +
                    std::to_wstring(static_cast<int>(file.content)));
  }
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::wstring>{L"target\\absent.txt 0", L"target\\other.txt 2",
                                              L"target\\same.txt 1"}));

  EXPECT_TRUE(system_.installed.ServiceExists(L"RpcSs"));
  EXPECT_FALSE(system_.installed.ServiceExists(L"VantrelNoSuchService"));
  RegistryEntry entry{L"HKLM", L"Software\\Microsoft\\Windows NT\\CurrentVersion", L"CurrentVersion"};
  EXPECT_TRUE(system_.installed.RegistryEntryExists(entry));
  entry.value = L"VantrelNoSuchValue";
  EXPECT_FALSE(system_.installed.RegistryEntryExists(entry));
  entry.key = L"Software\\VantrelNoSuchKey";
  entry.keyOnly = true;
  EXPECT_FALSE(system_.installed.RegistryEntryExists(entry));

  const std::vector<RestartRename> before = system_.installed.PendingRestartRenames();
  ASSERT_TRUE(MoveFileExW(Path(L"same.txt").c_str(), Path(L"target\\same.txt").c_str(),
                          MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING));
  ASSERT_TRUE(MoveFileExW(Path(L"other.txt").c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT));
  const std::vector<RestartRename> queued = QueuedSince(before, system_.installed.PendingRestartRenames());
  ASSERT_EQ(queued.size(), 2u);
  EXPECT_TRUE(PutsFileAt(queued, Path(L"target\\same.txt")));
  EXPECT_EQ(AffectedPath(queued[1]), Path(L"other.txt"));
  // The test's own entries do not wait for a restart of the test machine.
  if (before.empty()) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager", 0,
                      KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
      RegDeleteValueW(key, L"PendingFileRenameOperations");
      RegCloseKey(key);
    }
  }
}

TEST_F(Win32PlatformTest, TheInstallLockIsTheAdministratorsAloneAndItsWaitIsBounded) {
  const wchar_t kName[] = L"Global\\Vantrel.PlatformTest";
  const OpenedLock first = system_.lock.OpenNamedMutex(kName, kInstallLockAccess);
  ASSERT_NE(first.mutex, 0u);
  EXPECT_FALSE(first.existed);
  EXPECT_EQ(first.owner, L"S-1-5-32-544");
  EXPECT_TRUE(first.ownedByAdministrators);
  // Its access list: SYSTEM and the Administrators group, nobody else.
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_EQ(GetSecurityInfo(reinterpret_cast<HANDLE>(first.mutex), SE_KERNEL_OBJECT,
                            DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr, &descriptor),
            static_cast<DWORD>(ERROR_SUCCESS));
  std::vector<std::wstring> trustees;
  for (DWORD i = 0; dacl != nullptr && i < dacl->AceCount; ++i) {
    ACCESS_ALLOWED_ACE* ace = nullptr;
    ASSERT_TRUE(GetAce(dacl, i, reinterpret_cast<void**>(&ace)));
    wchar_t* sid = nullptr;
    ASSERT_TRUE(ConvertSidToStringSidW(&ace->SidStart, &sid));
    trustees.push_back(sid);
    LocalFree(sid);
  }
  LocalFree(descriptor);
  EXPECT_EQ(trustees, (std::vector<std::wstring>{L"S-1-5-18", L"S-1-5-32-544"}));
  ASSERT_TRUE(system_.lock.WaitForNamedMutex(first.mutex, 0));

  // A second run finds it made by the administrators and waits its bound
  // while the first holds it; once the first has let go (and the lock is
  // gone with its last handle), the next run makes it afresh and has it.
  const auto otherRun = [&](std::uint32_t milliseconds, bool existed) {
    bool taken = false;
    std::thread run([&] {
      Win32Machine machine;
      InstallLock& lock = machine.Get().lock;
      const OpenedLock second = lock.OpenNamedMutex(kName, kInstallLockAccess);
      EXPECT_EQ(second.existed, existed);
      EXPECT_TRUE(second.ownedByAdministrators);
      taken = lock.WaitForNamedMutex(second.mutex, milliseconds);
      lock.ReleaseNamedMutex(second.mutex);
    });
    run.join();
    return taken;
  };
  EXPECT_FALSE(otherRun(300, true));
  system_.lock.ReleaseNamedMutex(first.mutex);
  EXPECT_TRUE(otherRun(0, false));

  // A mutex of that name that this user made, owned by the user alone, is
  // somebody else's lock.
  HANDLE token = nullptr;
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
  std::vector<BYTE> user(256);
  DWORD size = 0;
  ASSERT_TRUE(GetTokenInformation(token, TokenUser, user.data(), static_cast<DWORD>(user.size()), &size));
  CloseHandle(token);
  wchar_t* userSid = nullptr;
  ASSERT_TRUE(ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, &userSid));
  const std::wstring owner = userSid;
  LocalFree(userSid);
  if (owner == L"S-1-5-18") GTEST_SKIP() << "the test runs as SYSTEM: it cannot make a user's lock";
  PSECURITY_DESCRIPTOR users = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
      (L"O:" + owner + L"D:(A;;GA;;;WD)").c_str(), SDDL_REVISION_1, &users, nullptr));
  SECURITY_ATTRIBUTES attributes = {sizeof attributes, users, FALSE};
  HANDLE foreign = CreateMutexW(&attributes, FALSE, L"Global\\Vantrel.PlatformTest.Foreign");
  LocalFree(users);
  ASSERT_NE(foreign, nullptr);
  const OpenedLock found =
      system_.lock.OpenNamedMutex(L"Global\\Vantrel.PlatformTest.Foreign", kInstallLockAccess);
  EXPECT_TRUE(found.existed);
  EXPECT_EQ(found.owner, owner);
  EXPECT_FALSE(found.ownedByAdministrators);
  system_.lock.ReleaseNamedMutex(found.mutex);
  CloseHandle(foreign);
}

TEST_F(Win32PlatformTest, HiddenFormWindowIsNeverVisible) {
  // Where the system can make windows at all, the form's window exists with
  // its caption and stays hidden.
  if (!platform_.CreateHiddenWindow(L"Vantrel platform test window")) {
    GTEST_SKIP() << "no display: the system makes no windows";
  }
  HWND window = FindWindowW(nullptr, L"Vantrel platform test window");
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(IsWindowVisible(window));
}

// Runs late (it cannot be undone for the process): inside a deployment
// tool's job children still run and are awaited, whether the system nests
// the program's own job in it (Windows 8 and later, Wine) or refuses it
// (Windows 7).
TEST(ChildJob, ChildrenStillRunInsideAJobOfSomebodyElse) {
  HANDLE outer = CreateJobObjectW(nullptr, nullptr);
  ASSERT_NE(outer, nullptr);
  ASSERT_TRUE(AssignProcessToJobObject(outer, GetCurrentProcess()));
  Win32Machine machine;
  Vantrel form(machine.Get());
  const ChildOutcome outcome =
      form.RunAndWait(machine.platform().SystemFolder() + L"\\cmd.exe", L"cmd /c exit 5", kNoBound);
  EXPECT_TRUE(outcome.started);
  EXPECT_EQ(outcome.exitCode, 5u);
  CloseHandle(outer);
}

// Runs last (it cannot be undone for the process): after the hardening a DLL
// beside the program is no longer found by name.
TEST(DllSearch, APlantedDllBesideTheProgramIsNotLoaded) {
  HMODULE before = LoadLibraryW(L"planted_probe.dll");
  ASSERT_NE(before, nullptr) << "the probe DLL must be loadable from beside the program";
  FreeLibrary(before);
  RestrictDllSearchToSystem();
  HMODULE after = LoadLibraryW(L"planted_probe.dll");
  EXPECT_EQ(after, nullptr);
  if (after != nullptr) FreeLibrary(after);
  // The system's own libraries are still found.
  EXPECT_NE(LoadLibraryW(L"shlwapi.dll"), nullptr);
}

}  // namespace
}  // namespace vantrel
