// The one failure type of the layers that reach the system: a service that
// could not do its work (a process that would not start, an entry point that
// could not be resolved, a handle that was not valid). Where the system gave
// a reason, its error code travels with the failure and its text is part of
// what().
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace vantrel {

class PlatformFailure : public std::runtime_error {
 public:
  explicit PlatformFailure(const std::string& what, std::uint32_t systemError = 0)
      : std::runtime_error(what), systemError_(systemError) {}
  std::uint32_t systemError() const { return systemError_; }

 private:
  std::uint32_t systemError_;
};

}  // namespace vantrel
