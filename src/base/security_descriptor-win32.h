// An object's security written as SDDL text, made into the security
// attributes a creating call takes.
#pragma once

#include <windows.h>

#include "base/unique_handle-win32.h"

namespace vantrel {

class SecurityFromSddl {
 public:
  // Throws PlatformFailure when the text is no security descriptor.
  explicit SecurityFromSddl(const wchar_t* sddl);
  // Not inheritable by children.
  SECURITY_ATTRIBUTES* Attributes() { return &attributes_; }

 private:
  LocalMemory descriptor_;
  SECURITY_ATTRIBUTES attributes_ = {};
};

}  // namespace vantrel
