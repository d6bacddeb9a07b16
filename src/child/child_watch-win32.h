// The child watch on Windows: the output pipes and the job that the
// platform's launch made for each child.
#pragma once

#include "child/child_watch.h"
#include "platform/platform-win32.h"

namespace vantrel {

class Win32ChildWatch : public ChildWatch {
 public:
  explicit Win32ChildWatch(Win32Platform& platform) : platform_(platform) {}

  std::wstring TakeChildOutput(ProcessHandle process) override;
  std::vector<ChildDialog> OpenDialogsOfChild(ProcessHandle process) override;
  void DeclineDialog(DialogHandle dialog) override;
  void EndChildJob(ProcessHandle process) override;
  bool RunsUnattended() override;

 private:
  Win32Platform& platform_;
};

}  // namespace vantrel
