// What the programs see of a child while it runs, beyond its end: the
// output of a captured console child, the dialogs it opens, and its whole
// job, which can be ended. The runner (run_child.h) is the one user.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace vantrel {

// An opaque handle of a dialog window that a child opened.
using DialogHandle = std::uintptr_t;

// A dialog window (class "#32770": message boxes, setupapi's prompts, task
// dialogs) open on the program's desktop in a process of a child's job.
struct ChildDialog {
  DialogHandle window = 0;
  std::wstring caption;
  // The texts of its static controls, in order, joined by blanks.
  std::wstring text;
  // It holds a progress bar: a file-copy progress dialog, not a question.
  bool showsProgress = false;
};

class ChildWatch {
 public:
  virtual ~ChildWatch() = default;

  // The complete lines a captured child wrote since the last call, decoded
  // from the console's code page; once it has ended, everything that is left.
  // Empty for a child whose streams were not captured.
  virtual std::wstring TakeChildOutput(ProcessHandle process) = 0;
  // The dialogs open now on the program's desktop that belong to the child
  // or to any process it started (its job).
  virtual std::vector<ChildDialog> OpenDialogsOfChild(ProcessHandle process) = 0;
  // Answers the dialog Cancel, or closes it where it has no Cancel button.
  virtual void DeclineDialog(DialogHandle dialog) = 0;
  // Ends the child and every process it started.
  virtual void EndChildJob(ProcessHandle process) = 0;
  // Whether nobody can see the program's window station (services, SYSTEM
  // agents, session 0), so nobody can answer what a child asks; also when
  // the station cannot be asked.
  virtual bool RunsUnattended() = 0;
};

}  // namespace vantrel
