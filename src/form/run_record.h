// The record of an install: the outcome for each exit code, in the form
// every program's record has (record/run_event.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "child/child_outcome.h"
#include "form/exit_status.h"
#include "record/run_event.h"

namespace vantrel {

std::vector<std::wstring> RunEventStrings(ExitStatus status, const std::wstring& packageNamed,
                                          const StepFailure& failure,
                                          const std::vector<Question>& questions = {},
                                          bool installedUnderWow64 = false,
                                          const std::vector<std::wstring>& waitingForRestart = {});

}  // namespace vantrel
