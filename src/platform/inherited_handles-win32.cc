#include "platform/inherited_handles-win32.h"

#include "base/system_error-win32.h"

namespace vantrel {

InheritedHandles::~InheritedHandles() {
  if (list_ != nullptr) DeleteProcThreadAttributeList(list_);
}

void InheritedHandles::Allow(std::initializer_list<HANDLE> handles) {
  for (const HANDLE handle : handles) {
    bool known = false;
    for (const HANDLE held : handles_) known = known || held == handle;
    // The system refuses a list that names a handle twice.
    if (!known) handles_.push_back(handle);
  }
  SIZE_T size = 0;
  InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
  storage_.resize(size);
  const LPPROC_THREAD_ATTRIBUTE_LIST list =
      reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
  if (!InitializeProcThreadAttributeList(list, 1, 0, &size)) {
    throw SystemFailure("InitializeProcThreadAttributeList");
  }
  list_ = list;
  // The list points into handles_, which stays put until the list goes.
  if (!UpdateProcThreadAttribute(list_, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles_.data(),
                                 handles_.size() * sizeof(HANDLE), nullptr, nullptr)) {
    throw SystemFailure("UpdateProcThreadAttribute");
  }
}

}  // namespace vantrel
