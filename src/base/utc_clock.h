// The time of day, in UTC, as the system tells it.
#pragma once

namespace vantrel {

struct UtcTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

class UtcClock {
 public:
  virtual ~UtcClock() = default;
  virtual UtcTime UtcNow() = 0;
};

}  // namespace vantrel
