// A whole machine in memory, for the tests that run a program from its
// start to its end: the platform and every capability, one call record.
#pragma once

#include <cstdint>
#include <string>

#include "memory_capabilities.h"
#include "memory_platform.h"
#include "run/machine.h"

namespace vantrel {

class MemoryMachine : public MemoryPlatform,
                      public MemoryInfEngine,
                      public MemoryInstalledState,
                      public MemoryEventLog,
                      public MemoryReceiptStore,
                      public MemoryInstallLock,
                      public MemoryFileHasher,
                      public MemoryUtcClock {
 public:
  operator Machine() {
    return Machine{*this, *this, *this, *this, *this, *this, *this, *this, *this};
  }

  // Runs the form's Load and returns the exit code it ended with; a run that
  // returns without ending the process fails the test.
  std::uint32_t RunProgram();
};

// A machine with the package "C:\Package Store\driver.7z" at hand (short
// form C:\PACKAG~1\driver.7z), the program in C:\Program Files\Vantrel and
// an INF, driver.inf (DriverVer 2.0.0.0), in the work folder
// C:\WINDOWS\Temp\Vantrel once the package is unpacked.
MemoryMachine ReadyToInstall();
extern const std::wstring kWorkFolder;

}  // namespace vantrel
