// The platform on Windows: every service is the system's own.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "platform/system_call_names.h"

#include <map>
#include <memory>
#include <string>

#include "base/unique_handle-win32.h"
#include "platform/child_job-win32.h"
#include "base/system_folders-win32.h"
#include "platform/child_output-win32.h"
#include "platform/folder_tree-win32.h"
#include "platform/platform.h"

namespace vantrel {

// The system's handle behind the platform's opaque one.
inline HANDLE AsHandle(ProcessHandle process) { return reinterpret_cast<HANDLE>(process); }

// Before anything else loads a library: DLLs come from the system folder
// only, never from the program's folder or the current folder, so an
// installer started from a downloads folder cannot pick up a planted DLL.
void RestrictDllSearchToSystem();
// No system error box (missing disk, crash) for the program or its children.
void SuppressSystemDialogs();

class Win32Platform : public Platform {
 public:
  std::wstring ArgumentText() override;
  std::wstring EnvironmentEntry(int n) override;
  std::wstring ProgramFolder() override;
  std::wstring SystemFolder() override { return SystemDirectory(); }
  std::wstring WindowsFolder() override { return WindowsDirectory(); }
  bool CreateHiddenWindow(const std::wstring& caption) override;
  ProcessHandle LaunchHidden(const ChildStart& start) override;
  bool AwaitProcessOrMessage(ProcessHandle process, std::uint32_t milliseconds) override;
  std::uint64_t Milliseconds() override;
  std::uint32_t GetExitCodeProcess(ProcessHandle process) override;
  void CloseProcess(ProcessHandle process) override;
  void PumpMessages() override;
  void Sleep(std::uint32_t milliseconds) override { ::Sleep(milliseconds); }
  void CreatePrivateFolder(const std::wstring& path) override;
  std::wstring FirstMatch(const std::wstring& pattern) override;
  std::uint32_t GetShortPathName(const std::wstring& longPath, wchar_t* buffer,
                                 std::uint32_t bufferSize) override;
  std::uint32_t GetLongPathName(const std::wstring& shortPath, wchar_t* buffer,
                                std::uint32_t bufferSize) override {
    return ::GetLongPathNameW(shortPath.c_str(), buffer, bufferSize);
  }
  std::uint32_t GetFullPathName(const std::wstring& path, wchar_t* buffer,
                                std::uint32_t bufferSize) override {
    return ::GetFullPathNameW(path.c_str(), bufferSize, buffer, nullptr);
  }
  int PathFileExists(const std::wstring& path) override;
  int PathIsDirectory(const std::wstring& path) override;
  int SHFileOperation(ShellFileOperation& operation) override;
  TreeSurvey SurveyTree(const std::wstring& path) override { return SurveyTreeAt(path); }
  std::vector<TreeItem> ListTree(const std::wstring& folder) override { return ListTreeAt(folder); }
  void DeleteTree(const std::wstring& path) override { DeleteWholeTree(path); }
  [[noreturn]] void EndProcess(std::uint32_t exitCode) override { ExitProcess(exitCode); }

  // What the child watch reads of the children this platform started: the
  // output pipe of a captured child (null for any other) and their job.
  ChildOutputPipe* CapturedOutput(ProcessHandle process);
  ChildJob& Job() { return childJob_; }

 private:
  ChildJob childJob_;
  // The output pipes of the captured children, until their handles close.
  std::map<ProcessHandle, std::unique_ptr<ChildOutputPipe>> outputs_;
  // Last, so that it goes first, before the children's job and pipes.
  UniqueHandle<HWND, ImportedCloser<::DestroyWindow>> window_;
};

}  // namespace vantrel
