#include "memory_platform.h"

#include <algorithm>

#include "base/text.h"


namespace vantrel {

MemoryPlatform::Child& MemoryPlatform::ChildOf(ProcessHandle process) {
  if (process == 0 || process > children_.size() || children_[process - 1].closed) {
    throw PlatformFailure("no such process");
  }
  return children_[process - 1];
}

std::wstring MemoryPlatform::ArgumentText() {
  Record(L"ArgumentText");
  FailIfTold("ArgumentText");
  return argumentText;
}

std::wstring MemoryPlatform::EnvironmentEntry(int n) {
  Record(L"EnvironmentEntry " + std::to_wstring(n));
  FailIfTold("EnvironmentEntry");
  if (n < 1 || static_cast<std::size_t>(n) > environment.size()) return std::wstring();
  return environment[n - 1];
}

std::wstring MemoryPlatform::ProgramFolder() {
  Record(L"ProgramFolder");
  FailIfTold("ProgramFolder");
  return programFolder;
}

std::wstring MemoryPlatform::SystemFolder() {
  Record(L"SystemFolder");
  FailIfTold("SystemFolder");
  return systemFolder;
}

std::wstring MemoryPlatform::WindowsFolder() {
  Record(L"WindowsFolder");
  FailIfTold("WindowsFolder");
  return windowsFolder;
}

bool MemoryPlatform::CreateHiddenWindow(const std::wstring& caption) {
  Record(L"CreateHiddenWindow " + Quoted(caption));
  FailIfTold("CreateHiddenWindow");
  return windowCanBeCreated;
}

ProcessHandle MemoryPlatform::LaunchHidden(const ChildStart& start) {
  Record(L"LaunchHidden " + Quoted(start.commandLine) +
         (start.folder.empty() ? L"" : L" in " + Quoted(start.folder)));
  launched.push_back(start.commandLine);
  launchedPrograms.push_back(start.program);
  const ChildScript script = childFor ? childFor(start.commandLine) : ChildScript();
  if (!script.starts) throw PlatformFailure("cannot start");
  children_.push_back(Child{script, start.streams, 0, false, false, {}});
  return children_.size();
}

bool MemoryPlatform::AwaitProcessOrMessage(ProcessHandle process, std::uint32_t milliseconds) {
  Record(L"AwaitProcessOrMessage " + std::to_wstring(process) + L" " +
         std::to_wstring(milliseconds));
  Child& child = ChildOf(process);
  const bool ended = child.polls++ >= child.script.runningPolls;
  if (!ended) clock += milliseconds;
  return ended;
}

std::wstring MemoryPlatform::TakeChildOutput(ProcessHandle process) {
  Child& child = ChildOf(process);
  if (child.streams != ChildStreams::kCaptured || child.outputTaken) return std::wstring();
  child.outputTaken = true;
  return child.script.output;
}

std::vector<ChildDialog> MemoryPlatform::OpenDialogsOfChild(ProcessHandle process) {
  FailIfTold("OpenDialogsOfChild");
  Child& child = ChildOf(process);
  std::vector<ChildDialog> open;
  if (child.polls > child.script.runningPolls) return open;
  for (const ScriptedDialog& scripted : child.script.dialogs) {
    int since = child.polls - scripted.opensAtPoll;
    if (scripted.everyPolls > 0 && since >= 0) since %= scripted.everyPolls;
    if (since >= 0 && (scripted.openPolls == 0 || since < scripted.openPolls) &&
        !(scripted.endsChildWhenDeclined && child.declined.count(scripted.dialog.window))) {
      open.push_back(scripted.dialog);
    }
  }
  return open;
}

void MemoryPlatform::DeclineDialog(DialogHandle dialog) {
  Record(L"DeclineDialog " + std::to_wstring(dialog) + L" at " + std::to_wstring(clock));
  FailIfTold("DeclineDialog");
  for (Child& child : children_) {
    if (child.closed || child.polls > child.script.runningPolls) continue;
    for (const ScriptedDialog& scripted : child.script.dialogs) {
      if (scripted.dialog.window != dialog) continue;
      child.declined.insert(dialog);
      // The child gives up and ends with 0, as rundll32 does whatever its
      // entry did.
      if (scripted.endsChildWhenDeclined) child.script.runningPolls = child.polls;
    }
  }
}

void MemoryPlatform::EndChildJob(ProcessHandle process) {
  Record(L"EndChildJob " + std::to_wstring(process) + L" at " + std::to_wstring(clock));
  FailIfTold("EndChildJob");
  Child& child = ChildOf(process);
  child.script.runningPolls = child.polls;
  child.script.exitCode = 1223;
}

bool MemoryPlatform::RunsUnattended() {
  Record(L"RunsUnattended");
  FailIfTold("RunsUnattended");
  return unattended;
}

std::uint64_t MemoryPlatform::Milliseconds() { return clock; }

std::uint32_t MemoryPlatform::GetExitCodeProcess(ProcessHandle process) {
  Record(L"GetExitCodeProcess " + std::to_wstring(process));
  Child& child = ChildOf(process);
  return child.polls > child.script.runningPolls ? child.script.exitCode : 259;
}

void MemoryPlatform::CloseProcess(ProcessHandle process) {
  Record(L"CloseProcess " + std::to_wstring(process));
  ChildOf(process).closed = true;
}

void MemoryPlatform::PumpMessages() { Record(L"PumpMessages"); }

void MemoryPlatform::Sleep(std::uint32_t milliseconds) {
  Record(L"Sleep " + std::to_wstring(milliseconds));
  clock += milliseconds;
}

void MemoryPlatform::CreatePrivateFolder(const std::wstring& path) {
  Record(L"CreatePrivateFolder " + Quoted(path));
  FailIfTold("CreatePrivateFolder");
  if (!existingPaths.insert(path).second) throw PlatformFailure("exists", 183);
}

std::wstring MemoryPlatform::FirstMatch(const std::wstring& pattern) {
  Record(L"FirstMatch " + Quoted(pattern));
  FailIfTold("FirstMatch");
  const auto found = firstMatches.find(pattern);
  return found == firstMatches.end() ? std::wstring() : found->second;
}

namespace {
// The system's way of answering a path call: the text, or the size needed.
std::uint32_t AnswerPath(const std::wstring& text, wchar_t* buffer, std::uint32_t bufferSize) {
  if (text.size() + 1 > bufferSize) return static_cast<std::uint32_t>(text.size() + 1);
  std::copy(text.begin(), text.end(), buffer);
  buffer[text.size()] = L'\0';
  return static_cast<std::uint32_t>(text.size());
}
}  // namespace

std::uint32_t MemoryPlatform::GetShortPathName(const std::wstring& longPath, wchar_t* buffer,
                                               std::uint32_t bufferSize) {
  Record(L"GetShortPathName " + Quoted(longPath) + L" " + std::to_wstring(bufferSize));
  FailIfTold("GetShortPathName");
  const auto found = shortPaths.find(longPath);
  return found == shortPaths.end() ? 0 : AnswerPath(found->second, buffer, bufferSize);
}

std::uint32_t MemoryPlatform::GetFullPathName(const std::wstring& path, wchar_t* buffer,
                                              std::uint32_t bufferSize) {
  Record(L"GetFullPathName " + Quoted(path));
  FailIfTold("GetFullPathName");
  if (path.empty()) return 0;
  return AnswerPath(IsAbsolutePath(path) ? path : currentFolder + L"\\" + path, buffer,
                    bufferSize);
}

// An existing path is its own long form unless told otherwise.
std::uint32_t MemoryPlatform::GetLongPathName(const std::wstring& shortPath, wchar_t* buffer,
                                              std::uint32_t bufferSize) {
  Record(L"GetLongPathName " + Quoted(shortPath));
  FailIfTold("GetLongPathName");
  const auto found = longPaths.find(shortPath);
  if (found != longPaths.end()) return AnswerPath(found->second, buffer, bufferSize);
  return existingPaths.count(shortPath) != 0 ? AnswerPath(shortPath, buffer, bufferSize) : 0;
}

int MemoryPlatform::PathFileExists(const std::wstring& path) {
  Record(L"PathFileExists " + Quoted(path));
  FailIfTold("PathFileExists");
  return existingPaths.count(path) != 0 ? 1 : 0;
}

int MemoryPlatform::PathIsDirectory(const std::wstring& path) {
  Record(L"PathIsDirectory " + Quoted(path));
  return folders.count(path) != 0 ? 16 : 0;
}

int MemoryPlatform::SHFileOperation(ShellFileOperation& operation) {
  Record(L"SHFileOperation " + std::to_wstring(operation.wFunc) + L" " +
         Quoted(operation.pFrom) + L" " + Quoted(operation.pTo));
  FailIfTold("SHFileOperation");
  operation.fAnyOperationsAborted = shellAborts;
  shellOperations.push_back(operation);
  const std::wstring path = operation.pFrom.substr(0, operation.pFrom.find(L'\0'));
  if (operation.wFunc == kShellDelete && shellResult == 0 && !shellAborts) {
    if (undeletable.count(path) == 0) existingPaths.erase(path);
  }
  // A file copied into a folder is there under its own name.
  if (operation.wFunc == kShellCopy && shellResult == 0 && !shellAborts &&
      path.find(L'*') == std::wstring::npos) {
    existingPaths.insert(operation.pTo.substr(0, operation.pTo.find(L'\0')) +
                         path.substr(path.rfind(L'\\')));
  }
  return shellResult;
}

namespace {
bool InTree(const std::wstring& path, const std::wstring& tree) {
  return path == tree || path.compare(0, tree.size() + 1, tree + L"\\") == 0;
}
}  // namespace

TreeSurvey MemoryPlatform::SurveyTree(const std::wstring& path) {
  Record(L"SurveyTree " + Quoted(path));
  FailIfTold("SurveyTree");
  TreeSurvey survey;
  for (const FolderLink& link : links) {
    if (survey.link.path.empty() && InTree(link.path, path)) survey.link = link;
  }
  for (const std::wstring& existing : existingPaths) {
    if (survey.pathBeyondShell.empty() && InTree(existing, path) && existing.size() > kLongestShellPath) {
      survey.pathBeyondShell = existing;
    }
  }
  return survey;
}

std::vector<TreeItem> MemoryPlatform::ListTree(const std::wstring& folder) {
  Record(L"ListTree " + Quoted(folder));
  FailIfTold("ListTree");
  return trees[folder];
}

// Takes away what is in the tree; a held path stops it, and the tree stays
// whole.
void MemoryPlatform::DeleteTree(const std::wstring& path) {
  Record(L"DeleteTree " + Quoted(path));
  FailIfTold("DeleteTree");
  for (const std::wstring& held : undeletable) {
    if (InTree(held, path)) throw PlatformFailure("DeleteFileW: in use by another process (32)", 32);
  }
  for (auto entry = existingPaths.begin(); entry != existingPaths.end();) {
    entry = InTree(*entry, path) ? existingPaths.erase(entry) : std::next(entry);
  }
}

void MemoryPlatform::EndProcess(std::uint32_t exitCode) {
  Record(L"EndProcess " + std::to_wstring(exitCode));
  throw ProcessEnded{exitCode};
}

}  // namespace vantrel
