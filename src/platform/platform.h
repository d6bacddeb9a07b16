// The operating-system services that the installer uses. Every effect the
// program has on the system goes through this interface, so the logic above it
// runs unchanged against Windows and against the recording platform of the
// unit tests.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/restart_renames.h"
#include "inf/inf_source.h"
#include "inf/install_work.h"

// Where the Windows headers came first, their A/W macros would rename the
// system calls that the interface names.
#undef GetShortPathName
#undef SHFileOperation

namespace vantrel {

// The one failure type of the platform layer: a service that could not do its
// work (a process that would not start, an entry point that could not be
// resolved, a handle that was not valid). Where the system gave a reason, its
// error code travels with the failure and its text is part of what().
class PlatformFailure : public std::runtime_error {
 public:
  explicit PlatformFailure(const std::string& what, std::uint32_t systemError = 0)
      : std::runtime_error(what), systemError_(systemError) {}
  std::uint32_t systemError() const { return systemError_; }

 private:
  std::uint32_t systemError_;
};

// An opaque process handle; 0 means "no process".
using ProcessHandle = std::uintptr_t;
// An opaque handle of an owned named mutex; 0 means "none".
using MutexHandle = std::uintptr_t;
// An opaque handle of a dialog window that a child opened.
using DialogHandle = std::uintptr_t;

// What a child's standard streams are. A console program started by a
// program without a console gets a hidden console of its own, and anything
// it asks there waits for ever: captured, its input is the NUL device (it
// reads end of file at once) and its output and errors go into a pipe that
// the wait drains.
enum class ChildStreams { kInherited, kCaptured };

// A dialog window (class "#32770": message boxes, setupapi's prompts, task
// dialogs) open on the program's desktop in a process of a child's job.
struct ChildDialog {
  DialogHandle window = 0;
  std::wstring caption;
  // The texts of its static controls, in order, joined by blanks.
  std::wstring text;
  // It holds a progress bar: a file-copy progress dialog, not a question.
  bool showsProgress = false;
};

// An entry that leads elsewhere: a symbolic link, a junction, a mount point
// or any other reparse point. An empty path means "none".
struct FolderLink {
  std::wstring path;
  std::wstring kind;
};

// The longest path the shell's file operations are known to handle: a
// folder's path leaves room for an 8.3 name below MAX_PATH. Past it, the
// shell of Windows gives up, and Wine's deletes in the current folder.
constexpr std::size_t kLongestShellPath = 247;

// What a walk of a tree found, the first of each kind; empty: none.
struct TreeSurvey {
  FolderLink link;
  std::wstring pathBeyondShell;  // longer than kLongestShellPath
};

// The shell's file-operation record as the program fills it. The lists in
// `pFrom` and `pTo` already end in the two NULs the shell requires; an empty
// `pTo` stands for "no destination".
struct ShellFileOperation {
  std::uint32_t wFunc = 0;
  std::wstring pFrom;
  std::wstring pTo;
  std::uint16_t fFlags = 0;
  bool fAnyOperationsAborted = false;
};

// The shell's own values, under names its headers do not turn into macros.
constexpr std::uint32_t kShellCopy = 2;                // FO_COPY
constexpr std::uint32_t kShellDelete = 3;              // FO_DELETE
constexpr std::uint16_t kShellSilent = 0x4;            // FOF_SILENT
constexpr std::uint16_t kShellNoConfirmation = 0x10;   // FOF_NOCONFIRMATION
constexpr std::uint16_t kShellNoConfirmMkdir = 0x200;  // FOF_NOCONFIRMMKDIR
constexpr std::uint16_t kShellNoErrorUi = 0x400;       // FOF_NOERRORUI

class Platform {
 public:
  virtual ~Platform() = default;

  // The command-line text after the program's own name and the blanks that
  // separate it.
  virtual std::wstring ArgumentText() = 0;
  // Entry number n (from 1) of the process environment, as name=value, in the
  // order the environment stores them; the empty text past the last entry.
  virtual std::wstring EnvironmentEntry(int n) = 0;
  // The folder holding the program's executable, without a trailing
  // separator (except for a drive root).
  virtual std::wstring ProgramFolder() = 0;
  // The system folder (GetSystemDirectoryW) and the Windows folder
  // (GetSystemWindowsDirectoryW), as the system itself reports them.
  virtual std::wstring SystemFolder() = 0;
  virtual std::wstring WindowsFolder() = 0;

  // The program's one top-level window: created hidden, never shown. Returns
  // false where no window can be made (no display); the program goes on.
  virtual bool CreateHiddenWindow(const std::wstring& caption) = 0;

