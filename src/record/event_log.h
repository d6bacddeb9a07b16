// Where the record of a run goes: the system's Application event log.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vantrel {

class EventLog {
 public:
  virtual ~EventLog() = default;

  // Writes one event of the source "Vantrel", an error or an information,
  // with the event id and one line a string; registers the source first
  // where it is missing.
  virtual void WriteRunEvent(bool failure, std::uint32_t eventId,
                             const std::vector<std::wstring>& lines) = 0;
};

}  // namespace vantrel
