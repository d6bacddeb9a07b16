#include "base/security_descriptor-win32.h"

#include <sddl.h>

#include "base/system_entry-win32.h"
#include "base/system_error-win32.h"

namespace vantrel {

namespace {
VANTREL_SYSTEM_ENTRY(convertStringSecurityDescriptor, L"advapi32.dll",
                     ConvertStringSecurityDescriptorToSecurityDescriptorW);
}  // namespace

SecurityFromSddl::SecurityFromSddl(const wchar_t* sddl) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!convertStringSecurityDescriptor.get()(sddl, SDDL_REVISION_1, &descriptor, nullptr)) {
    throw SystemFailure("ConvertStringSecurityDescriptorToSecurityDescriptorW");
  }
  descriptor_.reset(descriptor);
  attributes_.nLength = sizeof attributes_;
  attributes_.lpSecurityDescriptor = descriptor;
  attributes_.bInheritHandle = FALSE;
}

}  // namespace vantrel
