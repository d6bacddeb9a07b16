// The clock on Windows: the system time, which is UTC.
#pragma once

#include <windows.h>

#include "base/utc_clock.h"

namespace vantrel {

class Win32UtcClock : public UtcClock {
 public:
  UtcTime UtcNow() override {
    SYSTEMTIME now;
    GetSystemTime(&now);
    return UtcTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
  }
};

}  // namespace vantrel
