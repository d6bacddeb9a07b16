// vantrel-pack's machine on Windows: every interface by the system's own
// services, made once at the program's start and kept until it ends.
#pragma once

#include "child/child_watch-win32.h"
#include "inf/inf_engine-win32.h"
#include "pack/cabinet_writer-win32.h"
#include "pack/console_text-win32.h"
#include "pack/pack_files-win32.h"
#include "pack/pack_machine.h"
#include "platform/platform-win32.h"

namespace vantrel {

class Win32PackMachine {
 public:
  Win32PackMachine() : children_(platform_) {}
  Win32PackMachine(const Win32PackMachine&) = delete;
  Win32PackMachine& operator=(const Win32PackMachine&) = delete;

  PackMachine Get() { return PackMachine{platform_, children_, files_, cabinets_, inf_, console_}; }

 private:
  Win32Platform platform_;
  Win32ChildWatch children_;
  Win32PackFiles files_;
  Win32CabinetWriter cabinets_;
  Win32InfEngine inf_;
  Win32Console console_;
};

}  // namespace vantrel
