// The job that holds every child of the program. Its one handle is the
// program's; when the program ends, or is killed by a deployment tool at its
// time limit, the system closes that handle and ends every process still in
// the job, so no child (and none of the children's children) lives on
// holding the work folder open.
#pragma once

#include <windows.h>

#include "base/unique_handle-win32.h"

namespace vantrel {

class ChildJob {
 public:
  // Puts a process that was created suspended into the job, making the job on
  // first use. False where the system refuses (Windows 7 when the program
  // already runs inside a deployment tool's job): the child then runs
  // without, since an install never fails for want of a job.
  bool Adopt(HANDLE process);
  // Whether the process of that identifier is in the job: a child or
  // anything it started.
  bool Holds(DWORD processId) const;
  // Ends every process in the job; false where there is no job.
  bool EndAll(UINT exitCode);

 private:
  UniqueKernelHandle job_;
  bool unavailable_ = false;
};

}  // namespace vantrel
