#include "child/child_watch-win32.h"

#include "base/system_error-win32.h"

namespace vantrel {

std::wstring Win32ChildWatch::TakeChildOutput(ProcessHandle process) {
  ChildOutputPipe* output = platform_.CapturedOutput(process);
  if (output == nullptr) return std::wstring();
  const bool ended = WaitForSingleObject(AsHandle(process), 0) == WAIT_OBJECT_0;
  return output->TakeLines(ended);
}

void Win32ChildWatch::EndChildJob(ProcessHandle process) {
  ChildJob& job = platform_.Job();
  // ERROR_CANCELLED as the exit code: the operation was cancelled.
  if (job.Holds(GetProcessId(AsHandle(process)))) {
    if (!job.EndAll(ERROR_CANCELLED)) throw SystemFailure("TerminateJobObject");
    return;
  }
  // A child the system would not put in a job (Windows 7 inside another
  // job) is ended alone.
  if (!TerminateProcess(AsHandle(process), ERROR_CANCELLED))
    throw SystemFailure("TerminateProcess");
}

bool Win32ChildWatch::RunsUnattended() {
  USEROBJECTFLAGS flags = {};
  DWORD needed = 0;
  if (!GetUserObjectInformationW(GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags,
                                 &needed)) {
    return true;
  }
  return (flags.dwFlags & WSF_VISIBLE) == 0;
}

}  // namespace vantrel
