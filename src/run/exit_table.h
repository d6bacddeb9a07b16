// A program's exit codes as one table: each code with the outcome its event
// names and whether it is a failure. The event, the message table of the
// event log (made by the build from the codes of these headers) and the
// README's tables are all read from it, so adding a code touches one row.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vantrel {

struct ExitRow {
  std::uint32_t code;
  const wchar_t* outcome;
  bool failure;
};

// What a deployment tool makes of a code, the same four outcomes every tool
// knows under its own words.
enum class ToolOutcome { kSuccess, kSoftReboot, kRetry, kFailed };

struct ExitTable {
  // The name the program's events give it: "Vantrel", "Vantrel remove".
  const wchar_t* program;
  const ExitRow* rows;
  std::size_t count;
  // What a run that went well but left files for the next restart ends
  // with, in place of success.
  std::uint32_t restartNeeded;
  // What a run ends with where it could not have the install lock, and
  // where another run held it all the time a run waits: nothing was
  // touched, so a deployment tool tries again.
  std::uint32_t noLock;
  std::uint32_t busy;

  const ExitRow* Find(std::uint32_t code) const {
    for (std::size_t i = 0; i < count; ++i) {
      if (rows[i].code == code) return &rows[i];
    }
    return nullptr;
  }

  ToolOutcome ToolsTake(const ExitRow& row) const {
    if (row.code == restartNeeded) return ToolOutcome::kSoftReboot;
    if (row.code == noLock || row.code == busy) return ToolOutcome::kRetry;
    return row.failure ? ToolOutcome::kFailed : ToolOutcome::kSuccess;
  }
};

}  // namespace vantrel
