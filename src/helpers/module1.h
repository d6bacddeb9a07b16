// Small wrappers of the system's path and shell file services. They keep no
// state and handle no failures: a PlatformFailure raised inside one reaches the
// statement that called it.
#pragma once

#include <string>

#include "platform/platform.h"

namespace vantrel {

// The short (8.3) form of an existing path, or the empty text when the system
// gives none (always so for a path that does not exist).
std::wstring ShortPath(Platform& platform, const std::wstring& path);

// The short form where the system gives one, else the path as it stands (8.3
// names turned off, a folder that can be passed through but not listed).
std::wstring ShortFormOrPath(Platform& platform, const std::wstring& path);

// The path made absolute against the current folder (of its drive), as the
// system resolves it; the empty text when the system gives none.
std::wstring FullPath(Platform& platform, const std::wstring& path);

// The long form of an existing path (each part as its folder names it, where
// an 8.3 form was given), or the empty text when the system gives none.
std::wstring LongPath(Platform& platform, const std::wstring& path);

// True when the path names an existing file or folder.
bool FileExists(Platform& platform, const std::wstring& path);

// What the shell answered to a copy or delete, for the record of a run.
struct ShellOutcome {
  bool called = false;
  int result = 0;
  bool aborted = false;
};
std::wstring DescribeShellOutcome(const ShellOutcome& outcome);

// Shell copy of one file, or of a wildcard set, into a folder: existing files
// are overwritten and a missing folder is made, without asking.
bool CopyFiles(Platform& platform, const std::wstring& source,
               const std::wstring& destination, ShellOutcome* outcome = nullptr);

// Silent, permanent shell delete of a file or of a folder with everything in
// it. False, with nothing called, when the path does not exist. A tree that
// holds a link or a path too long for the shell, and whatever the shell
// leaves behind, is deleted without the shell, links as links: true once the
// path is gone.
bool DeleteFolder(Platform& platform, const std::wstring& path,
                  ShellOutcome* outcome = nullptr);

}  // namespace vantrel
