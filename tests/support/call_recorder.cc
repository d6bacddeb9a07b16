#include "call_recorder.h"

#include <algorithm>

#include "base/failure.h"

namespace vantrel {

std::vector<std::wstring> CallRecorder::CallsStartingWith(const std::wstring& prefix) const {
  std::vector<std::wstring> found;
  for (const auto& call : calls) {
    if (call.compare(0, prefix.size(), prefix) == 0) found.push_back(call);
  }
  return found;
}

std::size_t CallRecorder::IndexOfCall(const std::wstring& call) const {
  return static_cast<std::size_t>(std::find(calls.begin(), calls.end(), call) - calls.begin());
}

void CallRecorder::FailIfTold(const char* operation) const {
  if (failing.count(operation) != 0) throw PlatformFailure(operation);
}

std::wstring Quoted(const std::wstring& text) {
  std::wstring shown;
  for (wchar_t c : text) {
    if (c == L'\0')
      shown += L"\\0";
    else
      shown += c;
  }
  return L"[" + shown + L"]";
}

}  // namespace vantrel
