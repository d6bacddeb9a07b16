#include "platform/platform-win32.h"

#include <shlwapi.h>
#include "platform/system_call_names.h"

#include <vector>

#include "base/text.h"
#include "base/security_descriptor-win32.h"
#include "base/system_entry-win32.h"
#include "base/system_error-win32.h"
#include "platform/inherited_handles-win32.h"

namespace vantrel {

namespace {

// The installer's declared path and shell calls, with the folder question
// beside them, bound on first use and kept for the life of the process: the
// rest of kernel32 is imported, shlwapi and shell32 load only when needed.
VANTREL_SYSTEM_ENTRY(getShortPathNameW, L"kernel32.dll", GetShortPathNameW);
VANTREL_SYSTEM_ENTRY(pathFileExistsW, L"shlwapi.dll", PathFileExistsW);
VANTREL_SYSTEM_ENTRY(pathIsDirectoryW, L"shlwapi.dll", PathIsDirectoryW);
VANTREL_SYSTEM_ENTRY(shFileOperationW, L"shell32.dll", SHFileOperationW);

// A protected access list (P: nothing inherited from the parent folder) that
// gives full control (FA) to SYSTEM (SY) and the Administrators group (BA)
// only, passed on to every file and folder inside (OICI).
const wchar_t kPrivateFolderSddl[] = L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";

const wchar_t kWindowClass[] = L"VantrelForm";

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

}  // namespace

void RestrictDllSearchToSystem() {
  // SetDefaultDllDirectories exists from Windows 8 (and Windows 7 with
  // KB2533623); look it up rather than import it, so older systems still
  // start and get the weaker protection below.
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
  const FARPROC proc =
      kernel32 != nullptr ? GetProcAddress(kernel32, "SetDefaultDllDirectories") : nullptr;
  if (proc != nullptr) {
    reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void (*)()>(proc))(
        LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
  // Takes the current folder out of the search order everywhere.
  SetDllDirectoryW(L"");
}

void SuppressSystemDialogs() {
  // Inherited by every child: a missing disk or a crash ends the call or the
  // process instead of waiting for a click nobody in session 0 can give.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
}

std::wstring Win32Platform::ArgumentText() {
  const wchar_t* p = GetCommandLineW();
  if (p == nullptr) return std::wstring();
  // The program's name ends at the closing quote when it is quoted, at the
  // first blank otherwise; quotes inside a file name cannot occur.
  if (*p == L'"') {
    ++p;
    while (*p != L'\0' && *p != L'"') ++p;
    if (*p == L'"') ++p;
  }
  while (*p != L'\0' && !IsBlank(*p)) ++p;
  while (IsBlank(*p)) ++p;
  return std::wstring(p);
}

std::wstring Win32Platform::EnvironmentEntry(int n) {
  const UniqueHandle<wchar_t*, ImportedCloser<::FreeEnvironmentStringsW>> block(
      GetEnvironmentStringsW());
  if (!block || n < 1) return std::wstring();
  const wchar_t* entry = block.get();
  for (int i = 1; *entry != L'\0'; ++i) {
    const std::size_t length = wcslen(entry);
    if (i == n) return std::wstring(entry, length);
    entry += length + 1;
  }
  return std::wstring();
}

std::wstring Win32Platform::ProgramFolder() {
  const std::wstring path = ProgramPath();
  const std::size_t slash = path.rfind(L'\\');
  if (slash == std::wstring::npos) return path;
  // A drive root keeps its separator: "C:" alone would mean the current
  // folder of drive C.
  if (slash == 2 && path[1] == L':') return path.substr(0, 3);
  return path.substr(0, slash);
}

bool Win32Platform::CreateHiddenWindow(const std::wstring& caption) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kWindowClass;
  RegisterClassExW(&windowClass);
  // No WS_VISIBLE and never shown: the form exists for the system's sake
  // (it can receive broadcasts while the queue is pumped), not the user's.
  window_.reset(CreateWindowExW(0, kWindowClass, caption.c_str(), WS_OVERLAPPEDWINDOW,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                nullptr, nullptr, instance, nullptr));
  return static_cast<bool>(window_);
}

ProcessHandle Win32Platform::LaunchHidden(const ChildStart& start) {
  // CreateProcessW may write into the command line, so it gets a copy.
  std::vector<wchar_t> text(start.commandLine.begin(), start.commandLine.end());
  text.push_back(L'\0');
  STARTUPINFOEXW startup = {};
  startup.StartupInfo.cb = sizeof startup;
  startup.StartupInfo.dwFlags = STARTF_USESHOWWINDOW;
  startup.StartupInfo.wShowWindow = SW_HIDE;
  // Suspended until it is in the job: a child that ran first could start
  // children of its own outside it.
  DWORD creation = CREATE_SUSPENDED;
  std::unique_ptr<ChildOutputPipe> output;
  InheritedHandles inherited;
  if (start.streams == ChildStreams::kCaptured) {
    output.reset(new ChildOutputPipe());
    startup.StartupInfo.dwFlags |= STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = output->ChildInput();
    startup.StartupInfo.hStdOutput = output->ChildOutput();
    startup.StartupInfo.hStdError = output->ChildOutput();
    // Its streams are the pipe: a console of its own, and the console host
    // process the system starts for one, would serve nothing, and nothing
    // it asked there could be answered.
    creation |= DETACHED_PROCESS;
    // Handle inheritance is all or nothing without a list: every inheritable
    // handle the program holds, those a deployment tool gave it included,
    // would reach the child beside its streams.
    inherited.Allow({output->ChildInput(), output->ChildOutput()});
    startup.lpAttributeList = inherited.List();
    creation |= EXTENDED_STARTUPINFO_PRESENT;
  }
  PROCESS_INFORMATION info = {};
  // A child whose streams are inherited gets no handle at all.
  if (!CreateProcessW(start.program.c_str(), text.data(), nullptr, nullptr,
                      output ? TRUE : FALSE, creation, nullptr,
                      start.folder.empty() ? nullptr : start.folder.c_str(), &startup.StartupInfo,
                      &info)) {
    throw SystemFailure("CreateProcessW");
  }
  UniqueKernelHandle process(info.hProcess);
  UniqueKernelHandle thread(info.hThread);
  if (output) output->CloseChildEnds();
  childJob_.Adopt(process.get());
  if (ResumeThread(thread.get()) == static_cast<DWORD>(-1)) {
    const PlatformFailure failure = SystemFailure("ResumeThread");
    // Never leave a child suspended for ever.
    TerminateProcess(process.get(), 1);
    throw failure;
  }
  const ProcessHandle handle = reinterpret_cast<ProcessHandle>(process.release());
  if (output) outputs_[handle] = std::move(output);
  return handle;
}

bool Win32Platform::AwaitProcessOrMessage(ProcessHandle process, std::uint32_t milliseconds) {
  ChildOutputPipe* output = CapturedOutput(process);
  const ULONGLONG deadline = GetTickCount64() + milliseconds;
  for (;;) {
    HANDLE handles[] = {AsHandle(process), output ? output->ReadEvent() : nullptr};
    const DWORD count = handles[1] != nullptr ? 2 : 1;
    const ULONGLONG now = GetTickCount64();
    const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
    // MWMO_INPUTAVAILABLE: messages already in the queue wake the wait too,
    // not just those that arrive during it.
    const DWORD woken =
        MsgWaitForMultipleObjectsEx(count, handles, left, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woken == WAIT_OBJECT_0) {
      if (output) output->DrainRemaining();
      return true;
    }
    if (count == 2 && woken == WAIT_OBJECT_0 + 1) {
      // Output arrived: take it and go on waiting out the pass.
      output->Collect();
      continue;
    }
    if (woken == WAIT_OBJECT_0 + count || woken == WAIT_TIMEOUT) return false;
    throw SystemFailure("MsgWaitForMultipleObjectsEx");
  }
}

std::uint32_t Win32Platform::GetExitCodeProcess(ProcessHandle process) {
  DWORD code = 0;
  if (!::GetExitCodeProcess(AsHandle(process), &code)) {
    throw SystemFailure("GetExitCodeProcess");
  }
  return code;
}

void Win32Platform::CloseProcess(ProcessHandle process) {
  outputs_.erase(process);
  UniqueKernelHandle owned(AsHandle(process));
}

ChildOutputPipe* Win32Platform::CapturedOutput(ProcessHandle process) {
  const auto captured = outputs_.find(process);
  return captured == outputs_.end() ? nullptr : captured->second.get();
}

void Win32Platform::PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void Win32Platform::CreatePrivateFolder(const std::wstring& path) {
  // Missing parents are made as the system would make them; only the work
  // folder itself gets the private access list.
  const std::size_t root = path.size() >= 3 && path[1] == L':' ? 3 : 0;
  for (std::size_t slash = path.find(L'\\', root); root != 0 && slash != std::wstring::npos;
       slash = path.find(L'\\', slash + 1)) {
    CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
  }

  SecurityFromSddl security(kPrivateFolderSddl);
  if (!CreateDirectoryW(path.c_str(), security.Attributes()))
    throw SystemFailure("CreateDirectoryW");
}

std::wstring Win32Platform::FirstMatch(const std::wstring& pattern) {
  const std::wstring namePattern = FileNameOf(pattern);
  WIN32_FIND_DATAW found = {};
  UniqueFindHandle search(FindFirstFileW(pattern.c_str(), &found));
  if (!search) return std::wstring();
  do {
    const DWORD skip = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    // The system also matches a pattern against 8.3 names, so "*.inf" would
    // find "readme.information" (short name README~1.INF); only the real
    // name counts.
    if ((found.dwFileAttributes & skip) == 0 && WildcardMatch(namePattern, found.cFileName)) {
      return found.cFileName;
    }
  } while (FindNextFileW(search.get(), &found));
  return std::wstring();
}

std::uint32_t Win32Platform::GetShortPathName(const std::wstring& longPath, wchar_t* buffer,
                                              std::uint32_t bufferSize) {
  return getShortPathNameW.get()(longPath.c_str(), buffer, bufferSize);
}

std::uint64_t Win32Platform::Milliseconds() {
  // In units of 100 ns, without the time the machine slept or hibernated: a
  // laptop that sleeps mid-install must not find its installer over its
  // bound on waking.
  ULONGLONG awake = 0;
  if (!QueryUnbiasedInterruptTime(&awake)) throw SystemFailure("QueryUnbiasedInterruptTime");
  return awake / 10000;
}

int Win32Platform::PathFileExists(const std::wstring& path) {
  return pathFileExistsW.get()(path.c_str());
}

int Win32Platform::PathIsDirectory(const std::wstring& path) {
  return static_cast<int>(pathIsDirectoryW.get()(path.c_str()));
}

int Win32Platform::SHFileOperation(ShellFileOperation& operation) {
  SHFILEOPSTRUCTW record = {};
  record.wFunc = operation.wFunc;
  record.pFrom = operation.pFrom.c_str();
  record.pTo = operation.pTo.empty() ? nullptr : operation.pTo.c_str();
  record.fFlags = static_cast<FILEOP_FLAGS>(operation.fFlags);
  const int result = shFileOperationW.get()(&record);
  operation.fAnyOperationsAborted = record.fAnyOperationsAborted != FALSE;
  return result;
}

}  // namespace vantrel
