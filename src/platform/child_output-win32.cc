#include "platform/child_output-win32.h"

#include <cstdio>

#include "base/system_error-win32.h"

namespace vantrel {

namespace {
// What the pipe holds before a writing child has to wait for the program.
constexpr DWORD kPipeBuffer = 64 * 1024;
// A line that never ends (progress redrawn with backspaces) is cut to its
// last part rather than kept whole.
constexpr std::size_t kLongestLine = 64 * 1024;
constexpr std::size_t kLineKept = 4 * 1024;
// How long the end of the output may take after the child has ended.
constexpr DWORD kDrainMilliseconds = 500;

std::wstring UniquePipeName() {
  static unsigned counter = 0;
  wchar_t name[96];
  std::swprintf(name, sizeof name / sizeof name[0], L"\\\\.\\pipe\\Vantrel.%lu.%lu.%u",
                static_cast<unsigned long>(GetCurrentProcessId()),
                static_cast<unsigned long>(GetTickCount()), ++counter);
  return name;
}
}  // namespace

ChildOutputPipe::ChildOutputPipe() {
  const std::wstring name = UniquePipeName();
  // First instance only, one instance, local clients only: nobody else can
  // have made it first or connect to it.
  read_.reset(CreateNamedPipeW(name.c_str(),
                               PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED |
                                   FILE_FLAG_FIRST_PIPE_INSTANCE,
                               PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT |
                                   PIPE_REJECT_REMOTE_CLIENTS,
                               1, 0, kPipeBuffer, 0, nullptr));
  if (!read_) throw SystemFailure("CreateNamedPipeW");
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
  write_.reset(CreateFileW(name.c_str(), GENERIC_WRITE, 0, &inheritable, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!write_) throw SystemFailure("CreateFileW (output pipe)");
  nul_.reset(CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!nul_) throw SystemFailure("CreateFileW (NUL)");
  event_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!event_) throw SystemFailure("CreateEventW");
  StartRead();
}

ChildOutputPipe::~ChildOutputPipe() { CancelRead(); }

void ChildOutputPipe::CancelRead() {
  // The system writes into buffer_ until the read is cancelled.
  if (!pending_) return;
  DWORD ignored = 0;
  CancelIo(read_.get());
  GetOverlappedResult(read_.get(), &overlapped_, &ignored, TRUE);
  pending_ = false;
}

void ChildOutputPipe::CloseChildEnds() {
  write_.reset();
  nul_.reset();
}

void ChildOutputPipe::StartRead() {
  while (!broken_) {
    overlapped_ = OVERLAPPED{};
    overlapped_.hEvent = event_.get();
    ResetEvent(event_.get());
    DWORD got = 0;
    if (ReadFile(read_.get(), buffer_, sizeof buffer_, &got, &overlapped_)) {
      // Done at once; the event is set too, but the bytes are here already.
      received_.append(buffer_, got);
      continue;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_IO_PENDING) {
      pending_ = true;
      return;
    }
    // ERROR_BROKEN_PIPE: every writer has gone. Anything else ends the
    // reading as well; the install does not depend on it.
    broken_ = true;
  }
}

void ChildOutputPipe::Collect() {
  if (!pending_) return;
  DWORD got = 0;
  if (GetOverlappedResult(read_.get(), &overlapped_, &got, FALSE)) {
    pending_ = false;
    received_.append(buffer_, got);
    StartRead();
  } else if (GetLastError() != ERROR_IO_INCOMPLETE) {
    pending_ = false;
    broken_ = true;
  }
  if (received_.size() > kLongestLine && received_.find('\n') == std::string::npos) {
    received_.erase(0, received_.size() - kLineKept);
  }
}

void ChildOutputPipe::DrainRemaining() {
  const ULONGLONG deadline = GetTickCount64() + kDrainMilliseconds;
  while (pending_) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline ||
        WaitForSingleObject(event_.get(), static_cast<DWORD>(deadline - now)) != WAIT_OBJECT_0) {
      // Something the child started still holds the pipe and says nothing.
      CancelRead();
      return;
    }
    Collect();
  }
}

std::wstring ChildOutputPipe::TakeLines(bool everything) {
  const std::size_t end = everything ? received_.size() : received_.rfind('\n') + 1;
  if (end == 0) return std::wstring();
  // A console program writes in the OEM code page when its output is not a
  // console; no character of it takes less than one byte.
  std::wstring text(end, L'\0');
  const int size = MultiByteToWideChar(CP_OEMCP, 0, received_.data(), static_cast<int>(end),
                                       &text[0], static_cast<int>(end));
  received_.erase(0, end);
  text.resize(static_cast<std::size_t>(size > 0 ? size : 0));
  return text;
}

}  // namespace vantrel
