// An object's security written as SDDL text, made into the security
// attributes a creating call takes; and the owner of memory the system
// hands out with LocalAlloc.
#pragma once

#include <windows.h>

#include <memory>

namespace vantrel {

struct LocalMemoryDeleter {
  void operator()(void* memory) const { LocalFree(memory); }
};
using LocalMemory = std::unique_ptr<void, LocalMemoryDeleter>;

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
