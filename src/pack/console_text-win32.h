// Lines for the person or script that ran vantrel-pack. A console gets the
// text as it is; a pipe or file gets UTF-8, so no name is lost to a code page.
#pragma once

#include <string>

#include "pack/pack_machine.h"

namespace vantrel {

class Win32Console : public Console {
 public:
  void PrintOut(const std::wstring& line) override;
  void PrintError(const std::wstring& line) override;
};

}  // namespace vantrel
