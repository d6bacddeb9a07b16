#include "inf/driver_store_name.h"

#include "base/text.h"

namespace vantrel {

bool IsDriverStoreInfName(const std::wstring& name) {
  const std::wstring lower = LowerAscii(name);
  const std::wstring prefix = L"oem", suffix = L".inf";
  if (lower.size() <= prefix.size() + suffix.size()) return false;
  return lower.compare(0, prefix.size(), prefix) == 0 &&
         lower.compare(lower.size() - suffix.size(), suffix.size(), suffix) == 0 &&
         AllDigits(lower.substr(prefix.size(), lower.size() - prefix.size() - suffix.size()));
}

}  // namespace vantrel
