#include "platform/child_job-win32.h"

#include <utility>

namespace vantrel {

bool ChildJob::Adopt(HANDLE process) {
  if (!job_ && !unavailable_) {
    UniqueKernelHandle job(CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job && SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits,
                                       sizeof limits)) {
      job_ = std::move(job);
    } else {
      unavailable_ = true;
    }
  }
  return job_ && AssignProcessToJobObject(job_.get(), process);
}

bool ChildJob::Holds(DWORD processId) const {
  if (!job_) return false;
  UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  BOOL inJob = FALSE;
  return process && IsProcessInJob(process.get(), job_.get(), &inJob) && inJob;
}

bool ChildJob::EndAll(UINT exitCode) {
  return job_ && TerminateJobObject(job_.get(), exitCode);
}

}  // namespace vantrel
