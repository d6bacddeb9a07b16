// What every piece of the in-memory machine shares: the calls made on it,
// in order, each with its arguments, and which of them fail.
#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace vantrel {

class CallRecorder {
 public:
  // Names of operations that raise a failure instead of answering.
  std::set<std::string> failing;
  // What the code under test did.
  std::vector<std::wstring> calls;
  // The clock Milliseconds reads: waits that time out and sleeps move it.
  std::uint64_t clock = 0;

  // Calls whose text starts with the prefix, in order.
  std::vector<std::wstring> CallsStartingWith(const std::wstring& prefix) const;
  std::size_t IndexOfCall(const std::wstring& call) const;

 protected:
  void Record(const std::wstring& call) { calls.push_back(call); }
  void FailIfTold(const char* operation) const;
};

// Text for messages and call records.
std::wstring Quoted(const std::wstring& text);

}  // namespace vantrel
