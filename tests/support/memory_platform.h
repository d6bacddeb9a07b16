// A platform held in memory for the unit tests: it records every call, with
// its arguments, in order, and answers from what the test set up. Ending the
// process throws ProcessEnded, which no statement of the form swallows.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace vantrel {

struct ProcessEnded {
  std::uint32_t exitCode;
};

// A dialog a child opens once that many waits have seen it running, open
// until the child ends or, where it gives in, until it is declined.
struct ScriptedDialog {
  ChildDialog dialog;
  int opensAtPoll = 0;
  bool endsChildWhenDeclined = true;
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

class MemoryPlatform : public Platform {
 public:
  // What the test sets up.
  std::wstring argumentText;
  std::vector<std::wstring> environment;
  std::wstring programFolder = L"C:\\Program Files\\Vantrel";
  std::wstring systemFolder = L"C:\\WINDOWS\\system32";
  std::wstring windowsFolder = L"C:\\WINDOWS";
  bool windowCanBeCreated = true;
  std::map<std::wstring, std::wstring> shortPaths;  // long path -> short form
  // A successful shell delete removes the path itself from here, a private
  // folder made by the program adds it; paths in `undeletable` stay.
  std::set<std::wstring> existingPaths;
  std::set<std::wstring> undeletable;
  std::map<std::wstring, std::wstring> firstMatches;  // pattern -> bare name
  // The links in the file system, by full path.
  std::vector<FolderLink> links;
  // Decides each launched command's behaviour; by default every child
  // starts and ends at once with exit code 0.
  std::function<ChildScript(const std::wstring& commandLine)> childFor;
  // SHFileOperation: the call's result and the aborted flag it sets.
  int shellResult = 0;
  bool shellAborts = false;
  // The INFs the parser can read, by path, as text.
  std::map<std::wstring, std::wstring> infTexts;
  InfArchitecture architecture = InfArchitecture::kX86;
  // A 32-bit program on 64-bit Windows.
  bool wow64 = false;
  // What the INF installer left: the files of each install section (by
  // section name), the services there are, the registry entries there are
  // (by RegistryEntryName) and the renames pending for the next restart.
  std::map<std::wstring, std::vector<CopiedFile>> sectionFiles;
  std::set<std::wstring> services;
  std::set<std::wstring> registryEntries;
  std::vector<RestartRename> pendingRenames;
  // Whether the window station is one nobody sees.
  bool unattended = true;
  // The clock Milliseconds reads: waits that time out and sleeps move it.
  std::uint64_t clock = 0;
  // Names of operations that raise a failure instead of answering.
  std::set<std::string> failing;

  // What the code under test did.
  std::vector<std::wstring> calls;
  std::vector<ShellFileOperation> shellOperations;
  std::vector<std::wstring> launched;
  std::vector<std::wstring> launchedPrograms;
  // The lines of each event written, in order.
  std::vector<std::vector<std::wstring>> events;

  // Runs the form's Load and returns the exit code it ended with; a run that
  // returns without ending the process fails the test.
  std::uint32_t RunProgram();

  // Calls whose text starts with the prefix, in order.
  std::vector<std::wstring> CallsStartingWith(const std::wstring& prefix) const;
  std::size_t IndexOfCall(const std::wstring& call) const;

  std::wstring ArgumentText() override;
  std::wstring EnvironmentEntry(int n) override;
  std::wstring ProgramFolder() override;
  std::wstring SystemFolder() override;
  std::wstring WindowsFolder() override;
  bool CreateHiddenWindow(const std::wstring& caption) override;
  ProcessHandle LaunchHidden(const std::wstring& program, const std::wstring& commandLine,
                             ChildStreams streams) override;
  bool AwaitProcessOrMessage(ProcessHandle process, std::uint32_t milliseconds) override;
  std::wstring TakeChildOutput(ProcessHandle process) override;
  std::vector<ChildDialog> OpenDialogsOfChild(ProcessHandle process) override;
  void DeclineDialog(DialogHandle dialog) override;
  void EndChildJob(ProcessHandle process) override;
  bool RunsUnattended() override;
  bool RunsUnderWow64() override;
  std::uint64_t Milliseconds() override;
  std::uint32_t GetExitCodeProcess(ProcessHandle process) override;
  void CloseProcess(ProcessHandle process) override;
  void PumpMessages() override;
  void Sleep(std::uint32_t milliseconds) override;
  MutexHandle AcquireNamedMutex(const std::wstring& name) override;
  void ReleaseNamedMutex(MutexHandle mutex) override;
  void CreatePrivateFolder(const std::wstring& path) override;
  std::wstring FirstMatch(const std::wstring& pattern) override;
  std::uint32_t GetShortPathName(const std::wstring& longPath, wchar_t* buffer,
                                 std::uint32_t bufferSize) override;
  int PathFileExists(const std::wstring& path) override;
  int SHFileOperation(ShellFileOperation& operation) override;
  TreeSurvey SurveyTree(const std::wstring& path) override;
  void DeleteTree(const std::wstring& path) override;
  std::unique_ptr<InfSource> OpenInf(const std::wstring& path) override;
  InfArchitecture InstallerArchitecture() override;
  std::vector<CopiedFile> FilesOfSection(const std::wstring& infPath,
                                         const std::wstring& section) override;
  bool ServiceExists(const std::wstring& name) override;
  bool RegistryEntryExists(const RegistryEntry& entry) override;
  std::vector<RestartRename> PendingRestartRenames() override;
  void WriteRunEvent(bool failure, std::uint32_t eventId,
                     const std::vector<std::wstring>& lines) override;
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
  void Record(const std::wstring& call);
  void FailIfTold(const char* operation);
  Child& ChildOf(ProcessHandle process);

  std::vector<Child> children_;
  int mutexesHeld_ = 0;
};

// A machine with the package "C:\Package Store\driver.7z" at hand (short
// form C:\PACKAG~1\driver.7z), the program in C:\Program Files\Vantrel and
// an INF, driver.inf, in the work folder C:\WINDOWS\Temp\Vantrel once the
// package is unpacked.
MemoryPlatform ReadyToInstall();
extern const std::wstring kWorkFolder;

// Text for messages and call records.
std::wstring Quoted(const std::wstring& text);

}  // namespace vantrel
