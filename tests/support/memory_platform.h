// The Windows services and the child watch held in memory for the unit
// tests: every call is recorded, with its arguments, in order, and answered
// from what the test set up. The two share the children the platform
// started. Ending the process throws ProcessEnded, which no statement of the
// programs swallows.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "call_recorder.h"
#include "child/child_watch.h"
#include "platform/platform.h"

namespace vantrel {

struct ProcessEnded {
  std::uint32_t exitCode;
};

// A dialog a child opens once that many waits have seen it running, open
// until the child ends or, where it gives in, until it is declined; or, where
// `openPolls` is set, for that many waits only, again every `everyPolls`
// waits where that is set (a note an installer keeps flashing).
struct ScriptedDialog {
  ChildDialog dialog;
  int opensAtPoll = 0;
  bool endsChildWhenDeclined = true;
  int openPolls = 0;
  int everyPolls = 0;
};

// How a launched child behaves: whether it starts, and how many waits see it
// running before it has ended with its exit code; what it prints (taken
// whole by the first read) and what it asks.
struct ChildScript {
  ChildScript(bool starts = true, int runningPolls = 0, std::uint32_t exitCode = 0)
      : starts(starts), runningPolls(runningPolls), exitCode(exitCode) {}

  bool starts = true;
  int runningPolls = 0;
  std::uint32_t exitCode = 0;
  std::wstring output;
  std::vector<ScriptedDialog> dialogs;
};

class MemoryPlatform : public Platform, public ChildWatch, public virtual CallRecorder {
 public:
  // What the test sets up.
  std::wstring argumentText;
  std::vector<std::wstring> environment;
  std::wstring programFolder = L"C:\\Program Files\\Vantrel";
  std::wstring systemFolder = L"C:\\WINDOWS\\system32";
  std::wstring windowsFolder = L"C:\\WINDOWS";
  bool windowCanBeCreated = true;
  std::map<std::wstring, std::wstring> shortPaths;  // long path -> short form
  std::map<std::wstring, std::wstring> longPaths;   // another name -> long path
  // What a relative path is made absolute against.
  std::wstring currentFolder = L"C:\\Users\\admin";
  // A successful shell delete removes the path itself from here, a private
  // folder made by the program adds it; paths in `undeletable` stay.
  std::set<std::wstring> existingPaths;
  std::set<std::wstring> undeletable;
  // The folders among them, and what ListTree finds below a folder.
  std::set<std::wstring> folders;
  std::map<std::wstring, std::vector<TreeItem>> trees;
  std::map<std::wstring, std::wstring> firstMatches;  // pattern -> bare name
  // The links in the file system, by full path.
  std::vector<FolderLink> links;
  // Decides each launched command's behaviour; by default every child
  // starts and ends at once with exit code 0.
  std::function<ChildScript(const std::wstring& commandLine)> childFor;
  // SHFileOperation: the call's result and the aborted flag it sets.
  int shellResult = 0;
  bool shellAborts = false;
  // Whether the window station is one nobody sees.
  bool unattended = true;

  // What the code under test did.
  std::vector<ShellFileOperation> shellOperations;
  std::vector<std::wstring> launched;
  std::vector<std::wstring> launchedPrograms;

  std::wstring ArgumentText() override;
  std::wstring EnvironmentEntry(int n) override;
  std::wstring ProgramFolder() override;
  std::wstring SystemFolder() override;
  std::wstring WindowsFolder() override;
  bool CreateHiddenWindow(const std::wstring& caption) override;
  ProcessHandle LaunchHidden(const ChildStart& start) override;
  bool AwaitProcessOrMessage(ProcessHandle process, std::uint32_t milliseconds) override;
  std::wstring TakeChildOutput(ProcessHandle process) override;
  std::vector<ChildDialog> OpenDialogsOfChild(ProcessHandle process) override;
  void DeclineDialog(DialogHandle dialog) override;
  void EndChildJob(ProcessHandle process) override;
  bool RunsUnattended() override;
  std::uint64_t Milliseconds() override;
  std::uint32_t GetExitCodeProcess(ProcessHandle process) override;
  void CloseProcess(ProcessHandle process) override;
  void PumpMessages() override;
  void Sleep(std::uint32_t milliseconds) override;
  void CreatePrivateFolder(const std::wstring& path) override;
  std::wstring FirstMatch(const std::wstring& pattern) override;
  std::uint32_t GetShortPathName(const std::wstring& longPath, wchar_t* buffer,
                                 std::uint32_t bufferSize) override;
  std::uint32_t GetLongPathName(const std::wstring& shortPath, wchar_t* buffer,
                                std::uint32_t bufferSize) override;
  std::uint32_t GetFullPathName(const std::wstring& path, wchar_t* buffer,
                                std::uint32_t bufferSize) override;
  int PathFileExists(const std::wstring& path) override;
  int PathIsDirectory(const std::wstring& path) override;
  int SHFileOperation(ShellFileOperation& operation) override;
  TreeSurvey SurveyTree(const std::wstring& path) override;
  std::vector<TreeItem> ListTree(const std::wstring& folder) override;
  void DeleteTree(const std::wstring& path) override;
  [[noreturn]] void EndProcess(std::uint32_t exitCode) override;

 private:
  struct Child {
    ChildScript script;
    ChildStreams streams;
    int polls = 0;
    bool closed = false;
    bool outputTaken = false;
    std::set<DialogHandle> declined;
  };
  Child& ChildOf(ProcessHandle process);

  std::vector<Child> children_;
};

}  // namespace vantrel
