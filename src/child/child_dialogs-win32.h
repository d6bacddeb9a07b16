// The dialogs a child has open on the program's desktop, found by their
// owning process, and how one is declined.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "child/child_watch.h"

namespace vantrel {

// The dialogs (class "#32770") on the calling thread's desktop whose
// process `belongs` accepts. Visibility is not looked at: on a station
// nobody sees, the system reports a child's message box as not visible.
std::vector<ChildDialog> DialogsOnDesktop(const std::function<bool(DWORD processId)>& belongs);

// Answers Cancel where the dialog has a Cancel button, closes it otherwise.
void DeclineDialogWindow(HWND dialog);

}  // namespace vantrel
