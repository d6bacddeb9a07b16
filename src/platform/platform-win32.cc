#include "platform/platform-win32.h"

#include <memory>
#include <vector>

#include "helpers/text.h"
#include "platform/system_entry-win32.h"
#include "platform/unique_handle-win32.h"

namespace vantrel {

namespace {

using GetShortPathNameWFn = DWORD(WINAPI*)(LPCWSTR, LPWSTR, DWORD);
using PathFileExistsWFn = BOOL(WINAPI*)(LPCWSTR);
using SHFileOperationWFn = int(WINAPI*)(LPSHFILEOPSTRUCTW);

// Bound on first use, kept for the life of the process.
SystemEntry<GetShortPathNameWFn> getShortPathNameW(L"kernel32.dll", "GetShortPathNameW");
SystemEntry<PathFileExistsWFn> pathFileExistsW(L"shlwapi.dll", "PathFileExistsW");
SystemEntry<SHFileOperationWFn> shFileOperationW(L"shell32.dll", "SHFileOperationW");

const wchar_t kWindowClass[] = L"VantrelForm";

HANDLE AsHandle(std::uintptr_t value) { return reinterpret_cast<HANDLE>(value); }

struct EnvironmentBlockDeleter {
  void operator()(wchar_t* block) const { FreeEnvironmentStringsW(block); }
};

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

}  // namespace

void RestrictDllSearchToSystem() {
  // SetDefaultDllDirectories exists from Windows 8 (and Windows 7 with
  // KB2533623); look it up rather than import it, so older systems still
  // start and get the weaker protection below.
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
  if (kernel32 != nullptr) {
    FARPROC proc = GetProcAddress(kernel32, "SetDefaultDllDirectories");
    if (proc != nullptr) {
      reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void (*)()>(proc))(
          LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
  }
  // Takes the current folder out of the search order everywhere.
  SetDllDirectoryW(L"");
}

Win32Platform::Win32Platform() = default;

Win32Platform::~Win32Platform() {
  if (window_ != nullptr) DestroyWindow(window_);
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
  std::unique_ptr<wchar_t, EnvironmentBlockDeleter> block(GetEnvironmentStringsW());
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
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) throw PlatformFailure("GetModuleFileNameW failed");
    if (n < buffer.size()) {
      std::wstring path(buffer.data(), n);
      const std::size_t slash = path.rfind(L'\\');
      if (slash == std::wstring::npos) return path;
      // A drive root keeps its separator: "C:" alone would mean the current
      // folder of drive C.
      if (slash == 2 && path[1] == L':') return path.substr(0, 3);
      return path.substr(0, slash);
    }
    if (buffer.size() >= 32768) throw PlatformFailure("program path too long");
    buffer.resize(buffer.size() * 2);
  }
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
  window_ = CreateWindowExW(0, kWindowClass, caption.c_str(), WS_OVERLAPPEDWINDOW,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                            nullptr, nullptr, instance, nullptr);
  return window_ != nullptr;
}

ProcessHandle Win32Platform::LaunchHidden(const std::wstring& commandLine) {
  // CreateProcessW may write into the command line, so it gets a copy.
  std::vector<wchar_t> text(commandLine.begin(), commandLine.end());
  text.push_back(L'\0');
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(nullptr, text.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    throw PlatformFailure("CreateProcessW failed");
  }
  UniqueKernelHandle thread(info.hThread);
  return reinterpret_cast<ProcessHandle>(info.hProcess);
}

bool Win32Platform::IsProcessRunning(ProcessHandle process) {
  switch (WaitForSingleObject(AsHandle(process), 0)) {
    case WAIT_TIMEOUT:
      return true;
    case WAIT_OBJECT_0:
      return false;
    default:
      throw PlatformFailure("cannot wait on process");
  }
}

std::uint32_t Win32Platform::GetExitCodeProcess(ProcessHandle process) {
  DWORD code = 0;
  if (!::GetExitCodeProcess(AsHandle(process), &code)) {
    throw PlatformFailure("GetExitCodeProcess failed");
  }
  return code;
}

void Win32Platform::CloseProcess(ProcessHandle process) {
  UniqueKernelHandle owned(AsHandle(process));
}

void Win32Platform::PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void Win32Platform::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

MutexHandle Win32Platform::AcquireNamedMutex(const std::wstring& name) {
  UniqueKernelHandle mutex(CreateMutexW(nullptr, FALSE, name.c_str()));
  if (!mutex) throw PlatformFailure("CreateMutexW failed");
  // Keeps the queue serviced while another run holds the mutex, so that a
  // broadcast sent to every top-level window does not hang on this one.
  for (;;) {
    HANDLE handles[] = {mutex.get()};
    const DWORD result = MsgWaitForMultipleObjects(1, handles, FALSE, INFINITE, QS_ALLINPUT);
    if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED_0) {
      // An abandoned mutex means the earlier run died mid-install; its
      // leftovers are cleared by the caller, so owning it is enough.
      return reinterpret_cast<MutexHandle>(mutex.release());
    }
    if (result != WAIT_OBJECT_0 + 1) throw PlatformFailure("cannot wait on mutex");
    PumpMessages();
  }
}

void Win32Platform::ReleaseNamedMutex(MutexHandle mutex) {
  UniqueKernelHandle owned(AsHandle(mutex));
  ReleaseMutex(owned.get());
}

std::wstring Win32Platform::FirstMatch(const std::wstring& pattern) {
  const std::size_t slash = pattern.rfind(L'\\');
  const std::wstring namePattern = slash == std::wstring::npos ? pattern : pattern.substr(slash + 1);
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

int Win32Platform::PathFileExists(const std::wstring& path) {
  return pathFileExistsW.get()(path.c_str());
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

void Win32Platform::EndProcess(std::uint32_t exitCode) { ExitProcess(exitCode); }

}  // namespace vantrel
