// Everything a program of the bundle reaches the system through: the
// Windows services of its own steps and each capability's interface.
#pragma once

#include "base/file_sha256.h"
#include "base/utc_clock.h"
#include "child/child_watch.h"
#include "inf/inf_engine.h"
#include "inf/installed_state.h"
#include "platform/platform.h"
#include "record/event_log.h"
#include "record/receipt_store.h"
#include "run/install_lock.h"

namespace vantrel {

struct Machine {
  Platform& platform;
  ChildWatch& children;
  InfEngine& inf;
  InstalledState& installed;
  EventLog& events;
  ReceiptStore& receipts;
  InstallLock& lock;
  FileHasher& hashes;
  UtcClock& clock;
};

}  // namespace vantrel
