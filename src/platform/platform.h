// The Windows services that the installer's own steps use: the argument,
// the environment, the program's folders, starting and awaiting a child, the
// message queue, and the path and shell file calls under their system names.
// The capabilities added around them (the INF engine, the installed state,
// a child's dialogs and output, the event, the lock) have small interfaces
// of their own in their folders. The logic above runs unchanged against
// Windows and against the recording platform of the unit tests.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "base/failure.h"
#include "base/unique_handle.h"

// Where the Windows headers came first, their A/W macros would rename the
// system calls that the interface names.
#include "platform/system_call_names.h"

namespace vantrel {

// An opaque process handle; 0 means "no process".
using ProcessHandle = std::uintptr_t;

// What a child's standard streams are. A console program started by a
// program without a console gets a hidden console of its own, and anything
// it asks there waits for ever: captured, its input is the NUL device (it
// reads end of file at once) and its output and errors go into a pipe that
// the wait drains.
enum class ChildStreams { kInherited, kCaptured };

// For a child that somebody at a console watches and can stop himself.
constexpr std::uint64_t kNoBound = std::numeric_limits<std::uint64_t>::max();

// One start of a child, whole: what runs, as what, where, for how long and
// where its streams go.
struct ChildStart {
  // The program's full path: no search is made.
  std::wstring program;
  // Only what the child reads as its own, unchanged.
  std::wstring commandLine;
  // Its current folder; empty: the program's. Process creation takes it, so
  // the program's own current folder never changes.
  std::wstring folder;
  ChildStreams streams = ChildStreams::kInherited;
  // How long it may run neither ending nor waiting on a question before it
  // is ended with every process it started (the runner's, not the
  // system's).
  std::uint64_t boundMilliseconds = kNoBound;
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

// An entry below a folder: its path relative to the folder ("\" between
// the parts), whether it is a folder and whether it is a link (never
// followed).
struct TreeItem {
  std::wstring path;
  bool folder = false;
  bool link = false;
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

  // Starts the child as a new process with its window hidden. It inherits
  // no handle but the ends of its own streams (none where they are
  // inherited), whatever the program itself was given, and a console
  // child whose streams are captured gets no console at all. The child
  // belongs to the program's job where the system allows it, so it cannot
  // outlive the program. Returns the handle of the started process, which
  // the caller must close with CloseProcess. Throws PlatformFailure when
  // the process cannot start.
  virtual ProcessHandle LaunchHidden(const ChildStart& start) = 0;
  // Blocks until the process has ended, a message arrives in the thread's
  // queue, or the milliseconds have passed, whichever comes first; true once
  // the process has ended. Output of a captured child is drained meanwhile.
  // Throws PlatformFailure for a bad handle.
  virtual bool AwaitProcessOrMessage(ProcessHandle process, std::uint32_t milliseconds) = 0;
  // The exit code of an ended process (259 while it runs). Throws
  // PlatformFailure for a bad handle.
  virtual std::uint32_t GetExitCodeProcess(ProcessHandle process) = 0;
  virtual void CloseProcess(ProcessHandle process) = 0;

  // Milliseconds from a fixed point, not counting time the machine slept:
  // only differences mean anything.
  virtual std::uint64_t Milliseconds() = 0;

  // Dispatches every window message waiting in the thread's queue.
  virtual void PumpMessages() = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;

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
  virtual std::uint32_t GetShortPathName(const std::wstring& longPath, wchar_t* buffer,
                                         std::uint32_t bufferSize) = 0;
  // GetFullPathNameW, the same way: the path made absolute against the
  // current folder (of its drive), without checking that it exists.
  virtual std::uint32_t GetFullPathName(const std::wstring& path, wchar_t* buffer,
                                        std::uint32_t bufferSize) = 0;
  // GetLongPathNameW, the same way: the name each part of an existing path
  // has in its folder, where an 8.3 form was given.
  virtual std::uint32_t GetLongPathName(const std::wstring& shortPath, wchar_t* buffer,
                                        std::uint32_t bufferSize) = 0;
  // PathFileExistsW: 1 when a file or folder of that path exists.
  virtual int PathFileExists(const std::wstring& path) = 0;
  // PathIsDirectoryW: not 0 when a folder of that path exists.
  virtual int PathIsDirectory(const std::wstring& path) = 0;
  // SHFileOperationW: performs the copy or delete, sets the aborted flag and
  // returns the call's own result (0 on success).
  virtual int SHFileOperation(ShellFileOperation& operation) = 0;

  // Walks the tree at the path (the path itself included; a file is a tree
  // of one), following no link, at any path length. Throws PlatformFailure
  // when part of the tree cannot be read.
  virtual TreeSurvey SurveyTree(const std::wstring& path) = 0;
  // Every entry below the folder, a folder before what it holds; a link is
  // listed, never entered. Nothing for a path that is no folder. Throws
  // PlatformFailure when part of the tree cannot be read.
  virtual std::vector<TreeItem> ListTree(const std::wstring& folder) = 0;
  // Deletes the tree at the path, at any path length, read-only files too; a
  // link goes as a link, never what it leads to. Throws PlatformFailure
  // naming the first entry that could not be deleted.
  virtual void DeleteTree(const std::wstring& path) = 0;

  // Ends the process at once with that exit code; does not return.
  [[noreturn]] virtual void EndProcess(std::uint32_t exitCode) = 0;
};

// A started child's process, given back to the platform once.
using ProcessCloser = GiveBackTo<Platform, ProcessHandle, &Platform::CloseProcess>;
using ScopedProcess = UniqueHandle<ProcessHandle, ProcessCloser>;

}  // namespace vantrel
