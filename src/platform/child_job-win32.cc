#include "platform/child_job-win32.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace vantrel {

bool ChildJob::Adopt(HANDLE process) {
  if (!job_ && !unavailable_) {
    UniqueKernelHandle job(CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job && SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits,
                                       sizeof limits)) {
      job_.reset(job.release());
    } else {
      unavailable_ = true;
    }
  }
  return job_ && AssignProcessToJobObject(job_.get(), process);
}

bool ChildJob::Holds(DWORD processId) const {
  if (!job_) return false;
  // The job's own list of its processes: IsProcessInJob asked about this
  // job answers "not in it" under Wine 8 for every process that is, and so
  // a child's own children would be neither ended nor watched there.
  std::vector<ULONG_PTR> room(64);
  for (;;) {
    auto* list = reinterpret_cast<JOBOBJECT_BASIC_PROCESS_ID_LIST*>(room.data());
    const DWORD size = static_cast<DWORD>(room.size() * sizeof room[0]);
    if (QueryInformationJobObject(job_.get(), JobObjectBasicProcessIdList, list, size, nullptr)) {
      const ULONG_PTR* const ids = list->ProcessIdList;
      return std::find(ids, ids + list->NumberOfProcessIdsInList, processId) !=
             ids + list->NumberOfProcessIdsInList;
    }
    if (GetLastError() != ERROR_MORE_DATA) return false;
    // Room for the two counts and twice the processes the job has now:
    // more may start meanwhile.
    room.resize(2 + std::size_t{list->NumberOfAssignedProcesses} * 2);
  }
}

bool ChildJob::EndAll(UINT exitCode) {
  return job_ && TerminateJobObject(job_.get(), exitCode);
}

}  // namespace vantrel
