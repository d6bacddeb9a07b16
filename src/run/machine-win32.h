// The machine on Windows: every interface by the system's own services,
// made once at the program's start and kept until it ends.
#pragma once

#include "base/file_sha256-win32.h"
#include "base/utc_clock-win32.h"
#include "child/child_watch-win32.h"
#include "inf/inf_engine-win32.h"
#include "inf/installed_state-win32.h"
#include "platform/platform-win32.h"
#include "record/event_log-win32.h"
#include "record/receipt_store-win32.h"
#include "run/install_lock-win32.h"
#include "run/machine.h"

namespace vantrel {

class Win32Machine {
 public:
  Win32Machine() : children_(platform_), lock_(platform_) {}
  Win32Machine(const Win32Machine&) = delete;
  Win32Machine& operator=(const Win32Machine&) = delete;

  Machine Get() {
    return Machine{platform_, children_, inf_,   installed_, events_,
                   receipts_, lock_,     hasher_, clock_};
  }
  Win32Platform& platform() { return platform_; }

 private:
  Win32Platform platform_;
  Win32ChildWatch children_;
  Win32InfEngine inf_;
  Win32InstalledState installed_;
  Win32EventLog events_;
  Win32ReceiptStore receipts_;
  Win32InstallLock lock_;
  Win32FileHasher hasher_;
  Win32UtcClock clock_;
};

}  // namespace vantrel
