#include "memory_platform.h"

#include <algorithm>

#include "form/vantrel.h"
#include "inf_text.h"

namespace vantrel {

const std::wstring kWorkFolder = L"C:\\WINDOWS\\Temp\\Vantrel";

MemoryPlatform ReadyToInstall() {
  MemoryPlatform platform;
  platform.environment = {L"SystemDrive=C:", L"SystemRoot=C:\\WINDOWS"};
  platform.argumentText = L"\"C:\\Package Store\\driver.7z\"";
  platform.shortPaths[L"C:\\Package Store\\driver.7z"] = L"C:\\PACKAG~1\\driver.7z";
  platform.shortPaths[L"C:\\Program Files\\Vantrel"] = L"C:\\PROGRA~1\\Vantrel";
  platform.existingPaths = {L"C:\\PACKAG~1\\driver.7z", kWorkFolder + L"\\driver.inf"};
  platform.firstMatches[kWorkFolder + L"\\*.inf"] = L"driver.inf";
  platform.infTexts[kWorkFolder + L"\\driver.inf"] = L"[Version]\n[DefaultInstall]\nAddReg=R\n";
  return platform;
}

std::wstring Quoted(const std::wstring& text) {
  std::wstring shown;
  for (wchar_t c : text) {
    if (c == L'\0')
      shown += L"\\0";
    else
      shown += c;
  }
  return L"[" + shown + L"]";
}

std::uint32_t MemoryPlatform::RunProgram() {
  Vantrel form(*this);
  try {
    form.Load();
  } catch (const ProcessEnded& ended) {
    return ended.exitCode;
  }
  throw std::logic_error("Load returned without ending the process");
}

std::vector<std::wstring> MemoryPlatform::CallsStartingWith(const std::wstring& prefix) const {
  std::vector<std::wstring> found;
  for (const auto& call : calls) {
    if (call.compare(0, prefix.size(), prefix) == 0) found.push_back(call);
  }
  return found;
}

std::size_t MemoryPlatform::IndexOfCall(const std::wstring& call) const {
  return static_cast<std::size_t>(std::find(calls.begin(), calls.end(), call) - calls.begin());
}

void MemoryPlatform::Record(const std::wstring& call) { calls.push_back(call); }

void MemoryPlatform::FailIfTold(const char* operation) {
  if (failing.count(operation) != 0) throw PlatformFailure(operation);
}

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

ProcessHandle MemoryPlatform::LaunchHidden(const std::wstring& program,
                                           const std::wstring& commandLine,
                                           ChildStreams streams) {
  Record(L"LaunchHidden " + Quoted(commandLine));
  launched.push_back(commandLine);
  launchedPrograms.push_back(program);
  const ChildScript script = childFor ? childFor(commandLine) : ChildScript();
  if (!script.starts) throw PlatformFailure("cannot start");
  children_.push_back(Child{script, streams, 0, false, false, {}});
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
    if (child.polls >= scripted.opensAtPoll &&
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
  Child& child = ChildOf(process);
  child.script.runningPolls = child.polls;
  child.script.exitCode = 1223;
}

bool MemoryPlatform::RunsUnattended() {
  Record(L"RunsUnattended");
  FailIfTold("RunsUnattended");
  return unattended;
}

bool MemoryPlatform::RunsUnderWow64() {
  Record(L"RunsUnderWow64");
  return wow64;
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

MutexHandle MemoryPlatform::AcquireNamedMutex(const std::wstring& name) {
  Record(L"AcquireNamedMutex " + Quoted(name));
  FailIfTold("AcquireNamedMutex");
  ++mutexesHeld_;
  return 77;
}

void MemoryPlatform::ReleaseNamedMutex(MutexHandle mutex) {
  Record(L"ReleaseNamedMutex " + std::to_wstring(mutex));
  if (mutex != 77 || mutexesHeld_ == 0) throw std::logic_error("mutex released twice");
  --mutexesHeld_;
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

std::uint32_t MemoryPlatform::GetShortPathName(const std::wstring& longPath, wchar_t* buffer,
                                               std::uint32_t bufferSize) {
  Record(L"GetShortPathName " + Quoted(longPath) + L" " + std::to_wstring(bufferSize));
  FailIfTold("GetShortPathName");
  const auto found = shortPaths.find(longPath);
  if (found == shortPaths.end()) return 0;
  const std::wstring& shortForm = found->second;
  if (shortForm.size() + 1 > bufferSize) return static_cast<std::uint32_t>(shortForm.size() + 1);
  std::copy(shortForm.begin(), shortForm.end(), buffer);
  buffer[shortForm.size()] = L'\0';
  return static_cast<std::uint32_t>(shortForm.size());
}

int MemoryPlatform::PathFileExists(const std::wstring& path) {
  Record(L"PathFileExists " + Quoted(path));
  FailIfTold("PathFileExists");
  return existingPaths.count(path) != 0 ? 1 : 0;
}

int MemoryPlatform::SHFileOperation(ShellFileOperation& operation) {
  Record(L"SHFileOperation " + std::to_wstring(operation.wFunc) + L" " +
         Quoted(operation.pFrom) + L" " + Quoted(operation.pTo));
  FailIfTold("SHFileOperation");
  operation.fAnyOperationsAborted = shellAborts;
  shellOperations.push_back(operation);
  if (operation.wFunc == kShellDelete && shellResult == 0 && !shellAborts) {
    const std::wstring path = operation.pFrom.substr(0, operation.pFrom.find(L'\0'));
    if (undeletable.count(path) == 0) existingPaths.erase(path);
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

std::unique_ptr<InfSource> MemoryPlatform::OpenInf(const std::wstring& path) {
  Record(L"OpenInf " + Quoted(path));
  FailIfTold("OpenInf");
  const auto found = infTexts.find(path);
  if (found == infTexts.end()) throw PlatformFailure("SetupOpenInfFileW: cannot open", 2);
  return std::unique_ptr<InfSource>(new InfText(found->second));
}

InfArchitecture MemoryPlatform::InstallerArchitecture() { return architecture; }

std::vector<CopiedFile> MemoryPlatform::FilesOfSection(const std::wstring& infPath,
                                                       const std::wstring& section) {
  Record(L"FilesOfSection " + Quoted(infPath) + L" " + Quoted(section));
  FailIfTold("FilesOfSection");
  const auto found = sectionFiles.find(section);
  return found == sectionFiles.end() ? std::vector<CopiedFile>() : found->second;
}

bool MemoryPlatform::ServiceExists(const std::wstring& name) {
  Record(L"ServiceExists " + Quoted(name));
  FailIfTold("ServiceExists");
  return services.count(name) != 0;
}

bool MemoryPlatform::RegistryEntryExists(const RegistryEntry& entry) {
  Record(L"RegistryEntryExists " + Quoted(RegistryEntryName(entry)));
  FailIfTold("RegistryEntryExists");
  return registryEntries.count(RegistryEntryName(entry)) != 0;
}

std::vector<RestartRename> MemoryPlatform::PendingRestartRenames() {
  Record(L"PendingRestartRenames");
  FailIfTold("PendingRestartRenames");
  return pendingRenames;
}

void MemoryPlatform::WriteRunEvent(bool failure, std::uint32_t eventId,
                                   const std::vector<std::wstring>& lines) {
  Record(L"WriteRunEvent " + std::wstring(failure ? L"error " : L"information ") +
         std::to_wstring(eventId));
  FailIfTold("WriteRunEvent");
  events.push_back(lines);
}

void MemoryPlatform::EndProcess(std::uint32_t exitCode) {
  Record(L"EndProcess " + std::to_wstring(exitCode));
  throw ProcessEnded{exitCode};
}

}  // namespace vantrel
