// The list of handles a child may inherit (PROC_THREAD_ATTRIBUTE_HANDLE_LIST):
// with it, process creation hands the child exactly these, however many
// other inheritable handles the program holds. Wine honours it as Windows
// does (the platform test starts a child beside an inheritable handle).
#pragma once

#include <windows.h>

#include <initializer_list>
#include <vector>

namespace vantrel {

class InheritedHandles {
 public:
  InheritedHandles() = default;
  ~InheritedHandles();
  InheritedHandles(const InheritedHandles&) = delete;
  InheritedHandles& operator=(const InheritedHandles&) = delete;

  // The handles, each once; they must be inheritable. Throws
  // PlatformFailure.
  void Allow(std::initializer_list<HANDLE> handles);
  // For STARTUPINFOEXW; null until Allow.
  LPPROC_THREAD_ATTRIBUTE_LIST List() { return list_; }

 private:
  std::vector<HANDLE> handles_;
  std::vector<unsigned char> storage_;
  LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

}  // namespace vantrel
