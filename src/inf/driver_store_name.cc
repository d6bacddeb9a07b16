#include "inf/driver_store_name.h"

#include "base/text.h"

namespace vantrel {

bool IsDriverStoreInfName(const std::wstring& name) {
  const std::wstring lower = LowerAscii(name);
  const std::wstring prefix = L"oem", suffix = L".inf";
  if (lower.size() <= prefix.size() + suffix.size()) return false;
  if (lower.compare(0, prefix.size(), prefix) != 0) return false;
  if (lower.compare(lower.size() - suffix.size(), suffix.size(), suffix) != 0) return false;
  for (std::size_t i = prefix.size(); i < lower.size() - suffix.size(); ++i) {
    if (lower[i] < L'0' || lower[i] > L'9') return false;
  }
  return true;
}

}  // namespace vantrel
