// What the event of an install says beyond its outcome: the package as the
// argument named it, the questions the children asked, where WoW64 put
// things and which files wait for the restart.
#pragma once

#include <string>
#include <vector>

#include "record/run_event.h"

namespace vantrel {

RunEvent InstallRecord(const std::wstring& packageNamed, const std::vector<Question>& questions,
                       bool installedUnderWow64, const std::vector<std::wstring>& waitingForRestart);

}  // namespace vantrel
