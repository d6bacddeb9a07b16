// One event in the Application event log, under an event source that is
// registered on the way (idempotently: the same values every time), with
// this program as its message file so that Event Viewer shows the text of
// the compiled message table.
#pragma once

#include <string>
#include <vector>

#include "record/event_log.h"

namespace vantrel {

// Throws PlatformFailure when the event cannot be written. A source that
// cannot be registered (no rights to the registry) does not stop the event:
// the log then shows the strings without the message text.
class Win32EventLog : public EventLog {
 public:
  void WriteRunEvent(bool failure, std::uint32_t eventId,
                     const std::vector<std::wstring>& lines) override;
};

}  // namespace vantrel