  // Starts the program at the full path `program` with the command line,
  // unchanged, as a new process with its window hidden. No search is made:
  // the command line is only what the child reads as its own. The child
  // belongs to the program's job where the system allows it, so it cannot
  // outlive the program. Returns the handle of the started process, which the
  // caller must close with CloseProcess. Throws PlatformFailure when the
  // process cannot start.
  virtual ProcessHandle LaunchHidden(const std::wstring& program,
                                     const std::wstring& commandLine,
                                     ChildStreams streams) = 0;
  // Blocks until the process has ended, a message arrives in the thread's
  // queue, or the milliseconds have passed, whichever comes first; true once
  // the process has ended. Output of a captured child is drained meanwhile.
  // Throws PlatformFailure for a bad handle.
  virtual bool AwaitProcessOrMessage(ProcessHandle process, std::uint32_t milliseconds) = 0;
  // The complete lines a captured child wrote since the last call, decoded
  // from the console's code page; once it has ended, everything that is left.
  // Empty for a child whose streams were not captured.
  virtual std::wstring TakeChildOutput(ProcessHandle process) = 0;
  // The dialogs open now on the program's desktop that belong to the child
  // or to any process it started (its job).
  virtual std::vector<ChildDialog> OpenDialogsOfChild(ProcessHandle process) = 0;
  // Answers the dialog Cancel, or closes it where it has no Cancel button.
  virtual void DeclineDialog(DialogHandle dialog) = 0;
  // Ends the child and every process it started.
  virtual void EndChildJob(ProcessHandle process) = 0;
  // The exit code of an ended process (259 while it runs). Throws
  // PlatformFailure for a bad handle.
  virtual std::uint32_t GetExitCodeProcess(ProcessHandle process) = 0;
  virtual void CloseProcess(ProcessHandle process) = 0;

  // Whether nobody can see the program's window station (services, SYSTEM
  // agents, session 0), so nobody can answer what a child asks; also when
  // the station cannot be asked.
  virtual bool RunsUnattended() = 0;
  // Whether this is a 32-bit program on 64-bit Windows (WoW64): its INF
  // installer is the 32-bit one, whose registry writes and system files are
  // redirected to the 32-bit views.
  virtual bool RunsUnderWow64() = 0;
  // Milliseconds from a fixed point; only differences mean anything.
  virtual std::uint64_t Milliseconds() = 0;

  // Dispatches every window message waiting in the thread's queue.
  virtual void PumpMessages() = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;

  // Waits until this process owns the system-wide mutex of that name, and
  // returns its handle. Throws PlatformFailure when it cannot be had.
  virtual MutexHandle AcquireNamedMutex(const std::wstring& name) = 0;
  virtual void ReleaseNamedMutex(MutexHandle mutex) = 0;

  // Creates the folder (and any missing parents) with an access list of its
  // own that inherits nothing: full control for SYSTEM and the Administrators
  // group only. Throws PlatformFailure when the folder cannot be made, and
  // when it exists already: what is in it could be anybody's.
  virtual void CreatePrivateFolder(const std::wstring& path) = 0;

  // The bare name of the first ordinary file (not a folder, not hidden, not a
  // system file) whose name matches the wildcard pattern at the end of the
  // path, in the order the system's search returns them; empty when none.
  virtual std::wstring FirstMatch(const std::wstring& pattern) = 0;

  // GetShortPathNameW: writes up to bufferSize characters (terminating NUL
  // included) into buffer and returns how many it wrote without the NUL; when
  // the buffer is too small it returns the size needed, NUL included; 0 on
  // failure.
  virtual std::uint32_t GetShortPathName(const std::wstring& longPath,
                                         wchar_t* buffer,
                                         std::uint32_t bufferSize) = 0;
  // PathFileExistsW: 1 when a file or folder of that path exists.
  virtual int PathFileExists(const std::wstring& path) = 0;
  // SHFileOperationW: performs the copy or delete, sets the aborted flag and
  // returns the call's own result (0 on success).
  virtual int SHFileOperation(ShellFileOperation& operation) = 0;

  // Walks the tree at the path (the path itself included; a file is a tree
  // of one), following no link, at any path length. Throws PlatformFailure
  // when part of the tree cannot be read.
  virtual TreeSurvey SurveyTree(const std::wstring& path) = 0;
  // Deletes the tree at the path, at any path length, read-only files too; a
  // link goes as a link, never what it leads to. Throws PlatformFailure
  // naming the first entry that could not be deleted.
  virtual void DeleteTree(const std::wstring& path) = 0;

  // The INF as the system's INF parser reads it. Throws PlatformFailure when
  // the parser refuses it, with the parser's error.
  virtual std::unique_ptr<InfSource> OpenInf(const std::wstring& path) = 0;
  // The platform of the INF installer the program starts: the system's
  // rundll32 of the program's own bitness.
  virtual InfArchitecture InstallerArchitecture() = 0;

  // What the INF installer left on the machine, looked at once it has
  // ended. Each throws PlatformFailure, with the system's error, when the
  // system cannot be asked.
  //
  // The files the install section copies, each with its target as it
  // stands now: the INF engine's own queue for the section, never carried
  // out. The sources are those of the INF's folder.
  virtual std::vector<CopiedFile> FilesOfSection(const std::wstring& infPath,
                                                 const std::wstring& section) = 0;
  virtual bool ServiceExists(const std::wstring& name) = 0;
  // In the view the INF installer wrote, unless the entry names one.
  virtual bool RegistryEntryExists(const RegistryEntry& entry) = 0;
  // The renames and deletions waiting for the next restart, in the order
  // the system keeps them.
  virtual std::vector<RestartRename> PendingRestartRenames() = 0;

  // Writes one event of the source "Vantrel" into the Application event log,
  // an error or an information, with the event id and one line a string;
  // registers the source first where it is missing.
  virtual void WriteRunEvent(bool failure, std::uint32_t eventId,
                             const std::vector<std::wstring>& lines) = 0;

  // Ends the process at once with that exit code; does not return.
  [[noreturn]] virtual void EndProcess(std::uint32_t exitCode) = 0;
};

}  // namespace vantrel
