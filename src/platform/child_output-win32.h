// The pipe a captured console child writes its output and errors into. The
// read end is overlapped, so the program's one thread drains it inside the
// same wait that watches the child and the message queue: a child that
// prints a lot never blocks on a full pipe, and no second thread is needed.
#pragma once

#include <windows.h>

#include <string>

#include "base/unique_handle-win32.h"

namespace vantrel {

class ChildOutputPipe {
 public:
  // Makes the pipe and the child's ends: its input from the NUL device, its
  // output and errors into the pipe, all three inheritable. Throws
  // PlatformFailure.
  ChildOutputPipe();
  ~ChildOutputPipe();
  ChildOutputPipe(const ChildOutputPipe&) = delete;
  ChildOutputPipe& operator=(const ChildOutputPipe&) = delete;

  HANDLE ChildInput() const { return nul_.get(); }
  HANDLE ChildOutput() const { return write_.get(); }
  // Once the child has its copies: the program's go, so that the pipe
  // breaks when the child (and whatever inherited from it) ends.
  void CloseChildEnds();

  // Signalled when a read has completed; null once the pipe has broken.
  HANDLE ReadEvent() const { return pending_ ? event_.get() : nullptr; }
  // Keeps what the completed read brought and starts the next one.
  void Collect();
  // After the child has ended: whatever is still in the pipe, waiting a
  // little for processes that inherited the pipe from it.
  void DrainRemaining();
  // The complete lines received so far (all text when `everything`),
  // decoded from the console code page.
  std::wstring TakeLines(bool everything);

 private:
  void StartRead();
  void CancelRead();

  UniqueKernelHandle read_;
  UniqueKernelHandle write_;
  UniqueKernelHandle nul_;
  UniqueKernelHandle event_;
  OVERLAPPED overlapped_ = {};
  char buffer_[4096];
  bool pending_ = false;
  bool broken_ = false;
  std::string received_;
};

}  // namespace vantrel
